#include "ExprTestSupport.h"

#include "platform/core/FormatSettings.h"
#include "report/expr/RpEnvironment.h"
#include "report/expr/RpFunctions.h"
#include "report/expr/RpLibrary.h"

using namespace report;
using namespace report::test;

namespace {

// Number texts with a decimal point and a comma between thousands, put back after.
class PointSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = core::FormatSettings;
        core::FormatSettings.DecimalSeparator = ".";
        core::FormatSettings.ThousandSeparator = ",";
    }
    void TearDown() override { core::FormatSettings = saved_; }

private:
    core::TFormatSettings saved_;
};

} // namespace

using Functions = PointSettings;

TEST_F(Functions, IfEvaluatesEveryArgumentAndPicksOne)
{
    EXPECT_TRUE(IsString(Eval("IF(1 > 0, 'yes', 1/0)"), "yes"));
    EXPECT_TRUE(IsError(Eval("IF(1 < 0, 'yes', 1/0)"), "Cannot divide by 0"));
    EXPECT_TRUE(IsInteger(Eval("if(FALSE, 1, 2)"), 2));
    EXPECT_TRUE(IsError(Eval("IF(1, 2, 3)"), "Wrong arguments for IF"));
    EXPECT_TRUE(IsError(Eval("IF(TRUE, 2)"), "Wrong arguments for IF"));
    // Separators inside quotes and parentheses do not split arguments.
    EXPECT_TRUE(IsString(Eval("IF(TRUE, 'a,b', STR(1))"), "a,b"));
    EXPECT_TRUE(IsString(Eval("IF(FALSE, 'a,b', IF(TRUE, 'c', 'd'))"), "c"));
}

TEST_F(Functions, StrConvertsNumbersAndBooleansOnly)
{
    EXPECT_TRUE(IsString(Eval("STR(12)"), "12"));
    EXPECT_TRUE(IsString(Eval("STR(7 / 2)"), "3.5"));
    EXPECT_TRUE(IsString(Eval("STR(TRUE)"), "True"));
    EXPECT_TRUE(IsString(Eval("'Page ' + STR(3)"), "Page 3"));
    EXPECT_TRUE(IsError(Eval("STR('a')"), "Conversion error"));
    EXPECT_TRUE(IsError(Eval("STR(1/0)"), "Conversion error"));
    EXPECT_TRUE(IsError(Eval("STR(1, 2)"), "Conversion error"));
    core::FormatSettings.DecimalSeparator = ",";
    EXPECT_TRUE(IsString(Eval("STR(2.25)"), "2,25"));
}

TEST_F(Functions, LetterCaseFoldsCzechLetters)
{
    EXPECT_TRUE(IsString(Eval("UPPER('žluťoučký kůň')"), "ŽLUŤOUČKÝ KŮŇ"));
    EXPECT_TRUE(IsString(Eval("LOWER('ŘEŘICHA')"), "řeřicha"));
    EXPECT_TRUE(IsString(Eval("PRETTY('čERVEN kůň')"), "Červen kůň"));
    EXPECT_TRUE(IsString(Eval("PRETTY('')"), ""));
    EXPECT_TRUE(IsError(Eval("UPPER(1/0)"), "Cannot divide by 0"));
    EXPECT_TRUE(IsError(Eval("UPPER()"), "Missing argument for UPPER"));
    EXPECT_TRUE(IsError(Eval("LOWER('a', 'b')"), "Missing argument for LOWER"));
    EXPECT_TRUE(IsError(Eval("PRETTY(1)"), "Wrong arguments for PRETTY"));
}

TEST_F(Functions, CopyCountsCharacters)
{
    EXPECT_TRUE(IsString(Eval("COPY('abcdef', 0, 3)"), "abc"));
    EXPECT_TRUE(IsString(Eval("COPY('abcdef', 2, 3)"), "bcd"));
    EXPECT_TRUE(IsString(Eval("COPY('abcdef', 5, 10)"), "ef"));
    EXPECT_TRUE(IsString(Eval("COPY('abcdef', 9, 1)"), ""));
    EXPECT_TRUE(IsString(Eval("COPY('abc', 1, 0 - 1)"), ""));
    EXPECT_TRUE(IsString(Eval("COPY('příliš', 2, 3)"), "říl"));
    EXPECT_TRUE(IsError(Eval("COPY('abc', 2, 1.0)"), "Wrong arguments for COPY"));
    EXPECT_TRUE(IsError(Eval("COPY('abc', 2)"), "Wrong arguments for COPY"));
}

TEST_F(Functions, NumberFunctions)
{
    EXPECT_TRUE(IsInteger(Eval("INT(-2.7)"), -2));
    EXPECT_TRUE(IsInteger(Eval("INT(2.7)"), 2));
    EXPECT_TRUE(IsInteger(Eval("INT(7)"), 7));
    EXPECT_TRUE(IsInteger(Eval("INT(4294967297.5)"), 1)); // the low 32 bits
    EXPECT_TRUE(IsError(Eval("INT('7')"), "Wrong arguments for INT"));
    EXPECT_TRUE(IsError(Eval("INT(1E300)"), "Wrong arguments for INT"));
    EXPECT_TRUE(IsFloat(Eval("FRAC(-2.5)"), -0.5));
    EXPECT_TRUE(IsFloat(Eval("FRAC(3)"), 0.0));
    EXPECT_TRUE(IsError(Eval("FRAC('x')"), "Wrong arguments for FRAC"));
    EXPECT_TRUE(IsFloat(Eval("SQRT(16)"), 4.0));
    EXPECT_TRUE(IsFloat(Eval("SQRT(2.25)"), 1.5));
    EXPECT_TRUE(IsError(Eval("SQRT(-1)"), "Invalid argument to SQRT function"));
    EXPECT_TRUE(IsError(Eval("SQRT('a')"), "Invalid argument to SQRT function"));
    EXPECT_TRUE(IsInteger(Eval("DIV(7, 2)"), 3));
    EXPECT_TRUE(IsInteger(Eval("DIV(-7, 2)"), -3));
    EXPECT_TRUE(IsInteger(Eval("DIV(7.5, 2)"), 4));
    EXPECT_TRUE(IsInteger(Eval("DIV(6.5, 2)"), 3)); // 6.5 rounds to the even 6
    EXPECT_TRUE(IsError(Eval("DIV(1, 0)"), "Division by Zero"));
    EXPECT_TRUE(IsError(Eval("DIV(1, 0.4)"), "Division by Zero"));
    EXPECT_TRUE(IsError(Eval("DIV(1)"), "Wrong arguments for DIV"));
    EXPECT_TRUE(IsInteger(Eval("DIV(0 - 2147483647 - 1, 0 - 1)"), INT32_MIN));
}

TEST_F(Functions, TypeOfNamesEveryKind)
{
    EXPECT_TRUE(IsString(Eval("TYPEOF(1)"), "INTEGER"));
    EXPECT_TRUE(IsString(Eval("TYPEOF(7 / 2)"), "FLOAT"));
    EXPECT_TRUE(IsString(Eval("TYPEOF('a')"), "STRING"));
    EXPECT_TRUE(IsString(Eval("TYPEOF(TRUE)"), "BOOLEAN"));
    EXPECT_TRUE(IsString(Eval("TYPEOF(1/0)"), "ERROR"));
    EXPECT_TRUE(IsError(Eval("TYPEOF()"), "Wrong arguments for TypeOf"));
}

TEST_F(Functions, ConstantsDatesAndFormatting)
{
    EXPECT_TRUE(IsBoolean(Eval("TRUE"), true));
    EXPECT_TRUE(IsBoolean(Eval("FALSE()"), false));
    EXPECT_TRUE(IsError(Eval("TRUE(1)"), "Too many arguments"));
    EXPECT_EQ(Eval("TIME").Kind, evString);
    EXPECT_EQ(Eval("DATE()").Kind, evString);
    EXPECT_FALSE(Eval("DATE").StringValue.empty());
    EXPECT_TRUE(IsError(Eval("TIME(1)"), "Wrong arguments for TIME"));
    EXPECT_TRUE(IsString(Eval("FORMATNUMERIC('0.00', 3.14159)"), "3.14"));
    EXPECT_TRUE(IsString(Eval("FORMATNUMERIC('#,##0', 1234567)"), "1,234,567"));
    EXPECT_TRUE(IsError(Eval("FORMATNUMERIC(1, 2)"), "Wrong arguments for FORMATNUMERIC"));
}

// --- aggregates ------------------------------------------------------------------------

namespace {

// Runs expression as a report would, over records of one value X: X is a
// variable whose constant the run changes in place before each step.
class AggregateRun {
public:
    explicit AggregateRun(const std::string& expression)
    {
        environment_.DefineVariable("X", "0");
        environment_.PrepareEnvironment();
        evaluator_.SetLocalScope(&environment_);
        evaluator_.Parse(expression);
        evaluator_.ResetAggregates();
    }
    ~AggregateRun()
    {
        evaluator_.Release();
        environment_.ReleaseEnvironment();
    }
    template <class T>
    TRpEvValue Over(std::initializer_list<T> values)
    {
        for (const T& v : values) {
            TRpEvEnvironment::PutConstantValue(environment_.ConstantElement("X"), Value(v));
            evaluator_.AggregateStep();
        }
        return evaluator_.Evaluate();
    }
    TRpEvaluator& Evaluator() { return evaluator_; }

private:
    static TRpEvValue Value(int v) { return TRpEvValue::Integer(v); }
    static TRpEvValue Value(double v) { return TRpEvValue::Float(v); }
    static TRpEvValue Value(bool v) { return TRpEvValue::Boolean(v); }
    static TRpEvValue Value(const char* v) { return TRpEvValue::String(v); }

    TRpEvEnvironment environment_;
    TRpEvaluator evaluator_;
};

} // namespace

TEST(Aggregates, OverThreeRecords)
{
    EXPECT_TRUE(IsInteger(AggregateRun("SUM(X)").Over({3, 1, 2}), 6));
    EXPECT_TRUE(IsInteger(AggregateRun("COUNT").Over({3, 1, 2}), 3));
    EXPECT_TRUE(IsInteger(AggregateRun("MAX(X)").Over({3, 1, 2}), 3));
    EXPECT_TRUE(IsInteger(AggregateRun("MIN(X)").Over({3, 1, 2}), 1));
    EXPECT_TRUE(IsFloat(AggregateRun("AVERAGE(X)").Over({3, 1, 2}), 2.0));
    EXPECT_TRUE(IsFloat(AggregateRun("SUM(X) / COUNT").Over({3, 1, 2}), 2.0));
    EXPECT_TRUE(IsFloat(AggregateRun("SUM(X)").Over({1.5, 2.25}), 3.75));
}

TEST(Aggregates, ResetBringsTheEmptyState)
{
    for (const char* expression : {"SUM(X)", "MAX(X)", "MIN(X)", "COUNT"}) {
        AggregateRun run(expression);
        run.Over({3, 1, 2});
        run.Evaluator().ResetAggregates();
        EXPECT_TRUE(IsInteger(run.Evaluator().Evaluate(), 0)) << expression;
    }
    AggregateRun average("AVERAGE(X)");
    average.Over({3, 1, 2});
    average.Evaluator().ResetAggregates();
    EXPECT_TRUE(IsFloat(average.Evaluator().Evaluate(), 0.0));
    // Before its first reset an average is the integer 0.
    TRpEvaluator fresh;
    fresh.Parse("AVERAGE(1)");
    EXPECT_TRUE(IsInteger(fresh.Evaluate(), 0));
}

TEST(Aggregates, OnlyAggregateStepsAccumulate)
{
    AggregateRun run("SUM(X) + COUNT");
    EXPECT_TRUE(run.Evaluator().ContainsAggregates());
    run.Over({5});
    EXPECT_TRUE(IsInteger(run.Evaluator().Evaluate(), 6));
    EXPECT_TRUE(IsInteger(run.Evaluator().Evaluate(), 6));
}

TEST(Aggregates, KindsOfValues)
{
    EXPECT_TRUE(IsBoolean(AggregateRun("MIN(X)").Over({true, false}), false));
    EXPECT_TRUE(IsBoolean(AggregateRun("MAX(X)").Over({false, true}), true));
    EXPECT_TRUE(IsString(AggregateRun("MAX(X)").Over({"b", "ab"}), "b"));
    EXPECT_TRUE(IsString(AggregateRun("MIN(X)").Over({"b", "ab"}), "ab"));
    EXPECT_TRUE(IsError(AggregateRun("SUM(X)").Over({"a"}), "Wrong arguments for SUM"));
    EXPECT_TRUE(IsError(AggregateRun("SUM(1/0)").Over({1}), "Cannot divide by 0"));
    EXPECT_TRUE(IsError(AggregateRun("AVERAGE(X)").Over({"a"}), "Wrong arguments for AVERAGE"));
    EXPECT_TRUE(IsError(AggregateRun("MAX(X, X)").Over({1}), "Wrong arguments for MAX"));
    EXPECT_TRUE(IsError(AggregateRun("COUNT(1)").Over({1}), "COUNT - Too many arguments"));
    // A float among integers is added, not dropped.
    AggregateRun mixed("SUM(IF(X > 1, X / 2, X))");
    EXPECT_TRUE(IsFloat(mixed.Over({1, 3}), 2.5));
}

TEST(Aggregates, IntegerSumWrapsIn32Bits)
{
    EXPECT_TRUE(IsInteger(AggregateRun("SUM(X)").Over({2147483647, 1}), INT32_MIN));
}

// --- the library -------------------------------------------------------------------------

TEST(FunctionLibrary, HoldsTheTwentyOneFunctionsInOrder)
{
    const TRpFunctionLibrary& library = FunctionLibrary();
    const std::vector<std::string> names = {"IF",    "STR",  "UPPER", "LOWER", "PRETTY", "TIME", "DATE",
                                            "COPY",  "SUM",  "COUNT", "MAX",   "MIN",    "AVERAGE", "TRUE",
                                            "FALSE", "INT",  "FRAC",  "SQRT",  "DIV",    "TYPEOF", "FORMATNUMERIC"};
    ASSERT_GE(library.Count(), 21);
    for (int i = 0; i < 21; ++i) {
        EXPECT_EQ(library.Entry(i)->Name, names[static_cast<std::size_t>(i)]);
        EXPECT_EQ(library.EntryList.Get(i), names[static_cast<std::size_t>(i)]);
        EXPECT_EQ(library.Entry(i)->Vendor, kFunctionVendor);
    }
    const TRpLibraryEntry* ifEntry = library.Find("if");
    ASSERT_NE(ifEntry, nullptr);
    EXPECT_EQ(ifEntry->Description,
              "IF(<Exp>, <X>, <Y>)|Returns <X> or <Y> depending on the boolean expression <Exp>");
    EXPECT_EQ(ifEntry->ArgumentSignature, "5BVV");
    EXPECT_EQ(ifEntry->Category(), 5);
    EXPECT_EQ(ifEntry->ArgumentLetters(), "BVV");
    const TRpLibraryEntry* div = library.Find("DIV");
    EXPECT_EQ(div->Description, "DIV(<X>, <Y>) | Integer division of <X> by <Y>");
    EXPECT_EQ(div->Syntax(), "DIV(<X>, <Y>) ");
    EXPECT_EQ(library.Find("COPY")->Syntax(), "COPY(<X>, <St>,<Len>)");
    EXPECT_EQ(library.Find("TYPEOF")->ArgumentSignature, "6N");
    EXPECT_EQ(library.Find("COUNT")->ArgumentLetters(), "");
    EXPECT_EQ(library.Entry(21 + 100), nullptr);
    EXPECT_EQ(library.Entry(-1), nullptr);
}

TEST(FunctionLibrary, StatisticalCategoryListsTheAggregates)
{
    std::vector<std::string> statistical;
    const TRpFunctionLibrary& library = FunctionLibrary();
    for (int i = 0; i < library.Count(); ++i)
        if (library.Entry(i)->Category() == 3)
            statistical.push_back(library.Entry(i)->Name);
    EXPECT_EQ(statistical, (std::vector<std::string>{"SUM", "COUNT", "MAX", "MIN", "AVERAGE"}));
}

TEST(FunctionLibrary, UnknownNamesAndSecondRegistrations)
{
    TRpLibrary library;
    RegisterStandardFunctions(library);
    auto unknown = library.CreateElement("NOPE");
    auto* error = dynamic_cast<TRpEvElementError*>(unknown.get());
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->Message(), "Unknown function : NOPE");
    EXPECT_EQ(library.CreateElement("sqrt")->ClassName(), "TRpEvSQRTFunction");
    // A second entry under a present name is added, lookups find the first.
    library.AddEntry(CreateFunctionElement<TRpEvTrue>, "IF", "IF|other", "5", "x");
    EXPECT_EQ(library.Count(), 22);
    EXPECT_EQ(library.Find("IF")->ArgumentSignature, "5BVV");
}

TEST(FunctionLibrary, RegisteredFunctionsAreCalledByName)
{
    class Twice : public TRpEvElementFunction {
    public:
        void Compute(TRpEvValue& result) override
        {
            result = Arguments.size() == 1 && Arguments[0].Kind == evInteger
                         ? TRpEvValue::Integer(Arguments[0].IntegerValue * 2)
                         : TRpEvValue::Error("bad");
        }
    };
    RegisterReportFunction(CreateFunctionElement<Twice>, "TWICE_TEST", "TWICE_TEST(<X>)|doubles", "2N", "test");
    EXPECT_TRUE(IsInteger(Eval("twice_test(21)"), 42));
    EXPECT_TRUE(IsInteger(Eval("TWICE_TEST(TWICE_TEST(1) + 1)"), 6));
}
