#pragma once
// Variables of the expression language: named expressions kept in an
// environment. One global environment serves the process; each report has a
// local one. An environment parses its variables when it is first prepared
// and releases them when the last prepare is released.

#include "platform/core/StringList.h"
#include "report/expr/RpExpr.h"

#include <memory>
#include <string>
#include <vector>

namespace report {

// A variable: its expression text and the evaluator that runs it.
class TRpEvEmbeddedFunction : public TRpEvElement {
public:
    explicit TRpEvEmbeddedFunction(std::string expressionText);
    std::string ClassName() const override { return "TRpEvEmbeddedFunction"; }

    // The variable's value; a variable that reaches itself again while it is
    // being evaluated gives the error "Recursive calls not allowed".
    TRpEvValue Evaluate(TRpFiFo& list) override;
    TRpEvValue Evaluate();
    void ResetState() override { OwnEvaluator.ResetAggregates(); }
    // The first element of the parsed expression, or none when not parsed.
    TRpEvElement* FirstElement() const { return OwnEvaluator.FirstElement(); }

    std::string ExpressionText;
    TRpEvaluator OwnEvaluator;
    bool InUse = false;
};

// A variable as it stands inside another expression; the variable is not owned.
class TRpEvElementWrapper : public TRpEvElement {
public:
    explicit TRpEvElementWrapper(TRpEvEmbeddedFunction* variable) : variable_(variable) {}
    std::string ClassName() const override { return "TRpEvElementWrapper"; }
    TRpEvValue Evaluate(TRpFiFo&) override { return variable_->Evaluate(); }
    TRpEvEmbeddedFunction* Variable() const { return variable_; }

private:
    TRpEvEmbeddedFunction* variable_;
};

// A string list of variable names whose objects are the variables (owned).
class TRpEvEnvironment : public core::TStringList {
public:
    TRpEvEnvironment();
    ~TRpEvEnvironment() override;
    std::string ClassName() const override { return "TRpEvEnvironment"; }

    // Adds the variable under the upper-cased name unless that name exists
    // (an existing variable keeps its expression). In a prepared environment
    // the new variable is parsed at once.
    void DefineVariable(const std::string& name, const std::string& expressionText);
    void RemoveVariable(const std::string& name);
    // The variable of that name, or none.
    TRpEvEmbeddedFunction* Variable(const std::string& name) const;
    TRpEvEmbeddedFunction* Variable(int index) const;
    // Replaces the variable at index by a new one running expressionText.
    void ReplaceVariable(int index, const std::string& expressionText);
    // The value of the named variable; an unknown name gives an error value.
    TRpEvValue VariableValue(const std::string& name);
    // A new wrapper of the named variable, or the error element
    // "Unknown function : <name>". The caller owns the element.
    std::unique_ptr<TRpEvElement> ElementFor(const std::string& name) const;
    // The first element of the variable's parsed expression, or none; lets a
    // report change a counter in place.
    TRpEvElement* ConstantElement(const std::string& name) const;
    // Change a constant element in place; elements of another class are left alone.
    static void PutTextConstant(TRpEvElement* element, const std::string& text);
    static void PutIntegerConstant(TRpEvElement* element, std::int32_t value);
    static void PutConstantValue(TRpEvElement* element, const TRpEvValue& value);

    void PrepareEnvironment();
    void ReleaseEnvironment();
    bool IsPrepared() const { return prepareLevel_ > 0; }
    int PrepareLevel() const { return prepareLevel_; }

    void AssignDataSets(TRpDataSetList* list);
    TRpDataSetList* OwnDataSetList();
    TRpDataSetList* DataSets() const { return dataSets_; }

    // Frees every variable, the last first, then the names.
    void Clear() override;
    void ClearEnvironment() { Clear(); }
    // Deleting an entry frees its variable.
    void Delete(int index) override;
    // Copies names; variables of another environment are copied by their texts.
    void Assign(core::TPersistent* source) override;

    // The stored form beside the names: the expression of every entry in
    // order. Reading attaches one new variable per text to the names at
    // positions 0, 1, 2 ...; more texts than names raise the list's index error.
    std::vector<std::string> WriteData() const;
    void ReadData(const std::vector<std::string>& expressions);

private:
    void ParseVariable(TRpEvEmbeddedFunction* variable);

    int prepareLevel_ = 0;
    TRpDataSetList* dataSets_ = nullptr;
    std::unique_ptr<TRpDataSetList> ownedDataSets_;
};

// The global environment of the process (set up by the expression unit).
TRpEvEnvironment& ProcessEnvironment();

namespace detail {
// The global environment when it exists, without setting anything up.
TRpEvEnvironment* ProcessEnvironmentIfCreated();
// Set while an environment releases its variables: their own releases of the
// global environment are then ignored.
extern bool ReleaseGuard;
} // namespace detail

} // namespace report
