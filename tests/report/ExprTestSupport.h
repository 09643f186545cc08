#pragma once
// Shared helpers of the expression tests: evaluation in one call, value
// checks with readable failures, and small in-memory data sets.

#include "report/RpDataAccess.h"
#include "report/RpExpr.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace report::test {

inline TRpEvValue Eval(const std::string& text, TRpDataSetList* dataSets = nullptr,
                       TRpEvEnvironment* scope = nullptr)
{
    TRpEvaluator evaluator;
    evaluator.AssignDataSets(dataSets);
    evaluator.SetLocalScope(scope);
    return evaluator.EvaluateText(text);
}

inline std::string Describe(const TRpEvValue& v)
{
    switch (v.Kind) {
    case evInteger: return "integer " + std::to_string(v.IntegerValue);
    case evFloat: return "float " + std::to_string(v.FloatValue);
    case evString: return "string '" + v.StringValue + "'";
    case evBoolean: return std::string("boolean ") + (v.BooleanValue ? "true" : "false");
    case evError: return "error '" + v.StringValue + "'";
    }
    return "?";
}

inline ::testing::AssertionResult IsInteger(const TRpEvValue& v, std::int32_t expected)
{
    if (v.Kind == evInteger && v.IntegerValue == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << Describe(v) << ", want integer " << expected;
}

inline ::testing::AssertionResult IsFloat(const TRpEvValue& v, double expected)
{
    if (v.Kind == evFloat && v.FloatValue == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << Describe(v) << ", want float " << expected;
}

inline ::testing::AssertionResult IsString(const TRpEvValue& v, const std::string& expected)
{
    if (v.Kind == evString && v.StringValue == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << Describe(v) << ", want string '" << expected << "'";
}

inline ::testing::AssertionResult IsBoolean(const TRpEvValue& v, bool expected)
{
    if (v.Kind == evBoolean && v.BooleanValue == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << Describe(v) << ", want boolean " << expected;
}

inline ::testing::AssertionResult IsError(const TRpEvValue& v, const std::string& expected)
{
    if (v.Kind == evError && v.StringValue == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << Describe(v) << ", want error '" << expected << "'";
}

// A field whose value the test sets.
class FakeField : public TRpFieldAccess {
public:
    FakeField(std::string name, TRpFieldType type) : name_(std::move(name)), type_(type) {}
    std::string FieldName() const override { return name_; }
    TRpFieldType DataType() const override { return type_; }
    std::string AsString() const override { return text; }
    std::int32_t AsInteger() const override { return integer; }
    double AsFloat() const override { return number; }
    bool AsBoolean() const override { return boolean; }
    std::string DisplayText() const override { return "shown:" + text; }
    void SetType(TRpFieldType type) { type_ = type; }

    std::string text;
    std::int32_t integer = 0;
    double number = 0;
    bool boolean = false;

private:
    std::string name_;
    TRpFieldType type_;
};

class FakeDataSet : public TRpDataSetAccess {
public:
    explicit FakeDataSet(std::string name) : name_(std::move(name)) {}
    std::string Name() const override { return name_; }
    bool DefaultFields() const override { return defaultFields; }
    int FieldCount() const override { return static_cast<int>(fields.size()); }
    TRpFieldAccess* Field(int index) const override { return fields[static_cast<std::size_t>(index)].get(); }

    FakeField& Add(const std::string& fieldName, TRpFieldType type)
    {
        fields.push_back(std::make_unique<FakeField>(fieldName, type));
        return *fields.back();
    }

    std::vector<std::unique_ptr<FakeField>> fields;
    bool defaultFields = false;

private:
    std::string name_;
};

} // namespace report::test
