#include "ExprTestSupport.h"

#include "platform/core/Exceptions.h"
#include "report/expr/RpEnvironment.h"

#include <climits>

using namespace report;
using namespace report::test;

TEST(Evaluator, ArithmeticKeepsPrecedenceAndLeftToRightMeaning)
{
    EXPECT_TRUE(IsInteger(Eval("1 + 2 * 3"), 7));
    EXPECT_TRUE(IsInteger(Eval("10 - 2 + 3"), 11));
    EXPECT_TRUE(IsInteger(Eval("10 - 2 - 3"), 5));
    EXPECT_TRUE(IsInteger(Eval("10 - (2 + 3)"), 5));
    EXPECT_TRUE(IsInteger(Eval("1 - 2 + 3 - 4 + 5"), 3));
    EXPECT_TRUE(IsFloat(Eval("8 / 4 * 2"), 4.0));
    EXPECT_TRUE(IsFloat(Eval("100 / 10 / 5"), 2.0));
    EXPECT_TRUE(IsFloat(Eval("7 / 2"), 3.5));
    EXPECT_TRUE(IsFloat(Eval("2 * 3 - 4 / 2"), 4.0));
    EXPECT_TRUE(IsFloat(Eval("1.5 + 1"), 2.5));
    EXPECT_TRUE(IsFloat(Eval("1.5E3"), 1500.0));
    EXPECT_TRUE(IsFloat(Eval("2.5e2"), 250.0));
    EXPECT_TRUE(IsFloat(Eval("1."), 1.0));
    EXPECT_TRUE(IsFloat(Eval("0.125"), 0.125));
}

TEST(Evaluator, SignsAndTheBlankBeforeThem)
{
    EXPECT_TRUE(IsInteger(Eval("2+-3"), -1));
    EXPECT_TRUE(IsInteger(Eval("2 + (-3)"), -1));
    EXPECT_TRUE(IsInteger(Eval("-5 + 2"), -3));
    EXPECT_TRUE(IsInteger(Eval("-(2 + 3)"), -5));
    EXPECT_TRUE(IsInteger(Eval("+7"), 7));
    // The right operand " -3" keeps its blank: its minus is binary, with a blank left operand.
    EXPECT_TRUE(IsError(Eval("2 + -3"), "Error in expression :  "));
}

TEST(Evaluator, IntegersWrapAndLargeConstantsAreFloats)
{
    EXPECT_TRUE(IsInteger(Eval("2147483647 + 1"), INT_MIN));
    EXPECT_TRUE(IsInteger(Eval("0 - 2147483647 - 2"), INT_MAX));
    EXPECT_TRUE(IsInteger(Eval("65536 * 65536"), 0));
    EXPECT_TRUE(IsFloat(Eval("99999999999"), 99999999999.0));
    EXPECT_TRUE(IsInteger(Eval("2147483647"), INT_MAX));
    EXPECT_TRUE(IsFloat(Eval("2147483648"), 2147483648.0));
}

TEST(Evaluator, NumericConstantFaults)
{
    EXPECT_TRUE(IsError(Eval("12abc"), "Illegal character in numeric contant \"12abc\""));
    EXPECT_TRUE(IsError(Eval("1.2.3"), "Illegal character in numeric contant \"1.2.3\""));
    EXPECT_TRUE(IsError(Eval("1e"), "Illegal character in numeric contant \"1e\""));
    EXPECT_TRUE(IsError(Eval("1e999"), "Illegal character in numeric contant \"1e999\""));
    // Only one relational operator per level: the second stays in the right text.
    EXPECT_TRUE(IsError(Eval("1 < 2 < 3"), "Illegal character in numeric contant \"2 < 3\""));
}

TEST(Evaluator, SyntaxFaultsBecomeErrorValues)
{
    EXPECT_TRUE(IsError(Eval("'abc"), "Missing '"));
    EXPECT_TRUE(IsError(Eval("'"), "Missing '"));
    EXPECT_TRUE(IsError(Eval("(1 + 2"), "Missing )"));
    EXPECT_TRUE(IsError(Eval("[ORDERS.AMOUNT"), "Missing ]"));
    EXPECT_TRUE(IsError(Eval("#"), "Error in expression : #"));
    EXPECT_TRUE(IsError(Eval("()"), "Error in expression : "));
    // The last character is never taken for an operator.
    EXPECT_TRUE(IsError(Eval("1 +"), "Illegal character in numeric contant \"1 +\""));
    EXPECT_TRUE(IsError(Eval("FOO(1)"), "Unknown function : FOO"));
    EXPECT_TRUE(IsError(Eval("FOO"), "Unknown function : FOO"));
    EXPECT_TRUE(IsError(Eval("foo"), "Unknown function : FOO"));
    EXPECT_TRUE(IsError(Eval("[foo]"), "Unknown function : foo"));
    // A function name with a blank before its parenthesis is another name.
    EXPECT_TRUE(IsError(Eval("STR (1)"), "Unknown function : STR "));
}

TEST(Evaluator, EmptyTextIsOneBlank)
{
    EXPECT_TRUE(IsString(Eval(""), " "));
    EXPECT_TRUE(IsString(Eval("''"), ""));
}

TEST(Evaluator, StringsComparisonsAndMixedKinds)
{
    EXPECT_TRUE(IsString(Eval("'a+b'"), "a+b"));
    EXPECT_TRUE(IsString(Eval("'it''s'"), "it''s"));
    EXPECT_TRUE(IsString(Eval("'a' + '-' + 'b'"), "a-b"));
    EXPECT_TRUE(IsString(Eval("'a' + 1"), "a1"));
    EXPECT_TRUE(IsString(Eval("1 + 'A'"), "1A"));
    EXPECT_TRUE(IsString(Eval("TRUE + 1"), "True1"));
    EXPECT_TRUE(IsBoolean(Eval("TRUE = 1"), false));
    EXPECT_TRUE(IsBoolean(Eval("'abc' < 'abd'"), true));
    EXPECT_TRUE(IsBoolean(Eval("'ab' < 'abc'"), true));
    EXPECT_TRUE(IsBoolean(Eval("'B' < 'a'"), true));
    EXPECT_TRUE(IsBoolean(Eval("'a' = 'A'"), false));
    EXPECT_TRUE(IsBoolean(Eval("'a' <> 'A'"), true));
    EXPECT_TRUE(IsBoolean(Eval("2 >= 2"), true));
    EXPECT_TRUE(IsBoolean(Eval("2 > 2"), false));
    EXPECT_TRUE(IsBoolean(Eval("1 <= 1.5"), true));
    EXPECT_TRUE(IsBoolean(Eval("3 = 3.0"), true));
    EXPECT_TRUE(IsBoolean(Eval("TRUE <> FALSE"), true));
    EXPECT_TRUE(IsBoolean(Eval("'a<b' = 'a<b'"), true));
}

TEST(Evaluator, OperatorsRefuseKindsWithExactMessages)
{
    EXPECT_TRUE(IsError(Eval("5 / 0"), "Cannot divide by 0"));
    EXPECT_TRUE(IsError(Eval("5.5 / 0.0"), "Cannot divide by 0"));
    EXPECT_TRUE(IsError(Eval("'a' * 2"), "Cannot multiply string expressions"));
    EXPECT_TRUE(IsError(Eval("'x' - 'y'"), "Cannot subtract string expressions"));
    EXPECT_TRUE(IsError(Eval("'x' / 'y'"), "Cannot divide string expressions"));
    EXPECT_TRUE(IsError(Eval("TRUE + FALSE"), "Cannot add boolean expressions"));
    EXPECT_TRUE(IsError(Eval("TRUE - FALSE"), "Cannot subtract boolean expressions"));
    EXPECT_TRUE(IsError(Eval("TRUE * FALSE"), "Cannot multiply boolean expressions"));
    EXPECT_TRUE(IsError(Eval("TRUE / FALSE"), "Cannot divide boolean expressions"));
    EXPECT_TRUE(IsError(Eval("TRUE < FALSE"), "Operator < is not compatible with boolean expressions"));
    EXPECT_TRUE(IsError(Eval("TRUE >= FALSE"), "Operator >= is not compatible with boolean expressions"));
    EXPECT_TRUE(IsError(Eval("1.5 or 2"), "Operator OR is not compatible with numeric expressions"));
    EXPECT_TRUE(IsError(Eval("1.5 and 2"), "Operator AND is not compatible with numeric expressions"));
    EXPECT_TRUE(IsError(Eval("'a' or 'b'"), "Operator OR is not compatible with string expressions"));
    EXPECT_TRUE(IsError(Eval("'a' and 'b'"), "Operator AND is not compatible with string expressions"));
    // The left error wins, and errors travel up unchanged.
    EXPECT_TRUE(IsError(Eval("(1 / 0) + ('a' * 2)"), "Cannot divide by 0"));
    EXPECT_TRUE(IsError(Eval("1 + ('a' * 2)"), "Cannot multiply string expressions"));
    EXPECT_TRUE(IsError(Eval("'x' + (1 / 0)"), "Cannot divide by 0"));
}

TEST(Evaluator, LogicNeedsBlanksAroundItsWords)
{
    EXPECT_TRUE(IsInteger(Eval("3 or 4"), 7));
    EXPECT_TRUE(IsInteger(Eval("6 and 3"), 2));
    EXPECT_TRUE(IsBoolean(Eval("TRUE and FALSE"), false));
    EXPECT_TRUE(IsBoolean(Eval("FALSE OR TRUE"), true));
    // One relational operator per expression: comparisons joined by "and" need parentheses.
    EXPECT_TRUE(IsError(Eval("1 < 2 and 2 < 3"), "Illegal character in numeric contant \"2 < 3\""));
    EXPECT_TRUE(IsBoolean(Eval("(1 < 2) and (2 < 3)"), true));
    EXPECT_TRUE(IsError(Eval("TRUE or(FALSE)"), "Unknown function : TRUE OR"));
}

TEST(Evaluator, Negation)
{
    EXPECT_TRUE(IsBoolean(Eval("not TRUE"), false));
    EXPECT_TRUE(IsBoolean(Eval("NOT FALSE"), true));
    EXPECT_TRUE(IsBoolean(Eval("not (1 > 2)"), true));
    EXPECT_TRUE(IsError(Eval("not 1"), "Invalid use of NOT"));
    EXPECT_TRUE(IsError(Eval("not"), "Invalid use of NOT"));
    EXPECT_TRUE(IsError(Eval("not (1/0)"), "Invalid use of NOT"));
    // Only the first operand is negated.
    EXPECT_TRUE(IsBoolean(Eval("not TRUE and FALSE"), false));
    EXPECT_TRUE(IsBoolean(Eval("not FALSE and FALSE"), false));
    EXPECT_TRUE(IsBoolean(Eval("not FALSE and TRUE"), true));
}

TEST(Evaluator, ConcatenationKeepsAtMost255Characters)
{
    const std::string a(200, 'a');
    const std::string b(100, 'b');
    const TRpEvValue v = Eval("'" + a + "' + '" + b + "'");
    ASSERT_EQ(v.Kind, evString);
    EXPECT_EQ(v.StringValue, a + std::string(55, 'b'));
    // Characters, not bytes: a Czech letter is two bytes of UTF-8.
    std::string czech;
    for (int i = 0; i < 300; ++i)
        czech += "č";
    const TRpEvValue c = Eval("'" + czech + "'");
    ASSERT_EQ(c.Kind, evString);
    EXPECT_EQ(c.StringValue.size(), 255u * 2);
}

TEST(Evaluator, DeepNestingGivesAnErrorInsteadOfExhaustingTheStack)
{
    const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_EQ(Eval(deep).Kind, evError);
    std::string chain = "1";
    for (int i = 0; i < 5000; ++i)
        chain += "+1";
    EXPECT_EQ(Eval(chain).Kind, evError);
    EXPECT_EQ(Eval(std::string(5000, '-') + "1").Kind, evError);
    // Moderate nesting still works.
    EXPECT_TRUE(IsInteger(Eval(std::string(100, '(') + "1" + std::string(100, ')')), 1));
    std::string sum = "0";
    for (int i = 0; i < 500; ++i)
        sum += " + 2";
    EXPECT_TRUE(IsInteger(Eval(sum), 1000));
}

TEST(Evaluator, UnpreparedEvaluationAndErrorTextRaise)
{
    TRpEvaluator evaluator;
    try {
        evaluator.Evaluate();
        FAIL() << "no exception";
    } catch (const core::Exception& e) {
        EXPECT_EQ(e.Message(), "Evaluator not prepared");
    }
    evaluator.Parse("1");
    EXPECT_TRUE(IsInteger(evaluator.Evaluate(), 1));
    evaluator.Release();
    EXPECT_FALSE(evaluator.Parsed());
    EXPECT_THROW(evaluator.Evaluate(), core::Exception);

    try {
        ResultToText(TRpEvValue::Error("boom"));
        FAIL() << "no exception";
    } catch (const core::Exception& e) {
        EXPECT_EQ(e.Message(), "Error in expression : boom");
    }
    EXPECT_EQ(ResultToText(TRpEvValue::Integer(-12)), "-12");
    EXPECT_EQ(ResultToText(TRpEvValue::Boolean(true)), "True");
    EXPECT_EQ(ResultToText(TRpEvValue::Boolean(false)), "False");
    EXPECT_EQ(ResultToText(TRpEvValue::String("x")), "x");
}

TEST(Evaluator, ReparseReplacesTheListAndEvaluatesRepeatedly)
{
    TRpEvaluator evaluator;
    evaluator.Parse("2 * 3");
    EXPECT_TRUE(IsInteger(evaluator.Evaluate(), 6));
    EXPECT_TRUE(IsInteger(evaluator.Evaluate(), 6));
    evaluator.Parse("'a' + 'b'");
    EXPECT_TRUE(IsString(evaluator.Evaluate(), "ab"));
    EXPECT_FALSE(evaluator.ContainsAggregates());
}

TEST(Evaluator, ElementListIsInPrefixOrder)
{
    TRpEvaluator evaluator;
    evaluator.Parse("1 + STR(2) * 3");
    const TRpFiFo* list = evaluator.Elements();
    ASSERT_NE(list, nullptr);
    std::vector<std::string> classes;
    for (const auto& e : list->Elements)
        classes.push_back(e->ClassName());
    const std::vector<std::string> expected = {"TRpEvElementOperator", "TRpEvElementConstant", "TRpEvElementOperator",
                                               "TRpEvStrFunction",     "TRpEvElementConstant", "TRpEvElementArgumentEnd",
                                               "TRpEvElementConstant"};
    EXPECT_EQ(classes, expected);
    EXPECT_EQ(static_cast<TRpEvElementOperator*>(list->Elements[0].get())->Operation, opPlus);
    EXPECT_EQ(static_cast<TRpEvElementOperator*>(list->Elements[2].get())->Operation, opTimes);
}

// --- data-set fields ------------------------------------------------------------------

class EvaluatorFields : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.Exec("CREATE TABLE orders (AMOUNT REAL, Name TEXT, QTY INTEGER, PAID BOOLEAN, DATUM DATETIME, "
                "BIG BIGINT)");
        db.Exec("INSERT INTO orders VALUES (12.5, 'Nováková', 3, 1, 40210.5, 5000000000)");
        db.Exec("INSERT INTO orders VALUES (1, 'Svoboda', 10, 0, 40211, 7)");
        db.Exec("CREATE TABLE invoices (AMOUNT INTEGER)");
        db.Exec("INSERT INTO invoices VALUES (99)");
        orders = db.Query("Orders", "SELECT * FROM orders");
        invoices = db.Query("INVOICES", "SELECT * FROM invoices");
        list = {orders, invoices};
    }

    TestData db;
    data::TADOQuery* orders = nullptr;
    data::TADOQuery* invoices = nullptr;
    TRpDataSetList list;
};

TEST_F(EvaluatorFields, FieldsGiveValuesByTheirClass)
{
    EXPECT_TRUE(IsFloat(Eval("AMOUNT", &list), 12.5));
    EXPECT_TRUE(IsString(Eval("name", &list), "Nováková"));
    EXPECT_TRUE(IsInteger(Eval("QTY * 2", &list), 6));
    EXPECT_TRUE(IsBoolean(Eval("not PAID", &list), false));
    EXPECT_TRUE(IsString(Eval("DATUM", &list), orders->FieldByName("DATUM")->DisplayText()));
    EXPECT_TRUE(IsFloat(Eval("BIG", &list), 5000000000.0));
    orders->Next();
    EXPECT_TRUE(IsInteger(Eval("BIG", &list), 7));
}

TEST_F(EvaluatorFields, DataSetNamesChooseTheField)
{
    EXPECT_TRUE(IsFloat(Eval("[ORDERS.AMOUNT]", &list), 12.5));
    EXPECT_TRUE(IsInteger(Eval("[invoices.amount]", &list), 99));
    EXPECT_TRUE(IsInteger(Eval("INVOICES.AMOUNT + 1", &list), 100));
    // A named data set without that field: no other data set is asked.
    EXPECT_TRUE(IsError(Eval("INVOICES.QTY", &list), "Unknown function : INVOICES.QTY"));
    EXPECT_TRUE(IsError(Eval("[Nothing.x]", &list), "Unknown function : Nothing.x"));
    // Without a data-set list field names are not known.
    EXPECT_TRUE(IsError(Eval("AMOUNT"), "Unknown function : AMOUNT"));
    // The first data set in the list that has the field wins.
    TRpDataSetList reversed = {invoices, orders};
    EXPECT_TRUE(IsInteger(Eval("AMOUNT", &reversed), 99));
}

TEST_F(EvaluatorFields, ValuesFollowTheCurrentRecord)
{
    TRpEvaluator evaluator;
    evaluator.AssignDataSets(&list);
    evaluator.Parse("NAME + ' ' + STR(QTY + 1)");
    EXPECT_TRUE(IsString(evaluator.Evaluate(), "Nováková 4"));
    orders->Next();
    EXPECT_TRUE(IsString(evaluator.Evaluate(), "Svoboda 11"));
}

TEST_F(EvaluatorFields, DefaultFieldsAreFetchedAgainByPosition)
{
    ASSERT_TRUE(orders->DefaultFields());
    TRpEvaluator evaluator;
    evaluator.AssignDataSets(&list);
    evaluator.Parse("QTY");
    // Reopening makes new field objects at the same positions.
    orders->Close();
    orders->Open();
    EXPECT_TRUE(IsInteger(evaluator.Evaluate(), 3));
    // Fewer fields than before: an error, not a dangling field.
    orders->Close();
    orders->SQL()->SetText("SELECT AMOUNT FROM orders");
    orders->Open();
    EXPECT_TRUE(IsError(evaluator.Evaluate(), "Field QTY is of unknown type"));
}

TEST_F(EvaluatorFields, AValueTheFieldCannotGiveIsAnErrorValue)
{
    // A persistent field, later taken off its data set.
    invoices->Close();
    core::TComponent owner(nullptr);
    auto* amount = new data::TIntegerField(&owner);
    amount->SetFieldName("AMOUNT");
    amount->SetDataSet(invoices);
    invoices->Open();
    TRpEvaluator evaluator;
    evaluator.AssignDataSets(&list);
    evaluator.Parse("[INVOICES.AMOUNT]");
    EXPECT_TRUE(IsInteger(evaluator.Evaluate(), 99));
    invoices->Close();
    amount->SetDataSet(nullptr);
    EXPECT_TRUE(IsError(evaluator.Evaluate(), "Field 'AMOUNT' has no dataset"));
}

TEST(EvaluatorDataSets, OwnedListIsFreedOnlyWhenReplaced)
{
    TRpEvaluator evaluator;
    TRpDataSetList* own = evaluator.OwnDataSetList();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(evaluator.OwnDataSetList(), own);
    evaluator.AssignDataSets(own);
    EXPECT_EQ(evaluator.DataSets(), own);
    TRpDataSetList other;
    evaluator.AssignDataSets(&other);
    EXPECT_EQ(evaluator.DataSets(), &other);
    evaluator.AssignDataSets(nullptr);
    EXPECT_EQ(evaluator.DataSets(), nullptr);
}
