#pragma once
// The expression evaluator: parses a text once into a flat element list in
// prefix order, then evaluates that list as often as needed. Parsing never
// fails: syntax faults become error elements whose message is the result.

#include "platform/core/Component.h"
#include "report/expr/RpEvElements.h"
#include "report/expr/RpEvValue.h"

#include <memory>
#include <string>
#include <string_view>

namespace report {

class TRpEvEnvironment;

class TRpEvaluator : public core::TObject {
public:
    TRpEvaluator();
    ~TRpEvaluator() override;
    std::string ClassName() const override { return "TRpEvaluator"; }

    // Builds the element list of text; an empty text reads as "' '".
    void Parse(const std::string& text);
    // Frees the element list and gives back the global environment's prepare.
    void Release();
    bool Parsed() const { return parsed_; }
    // The value of the parsed expression; raises core::Exception
    // "Evaluator not prepared" when nothing is parsed.
    TRpEvValue Evaluate();
    // Parse, Evaluate and Release in one call.
    TRpEvValue EvaluateText(const std::string& text);

    // Aggregates: back to their start, one step over the current record, or
    // whether there is any aggregate at all.
    void ResetAggregates();
    void AggregateStep();
    bool ContainsAggregates() const;

    // The data sets whose fields expressions may name. A list the evaluator
    // made itself (OwnDataSetList) is freed when another one replaces it.
    void AssignDataSets(TRpDataSetList* list);
    TRpDataSetList* OwnDataSetList();
    TRpDataSetList* DataSets() const { return dataSets_; }

    // Variables are looked up here first, then in the global environment. Not owned.
    TRpEvEnvironment* LocalScope() const { return localScope_; }
    void SetLocalScope(TRpEvEnvironment* scope) { localScope_ = scope; }

    // The first element of the parsed list, or none.
    TRpEvElement* FirstElement() const;
    const TRpFiFo* Elements() const { return list_.get(); }

protected:
    // Resolve a name: a library function with its argument text, or a field
    // or variable reference.
    virtual void ParseFunction(const std::string& name, const std::string& arguments);
    virtual void ParseReference(const std::string& text);
    void ParseVariable(const std::string& name);

    void Append(std::unique_ptr<TRpEvElement> element);
    void AppendError(const std::string& message);

private:
    void ParseRelational(std::string_view text);
    void ParseAdditive(std::string_view text);
    void ParseMultiplicative(std::string_view text);
    void ParseFactor(std::string_view text);
    void ParseNumber(std::string_view text);
    void ParseCall(const std::string& text);

    std::unique_ptr<TRpFiFo> list_;
    bool parsed_ = false;
    TRpEvEnvironment* localScope_ = nullptr;
    TRpDataSetList* dataSets_ = nullptr;
    std::unique_ptr<TRpDataSetList> ownedDataSets_;
    // Nesting of the expression being parsed; past a limit the rest becomes
    // an error element, so no text can exhaust the stack.
    int depth_ = 0;
};

} // namespace report
