#pragma once
// Shared helpers of the expression tests: evaluation in one call, value
// checks with readable failures, and small in-memory data sets.

#include "platform/data/ADOConnection.h"
#include "platform/data/ADOQuery.h"
#include "report/expr/RpExpr.h"

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

// A private database file with a connection, for queries the tests name.
class TestData {
public:
    TestData();
    ~TestData();
    TestData(const TestData&) = delete;
    TestData& operator=(const TestData&) = delete;

    void Exec(const std::string& sql) { connection_->Execute(sql); }
    // An open query under that component name.
    data::TADOQuery* Query(const std::string& name, const std::string& sql);

private:
    std::string folder_;
    core::TComponent owner_{nullptr};
    data::TADOConnection* connection_ = nullptr;
};

} // namespace report::test
