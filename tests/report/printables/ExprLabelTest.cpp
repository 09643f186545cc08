// Expression labels: the caption of an expression, the printed value by kind
// and Mask (money included), the report's data sets and variables,
// aggregates over the printed records of a master, resets and the end of a
// run.
#include "PrintableFakes.h"
#include "platform/core/FormatSettings.h"
#include "report/expr/RpEnvironment.h"
#include "report/printables/RpExprLabel.h"
#include "tests/report/expr/ExprTestSupport.h"

#include <gtest/gtest.h>

using namespace report;
using namespace report::fakes;
using Lines = std::vector<std::string>;

namespace {

const std::string kNbsp = "\u00A0";

// A master that registers expression labels, as a sub-detail does.
class FakeSubDetail : public core::TComponent, public TRpExprNotifyHost {
public:
    FakeSubDetail() : core::TComponent(nullptr) {}
    void AddNotifyExpr(TRpPrintable* expression) override { Exprs.push_back(expression); }
    std::vector<TRpPrintable*> Exprs;
};

// An expression label on a band of a report, printed on pages, with Czech
// number conventions.
class ExprLabelTest : public testing::Test {
protected:
    ExprLabelTest() : saved_(core::FormatSettings), band(&report, &report), expr(nullptr), run(report)
    {
        core::FormatSettings = core::TFormatSettings::Czech();
        report.Functions = &functions;
        report.DataSets = &dataSets;
        expr.SetParent(&band);
        expr.SetAutoSize(false);
        expr.SetTransparent(true);
        expr.Size().SetUnits(TRpUnit::Native);
        expr.Size().SetWidth(1500);
        expr.Size().SetHeight(100);
    }
    ~ExprLabelTest() override
    {
        while (functions.IsPrepared())
            functions.ReleaseEnvironment();
        core::FormatSettings = saved_;
    }

    // The texts of one printing on a page of its own.
    Lines PrintedOnce()
    {
        run.NewPage();
        expr.PrintAt(0, 0);
        const int page = run.Printer().PageCount();
        run.NewPage();
        return run.Texts(page);
    }
    // The report prepares its variables before its printables begin.
    void Begin()
    {
        functions.PrepareEnvironment();
        run.Begin();
        expr.BeginRun();
    }

    core::TFormatSettings saved_;
    TRpEvEnvironment functions;
    TRpDataSetList dataSets;
    PanelReport report;
    FakeBand band;
    TRpExpr expr;
    PageRun run;
};

} // namespace

TEST_F(ExprLabelTest, TheCaptionShowsTheExpressionOrNone)
{
    TRpExpr fresh(nullptr);
    EXPECT_EQ(fresh.Caption(), "(none)");
    EXPECT_EQ(fresh.Expression(), "");
    EXPECT_EQ(fresh.Mask(), "");
    EXPECT_EQ(fresh.Master(), nullptr);
    EXPECT_FALSE(fresh.ResetAfterPrint());
    fresh.SetExpression("1+2");
    EXPECT_EQ(fresh.Caption(), "1+2");
    EXPECT_EQ(fresh.PrintCaption(), "1+2");
    fresh.SetMask("0.00");
    EXPECT_EQ(fresh.Caption(), "1+2");
    fresh.SetExpression("");
    EXPECT_EQ(fresh.Caption(), "(none)");
    EXPECT_STREQ(TRpExpr::StaticClass().Name, "TRpExpr");
}

TEST_F(ExprLabelTest, ValuesAreWrittenByKindAndMask)
{
    EXPECT_EQ(expr.ValueText(TRpEvValue::Integer(1234)), "1234");
    expr.SetMask("#,##0.00");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Integer(1234)), "1" + kNbsp + "234,00");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Float(1234567.891)), "1" + kNbsp + "234" + kNbsp + "567,89");
    EXPECT_EQ(expr.ValueText(TRpEvValue::String("text")), "text");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Boolean(true)), "True");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Boolean(false)), "False");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Error("Cannot divide by 0")), "Cannot divide by 0");
    expr.SetMask("");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Float(2.5)), "2,5");
    // Money: the mask is a format string of the amount.
    expr.SetMask("Celkem %m");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Float(1500.5)), "Celkem 1" + kNbsp + "500,50 Kč");
    // A whole amount too.
    EXPECT_EQ(expr.ValueText(TRpEvValue::Integer(7)), "Celkem 7,00 Kč");
    expr.SetMask("0.0");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Integer(7)), "7,0");
}

TEST_F(ExprLabelTest, EachPrintingEvaluatesAnew)
{
    functions.DefineVariable("RATE", "2.5");
    expr.SetExpression("RATE*4");
    expr.SetMask("0.00");
    Begin();
    EXPECT_EQ(PrintedOnce(), (Lines{"10,00"}));
    expr.SetExpression("'a'+'b'");
    expr.EndRun();
    expr.BeginRun();
    EXPECT_EQ(PrintedOnce(), (Lines{"ab"}));
    expr.SetExpression("1/0");
    expr.EndRun();
    expr.BeginRun();
    EXPECT_EQ(PrintedOnce(), (Lines{"Cannot divide by 0"}));
    expr.EndRun();
    run.End();
}

TEST_F(ExprLabelTest, FieldsOfTheReportsDataSets)
{
    test::TestData data;
    data.Exec("CREATE TABLE items (amount REAL)");
    data.Exec("INSERT INTO items VALUES (1250.5)");
    dataSets.push_back(data.Query("ITEMS", "SELECT amount FROM items"));
    expr.SetExpression("ITEMS.AMOUNT");
    expr.SetMask("%m");
    Begin();
    EXPECT_EQ(PrintedOnce(), (Lines{"1" + kNbsp + "250,50 Kč"}));
    expr.EndRun();
    run.End();
    EXPECT_EQ(expr.Evaluator().DataSets(), nullptr);
}

TEST_F(ExprLabelTest, AggregatesStepWithTheMastersPrintedBands)
{
    test::TestData data;
    data.Exec("CREATE TABLE items (amount INTEGER)");
    data.Exec("INSERT INTO items VALUES (10), (20), (30)");
    data::TADOQuery* items = data.Query("ITEMS", "SELECT amount FROM items");
    dataSets.push_back(items);
    expr.SetExpression("SUM(ITEMS.AMOUNT)");
    Begin();
    // Without a master its own report registers it, as it has an aggregate.
    ASSERT_EQ(report.NotifyExprs, (std::vector<TRpPrintable*>{&expr}));
    EXPECT_EQ(PrintedOnce(), (Lines{"0"}));
    for (; !items->Eof(); items->Next())
        expr.BandNotify(&band, TRpPrintable::kBandPrinted);
    expr.BandNotify(&band, TRpPrintable::kBandBoundsChanged); // no step
    EXPECT_EQ(PrintedOnce(), (Lines{"60"}));
    // Printed again without a reset: the total stays.
    EXPECT_EQ(PrintedOnce(), (Lines{"60"}));
    expr.SetResetAfterPrint(true);
    EXPECT_EQ(PrintedOnce(), (Lines{"60"}));
    EXPECT_EQ(PrintedOnce(), (Lines{"0"}));
    expr.EndRun();
    run.End();
    EXPECT_EQ(expr.Caption(), "SUM(ITEMS.AMOUNT)");
    EXPECT_EQ(expr.PrintCaption(), "SUM(ITEMS.AMOUNT)");
    EXPECT_FALSE(expr.Evaluator().Parsed());
}

TEST_F(ExprLabelTest, AMasterRegistersItInsteadOfTheReport)
{
    FakeSubDetail subDetail;
    expr.SetExpression("COUNT");
    expr.SetMaster(&subDetail);
    Begin();
    EXPECT_EQ(subDetail.Exprs, (std::vector<TRpPrintable*>{&expr}));
    EXPECT_TRUE(report.NotifyExprs.empty());
    expr.BandNotify(&band, TRpPrintable::kBandPrinted);
    expr.BandNotify(&band, TRpPrintable::kBandPrinted);
    EXPECT_EQ(PrintedOnce(), (Lines{"2"}));
    expr.EndRun();

    // Without an aggregate and without a master nobody registers it.
    expr.SetMaster(nullptr);
    expr.SetExpression("1");
    subDetail.Exprs.clear();
    expr.BeginRun();
    EXPECT_TRUE(report.NotifyExprs.empty());
    EXPECT_TRUE(subDetail.Exprs.empty());
    expr.EndRun();
    run.End();
}

TEST_F(ExprLabelTest, AMasterThatGoesAwayIsForgotten)
{
    auto* master = new FakeSubDetail;
    expr.SetMaster(master);
    delete master;
    EXPECT_EQ(expr.Master(), nullptr);
}

TEST_F(ExprLabelTest, AMaskThatCannotBeAppliedPrintsItsErrorAndTheRunGoesOn)
{
    expr.SetExpression("1.5");
    expr.SetMask("%m and %m");
    Begin();
    run.NewPage();
    EXPECT_NO_THROW(expr.PrintAt(0, 0));
    expr.SetMask("0.00");
    expr.PrintAt(0, 200);
    expr.EndRun();
    run.End();
    EXPECT_EQ(run.Texts(2), (Lines{"No argument for format '%m'", "1,50"}));
}

TEST_F(ExprLabelTest, EachMaskThatCannotBeAppliedGivesItsErrorInPlaceOfTheValue)
{
    const TRpEvValue amount = TRpEvValue::Float(1500.5);
    // A second value asked for, whole or text.
    expr.SetMask("%m %s");
    EXPECT_EQ(expr.ValueText(amount), "No argument for format '%s'");
    expr.SetMask("%m %m");
    EXPECT_EQ(expr.ValueText(amount), "No argument for format '%m'");
    // A whole number or a text in a mask with words around it.
    expr.SetMask("Počet: %d kusů");
    EXPECT_EQ(expr.ValueText(amount), "Format '%d' invalid or incompatible with argument");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Integer(3)), "Format '%d' invalid or incompatible with argument");
    expr.SetMask("Jméno: %s");
    EXPECT_EQ(expr.ValueText(amount), "Format '%s' invalid or incompatible with argument");
    expr.SetMask("%*m");
    EXPECT_EQ(expr.ValueText(amount), "Format '%*m' invalid or incompatible with argument");
    // Upper case is the same type.
    expr.SetMask("%.1M");
    EXPECT_EQ(expr.ValueText(amount), "1" + kNbsp + "500,5 Kč");
    // Texts, booleans and errors do not go through the mask.
    EXPECT_EQ(expr.ValueText(TRpEvValue::String("Novák")), "Novák");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Boolean(true)), "True");
}

TEST_F(ExprLabelTest, MoneyMasksTakeTheirPrecisionAndWidth)
{
    expr.SetMask("%.0m");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Float(1500.5)), "1" + kNbsp + "501 Kč");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Float(1499.4)), "1" + kNbsp + "499 Kč");
    expr.SetMask("%10m");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Float(7.5)), "   7,50 Kč");
    expr.SetMask("Celkem %-10.1m|");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Float(7.25)), "Celkem 7,3 Kč    |");
    // The index of the only value.
    expr.SetMask("%0:m");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Float(2)), "2,00 Kč");
    // A per cent sign of its own is no specifier: the mask stays a picture.
    expr.SetMask("0.0 %%");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Float(12.34)), "12,3 %%");
    expr.SetMask("0 %");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Integer(12)), "12 %");
}

TEST_F(ExprLabelTest, WholeNumbersAreWrittenAsFloatingValuesUnderEveryMask)
{
    // A sum of whole amounts prints as money, not as the mask's letters.
    expr.SetMask("%m");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Integer(1239)), "1" + kNbsp + "239,00 Kč");
    expr.SetMask("%.0m");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Integer(-7)), "-7 Kč");
    expr.SetMask("#,##0.00");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Integer(1239)), "1" + kNbsp + "239,00");
    expr.SetMask("");
    EXPECT_EQ(expr.ValueText(TRpEvValue::Integer(-5)), "-5");
}

TEST_F(ExprLabelTest, NothingIsEvaluatedForADisabledVisibleLabel)
{
    expr.SetExpression("COUNT");
    Begin();
    expr.SetEnabled(false);
    EXPECT_EQ(PrintedOnce(), Lines{});
    expr.EndRun();
    run.End();
}
