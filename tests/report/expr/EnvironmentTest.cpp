#include "ExprTestSupport.h"

#include "platform/core/Exceptions.h"
#include "report/expr/RpEnvironment.h"
#include "report/expr/RpExprUnit.h"

using namespace report;
using namespace report::test;

TEST(ExpressionUnit, GlobalEnvironmentHoldsItsThreeConstants)
{
    // Start afresh, whatever ran before in this process.
    for (int i = 0; i < 10; ++i)
        FinalizeExpressionUnit();
    InitializeExpressionUnit("Zkouška");
    InitializeExpressionUnit("ignored: already started");
    TRpEvEnvironment& global = ProcessEnvironment();
    ASSERT_EQ(global.Count(), 3);
    EXPECT_EQ(global.Get(0), "APPSTARTTIME");
    EXPECT_EQ(global.Get(1), "APPSTARTDATE");
    EXPECT_EQ(global.Get(2), "APPNAME");
    EXPECT_EQ(global.Variable("AppName")->ExpressionText, "'Zkouška'");
    EXPECT_TRUE(IsString(Eval("AppName"), "Zkouška"));
    EXPECT_TRUE(IsString(Eval("'[' + appname + ']'"), "[Zkouška]"));
    EXPECT_EQ(Eval("APPSTARTDATE").Kind, evString);
    EXPECT_EQ(ArgumentSeparator, ',');
    FinalizeExpressionUnit();
    EXPECT_EQ(&ProcessEnvironment(), &global); // still started once
    FinalizeExpressionUnit();
    // The next use starts the unit again, with every function in place.
    EXPECT_TRUE(IsInteger(Eval("DIV(9, 2)"), 4));
    EXPECT_EQ(ProcessEnvironment().Count(), 3);
}

TEST(Environment, DefiningAPresentNameKeepsTheFirstExpression)
{
    TRpEvEnvironment env;
    env.DefineVariable("x", "1");
    env.DefineVariable("X", "2");
    ASSERT_EQ(env.Count(), 1);
    EXPECT_EQ(env.Get(0), "X");
    env.PrepareEnvironment();
    EXPECT_TRUE(IsInteger(env.VariableValue("x"), 1));
    env.ReleaseEnvironment();
}

TEST(Environment, SelfReferenceIsAnErrorValue)
{
    TRpEvEnvironment env;
    env.DefineVariable("X", "X + 1");
    env.DefineVariable("A", "B");
    env.DefineVariable("B", "A * 2");
    env.PrepareEnvironment();
    EXPECT_TRUE(IsError(env.VariableValue("X"), "Recursive calls not allowed"));
    EXPECT_TRUE(IsError(env.VariableValue("A"), "Recursive calls not allowed"));
    // The guard is down again after each evaluation.
    EXPECT_TRUE(IsError(env.VariableValue("X"), "Recursive calls not allowed"));
    EXPECT_FALSE(env.Variable("X")->InUse);
    env.ReleaseEnvironment();
}

TEST(Environment, VariablesUseEachOtherAndLocalHidesGlobal)
{
    ProcessEnvironment().DefineVariable("ENVTEST_X", "100");
    TRpEvEnvironment env;
    env.DefineVariable("Y", "ENVTEST_X * 2");
    env.DefineVariable("ENVTEST_X", "3");
    env.PrepareEnvironment();
    EXPECT_TRUE(IsInteger(env.VariableValue("Y"), 6));
    EXPECT_TRUE(IsInteger(Eval("ENVTEST_X + Y", nullptr, &env), 9));
    EXPECT_TRUE(IsInteger(Eval("ENVTEST_X"), 100));
    // A name missing locally is looked up globally.
    EXPECT_TRUE(IsString(Eval("APPNAME", nullptr, &env), Eval("APPNAME").StringValue));
    env.ReleaseEnvironment();
    ProcessEnvironment().RemoveVariable("envtest_x");
    EXPECT_EQ(ProcessEnvironment().Variable("ENVTEST_X"), nullptr);
}

TEST(Environment, OnlyTheFirstPrepareAndLastReleaseWork)
{
    TRpEvEnvironment env;
    env.DefineVariable("A", "1");
    EXPECT_FALSE(env.IsPrepared());
    env.PrepareEnvironment();
    env.PrepareEnvironment();
    env.ReleaseEnvironment();
    EXPECT_TRUE(env.IsPrepared());
    EXPECT_TRUE(env.Variable("A")->OwnEvaluator.Parsed());
    env.ReleaseEnvironment();
    EXPECT_FALSE(env.IsPrepared());
    EXPECT_FALSE(env.Variable("A")->OwnEvaluator.Parsed());
    // Extra releases do not drive the count below zero.
    env.ReleaseEnvironment();
    env.PrepareEnvironment();
    EXPECT_TRUE(env.Variable("A")->OwnEvaluator.Parsed());
    env.ReleaseEnvironment();
}

TEST(Environment, UnpreparedVariableRaisesAndRecovers)
{
    TRpEvEnvironment env;
    env.DefineVariable("A", "5");
    TRpEvaluator evaluator;
    evaluator.SetLocalScope(&env);
    evaluator.Parse("A + 1");
    try {
        evaluator.Evaluate();
        FAIL() << "no exception";
    } catch (const core::Exception& e) {
        EXPECT_EQ(e.Message(), "Evaluator not prepared");
    }
    EXPECT_FALSE(env.Variable("A")->InUse);
    env.PrepareEnvironment();
    EXPECT_TRUE(IsInteger(evaluator.Evaluate(), 6));
    env.ReleaseEnvironment();
}

TEST(Environment, DefiningInAPreparedEnvironmentParsesAtOnce)
{
    TRpEvEnvironment env;
    env.PrepareEnvironment();
    env.DefineVariable("LATE", "2 * 21");
    EXPECT_TRUE(IsInteger(env.VariableValue("LATE"), 42));
    env.ReleaseEnvironment();
}

TEST(Environment, CountersChangeInPlace)
{
    TRpEvEnvironment env;
    env.DefineVariable("PAGENUMBER", "0");
    env.DefineVariable("COLUMNNUMBER", "0");
    env.DefineVariable("REPORTTITLE", "''");
    EXPECT_EQ(env.ConstantElement("PAGENUMBER"), nullptr); // not parsed yet
    env.PrepareEnvironment();
    TRpEvaluator evaluator;
    evaluator.SetLocalScope(&env);
    evaluator.Parse("REPORTTITLE + ' ' + STR(PAGENUMBER + 1)");
    EXPECT_TRUE(IsString(evaluator.Evaluate(), " 1"));
    TRpEvEnvironment::PutTextConstant(env.ConstantElement("REPORTTITLE"), "Přehled");
    TRpEvEnvironment::PutIntegerConstant(env.ConstantElement("pagenumber"), 4);
    EXPECT_TRUE(IsString(evaluator.Evaluate(), "Přehled 5"));
    // Elements of the wrong class are left alone.
    TRpEvEnvironment::PutTextConstant(env.ConstantElement("PAGENUMBER"), "x");
    TRpEvEnvironment::PutIntegerConstant(env.ConstantElement("REPORTTITLE"), 9);
    EXPECT_TRUE(IsString(evaluator.Evaluate(), "Přehled 5"));
    TRpEvEnvironment::PutConstantValue(env.ConstantElement("COLUMNNUMBER"), TRpEvValue::Float(1.5));
    EXPECT_TRUE(IsFloat(env.VariableValue("COLUMNNUMBER"), 1.5));
    TRpEvEnvironment::PutConstantValue(env.ConstantElement("REPORTTITLE"), TRpEvValue::String("Nový"));
    TRpEvEnvironment::PutConstantValue(env.ConstantElement("REPORTTITLE"), TRpEvValue::Integer(3));
    EXPECT_TRUE(IsString(env.VariableValue("REPORTTITLE"), "Nový"));
    EXPECT_EQ(env.ConstantElement("NOSUCH"), nullptr);
    evaluator.Release();
    env.ReleaseEnvironment();
}

TEST(Environment, UnknownNames)
{
    TRpEvEnvironment env;
    EXPECT_TRUE(IsError(env.VariableValue("nic"), "Unknown function : nic"));
    auto element = env.ElementFor("Nic");
    auto* error = dynamic_cast<TRpEvElementError*>(element.get());
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->Message(), "Unknown function : Nic");
    env.RemoveVariable("nic"); // nothing to remove
    EXPECT_EQ(env.Count(), 0);
}

TEST(Environment, FieldsOfTheEnvironmentsDataSets)
{
    TestData db;
    db.Exec("CREATE TABLE orders (AMOUNT INTEGER)");
    db.Exec("INSERT INTO orders VALUES (21)");
    db.Exec("INSERT INTO orders VALUES (5)");
    data::TADOQuery* orders = db.Query("ORDERS", "SELECT AMOUNT FROM orders");
    TRpEvEnvironment env;
    env.OwnDataSetList()->push_back(orders);
    env.DefineVariable("DOUBLE", "AMOUNT * 2");
    env.PrepareEnvironment();
    EXPECT_TRUE(IsInteger(env.VariableValue("DOUBLE"), 42));
    orders->Next();
    EXPECT_TRUE(IsInteger(env.VariableValue("DOUBLE"), 10));
    env.ReleaseEnvironment();
}

TEST(Environment, StoredExpressionsAttachToTheNamesInOrder)
{
    TRpEvEnvironment source;
    source.DefineVariable("A", "1");
    source.DefineVariable("B", "A + 1");
    const std::vector<std::string> data = source.WriteData();
    EXPECT_EQ(data, (std::vector<std::string>{"1", "A + 1"}));

    TRpEvEnvironment copy;
    copy.Add("A");
    copy.Add("B");
    copy.ReadData(data);
    copy.PrepareEnvironment();
    EXPECT_TRUE(IsInteger(copy.VariableValue("A"), 1));
    EXPECT_TRUE(IsInteger(copy.VariableValue("B"), 2));
    copy.ReleaseEnvironment();

    TRpEvEnvironment shorter;
    shorter.Add("A");
    EXPECT_THROW(shorter.ReadData(data), core::EListError);
    // What was read before the fault stays attached.
    EXPECT_EQ(shorter.Variable("A")->ExpressionText, "1");
}

TEST(Environment, AssignCopiesVariablesByTheirTexts)
{
    TRpEvEnvironment source;
    source.DefineVariable("A", "7");
    TRpEvEnvironment copy;
    copy.DefineVariable("OLD", "0");
    copy.Assign(&source);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_NE(copy.Variable("A"), source.Variable("A"));
    EXPECT_EQ(copy.Variable("A")->ExpressionText, "7");
}

TEST(Environment, ReplacingAndDeletingFreeTheVariables)
{
    TRpEvEnvironment env;
    env.DefineVariable("A", "1");
    env.DefineVariable("B", "2");
    env.ReplaceVariable(0, "10");
    env.Delete(1);
    env.PrepareEnvironment();
    EXPECT_TRUE(IsInteger(env.VariableValue("A"), 10));
    env.ReleaseEnvironment();
    env.ClearEnvironment();
    EXPECT_EQ(env.Count(), 0);
}

TEST(Environment, GlobalCountStaysBalancedByEvaluators)
{
    TRpEvEnvironment& global = ProcessEnvironment();
    {
        TRpEvaluator warm;
        warm.Parse("1"); // parses the global entries once for good
    }
    const int level = global.PrepareLevel();
    {
        TRpEvaluator a;
        a.Parse("1");
        EXPECT_EQ(global.PrepareLevel(), level + 1);
        a.Parse("2");
        EXPECT_EQ(global.PrepareLevel(), level + 1);
        a.Release();
        a.Release(); // a second release gives nothing back
        TRpEvaluator b;
        b.EvaluateText("3");
    }
    EXPECT_EQ(global.PrepareLevel(), level);
}
