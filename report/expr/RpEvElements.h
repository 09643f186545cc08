#pragma once
// The elements of a parsed expression and the list that holds them in prefix
// order: an operator is followed by its left and then its right operand, a
// function by its arguments and an argument-end mark, a negation by its
// operand. Evaluating an element reads its operands from the list.

#include "platform/core/Component.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "report/expr/RpEvValue.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace report {

class TRpFiFo;

// The data sets whose fields expressions may name, searched in order.
using TRpDataSetList = std::vector<data::TDataSet*>;

class TRpEvElement : public core::TObject {
public:
    std::string ClassName() const override { return "TRpEvElement"; }
    // Gives the element's value, reading operands from list through Next.
    virtual TRpEvValue Evaluate(TRpFiFo& list) = 0;
    // Brings aggregate state back to its start; nothing for plain elements.
    virtual void ResetState() {}
    virtual bool IsArgumentEnd() const { return false; }

    bool IsAggregate() const { return isAggregate_; }

protected:
    void SetAggregate() { isAggregate_ = true; }

private:
    bool isAggregate_ = false;
};

// The element list of one parsed expression; it owns its elements.
class TRpFiFo {
public:
    std::vector<std::unique_ptr<TRpEvElement>> Elements;
    std::size_t ReadPosition = 0;
    bool Aggregating = false;

    void Rewind() { ReadPosition = 0; }
    TRpEvElement* Append(std::unique_ptr<TRpEvElement> element);
    // The element at the read position, then advances; none at the end.
    TRpEvElement* Next()
    {
        return ReadPosition < Elements.size() ? Elements[ReadPosition++].get() : nullptr;
    }
    // Evaluates the next element; a list that ends early gives an error value.
    TRpEvValue EvaluateNext();
};

class TRpEvElementConstant : public TRpEvElement {
public:
    explicit TRpEvElementConstant(TRpEvValue value) : Value(std::move(value)) {}
    std::string ClassName() const override { return "TRpEvElementConstant"; }
    TRpEvValue Evaluate(TRpFiFo&) override { return Value; }

    TRpEvValue Value;
};

class TRpEvElementString : public TRpEvElement {
public:
    explicit TRpEvElementString(std::string_view text) : text_(CutValueText(text)) {}
    std::string ClassName() const override { return "TRpEvElementString"; }
    TRpEvValue Evaluate(TRpFiFo&) override;

    const std::string& Text() const { return text_; }
    void SetText(std::string_view text) { text_ = CutValueText(text); }

private:
    std::string text_;
};

class TRpEvElementError : public TRpEvElement {
public:
    explicit TRpEvElementError(std::string_view message) : message_(CutValueText(message)) {}
    std::string ClassName() const override { return "TRpEvElementError"; }
    TRpEvValue Evaluate(TRpFiFo&) override { return TRpEvValue::Error(message_); }

    const std::string& Message() const { return message_; }

private:
    std::string message_;
};

// A field of a data set, read from the data set's current record.
class TRpEvElementDataField : public TRpEvElement {
public:
    // position is the field's place in the data set's field list.
    TRpEvElementDataField(data::TDataSet* dataSet, int position, data::TField* field);
    std::string ClassName() const override { return "TRpEvElementDataField"; }
    TRpEvValue Evaluate(TRpFiFo&) override;

    data::TDataSet* DataSet() const { return dataSet_; }
    int Position() const { return position_; }

private:
    TRpEvValue FieldValue() const;

    data::TDataSet* dataSet_;
    int position_;
    data::TField* field_;
    std::string fieldName_;
};

enum TRpOperation : std::uint8_t {
    opLess = 0,
    opLessEqual = 1,
    opGreater = 2,
    opGreaterEqual = 3,
    opEqual = 4,
    opNotEqual = 5,
    opPlus = 6,
    opMinus = 7,
    opOr = 8,
    opTimes = 9,
    opDivide = 10,
    opAnd = 11,
};

class TRpEvElementOperator : public TRpEvElement {
public:
    explicit TRpEvElementOperator(TRpOperation operation) : Operation(operation) {}
    std::string ClassName() const override { return "TRpEvElementOperator"; }
    TRpEvValue Evaluate(TRpFiFo& list) override;

    TRpOperation Operation;
};

// The binary operation on two values, errors passed on (the left one first).
TRpEvValue ApplyOperator(TRpOperation operation, TRpEvValue left, TRpEvValue right);

// "not" with its one operand.
class TRpEvElementNot : public TRpEvElement {
public:
    std::string ClassName() const override { return "TRpEvElementNot"; }
    TRpEvValue Evaluate(TRpFiFo& list) override;
};

// Marks the end of a function's arguments.
class TRpEvElementArgumentEnd : public TRpEvElement {
public:
    std::string ClassName() const override { return "TRpEvElementArgumentEnd"; }
    TRpEvValue Evaluate(TRpFiFo&) override;
    bool IsArgumentEnd() const override { return true; }
};

// The base of every library function. Evaluation fetches all arguments (each
// evaluated), lets an aggregate accumulate in an aggregate pass, then computes.
class TRpEvElementFunction : public TRpEvElement {
public:
    std::string ClassName() const override { return "TRpEvElementFunction"; }
    TRpEvValue Evaluate(TRpFiFo& list) override;
    // One step of an aggregate over the fetched arguments.
    virtual void Accumulate() {}
    // The function's result from the fetched arguments.
    virtual void Compute(TRpEvValue& result);

protected:
    void FetchArguments(TRpFiFo& list);
    void ReleaseArguments() { Arguments.clear(); }

    // The argument values of the evaluation in progress (capacity kept).
    std::vector<TRpEvValue> Arguments;
};

using TRpEvElementFunctionClass = std::unique_ptr<TRpEvElementFunction> (*)();

template <class T>
std::unique_ptr<TRpEvElementFunction> CreateFunctionElement()
{
    return std::make_unique<T>();
}

} // namespace report
