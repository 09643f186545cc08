// The detail loop: groups breaking on their expressions, empty data, data
// asked from an event, sub-details, notifications and reprinted headers.
#include "BandTestSupport.h"

#include "platform/data/DataError.h"
#include "platform/data/Query.h"
#include "report/bands/RpControllerBand.h"
#include "report/bands/RpGroup.h"
#include "report/printer/RpPrinter.h"

#include <gtest/gtest.h>

namespace report::testing {
namespace {

using Names = std::vector<std::string>;

const std::vector<std::string> kRows = {"'A', 'x', 'one', 1", "'A', 'x', 'two', 2", "'A', 'y', 'three', 3",
                                        "'B', 'y', 'four', 4", "'B', 'y', 'five', 5"};

TRpGroup* AddGroup(ReportForm& f, const std::string& name, const std::string& expression, long double height = 50)
{
    auto* group = new TRpGroup(f.Form());
    group->SetName(name);
    group->SetParent(f.Report());
    group->SetExpression(expression);
    group->Size().SetUnits(TRpUnit::Native);
    group->Size().SetHeight(height);
    TRpBand* footer = f.AddBand(TRpBandType::rbDetail, name + "Footer", height);
    group->SetFooterBand(footer);
    f.Watch(group);
    return group;
}

TEST(Controller, NestedGroupsBreakInnermostFooterFirst)
{
    ReportForm f(kRows);
    f.Query()->Open();
    f.AddBand(TRpBandType::rbTitle, "Title", 50);
    AddGroup(f, "Outer", "grp");
    AddGroup(f, "Inner", "Query.sub");
    f.AddBand(TRpBandType::rbDetail, "Detail", 50);
    f.AddBand(TRpBandType::rbSummary, "Summary", 50);
    f.Generate();
    EXPECT_EQ(f.Log, (Names{"Title",       "Outer",       "Inner",  "Detail", "Detail", "InnerFooter",
                            "Inner",       "Detail",      "InnerFooter", "OuterFooter", "Outer", "Inner",
                            "Detail",      "Detail",      "InnerFooter", "OuterFooter", "Summary"}));
    EXPECT_EQ(static_cast<TRpController&>(f.Report()->Controller()).DetailNumber(), 5);
    EXPECT_TRUE(f.Report()->Available());
    EXPECT_EQ(f.Report()->DataSets(), nullptr);
}

TEST(Controller, GroupFootersPrintWhileTheGroupsLastRecordIsCurrent)
{
    ReportForm f(kRows);
    f.Query()->Open();
    AddGroup(f, "Outer", "grp");
    f.AddBand(TRpBandType::rbDetail, "Detail", 50);
    std::vector<std::string> seen;
    f.Report()->FindComponent("OuterFooter");
    auto* footer = static_cast<TRpCustomBand*>(f.Form()->FindComponent("OuterFooter"));
    footer->BeforePrint = [&](TRpCustomBand*, bool&) { seen.push_back(f.Query()->FieldByName("name")->AsString()); };
    f.Generate();
    EXPECT_EQ(seen, (Names{"three", "five"}));
}

TEST(Controller, EmptyDataPrintsHeaderDetailAndFooterOnceWithoutGroups)
{
    ReportForm f;
    f.Query()->Open();
    f.AddBand(TRpBandType::rbTitle, "Title", 50);
    AddGroup(f, "Group", "grp");
    f.AddBand(TRpBandType::rbDetail, "Detail", 50);
    f.AddBand(TRpBandType::rbSummary, "Summary", 50);
    f.Generate();
    EXPECT_EQ(f.Log, (Names{"Title", "Detail", "Summary"}));
    EXPECT_EQ(f.Report()->PageCount(), 1);

    f.Report()->SetPrintIfEmpty(false);
    f.Generate();
    EXPECT_TRUE(f.Log.empty());
    EXPECT_EQ(f.Report()->PageCount(), 0);
}

TEST(Controller, ClosedDataSetCountsAsNone)
{
    ReportForm f(kRows);
    f.AddBand(TRpBandType::rbDetail, "Detail", 50);
    f.Generate();
    EXPECT_EQ(f.Log, (Names{"Detail"}));
}

TEST(Controller, DataAskedFromTheEventBeforeTheFirstRecordAndAfterEach)
{
    ReportForm f;
    f.Report()->SetDataSet(nullptr);
    f.AddBand(TRpBandType::rbTitle, "Title", 50);
    f.AddBand(TRpBandType::rbDetail, "Detail", 50);
    int calls = 0;
    core::TObject* sender = nullptr;
    f.Report()->OnNeedData = [&](core::TObject* s, bool& more) {
        sender = s;
        more = ++calls <= 3;
    };
    f.Generate();
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(sender, f.Report());
    EXPECT_EQ(f.Log, (Names{"Title", "Detail", "Detail", "Detail"}));

    calls = 10;
    f.Generate();
    EXPECT_EQ(calls, 11);
    EXPECT_TRUE(f.Log.empty());
}

TEST(Controller, SubDetailPrintsAfterOrBeforeItsMastersDetail)
{
    ReportForm f({"'A', 'x', 'one', 1", "'B', 'x', 'two', 2"});
    f.Query()->Open();
    f.AddBand(TRpBandType::rbDetail, "Detail", 50);
    auto* sub = new TRpSubDetail(f.Form());
    sub->SetName("Sub");
    sub->SetParent(f.Report());
    f.Watch(sub);
    int n = 0;
    sub->OnNeedData() = [&](core::TObject*, bool& more) {
        more = n < 2;
        n = more ? n + 1 : 0;
    };
    f.Generate();
    EXPECT_EQ(f.Log, (Names{"Detail", "Sub", "Sub", "Detail", "Sub", "Sub"}));
    EXPECT_EQ(f.Report()->BandList().back()->Name(), "Sub");

    sub->SetPrintBefore(true);
    f.Generate();
    EXPECT_EQ(f.Log, (Names{"Sub", "Sub", "Detail", "Sub", "Sub", "Detail"}));
}

TEST(Controller, SuppressedAndDisabledBands)
{
    ReportForm f(kRows);
    f.Query()->Open();
    TRpBand* detail = f.AddBand(TRpBandType::rbDetail, "Detail", 50);
    detail->SetHasChild(true);
    detail->ChildBand()->SetName("Child");
    f.Watch(detail->ChildBand());
    TextPrintable* sum = f.AddText(detail, "x");
    sum->NotifyMe = true;
    std::vector<bool> after;
    int before = 0;
    detail->BeforePrint = [&](TRpCustomBand*, bool& print) { print = ++before % 2 == 1; };
    detail->AfterPrint = [&](TRpCustomBand*, bool printed) { after.push_back(printed); };
    f.Generate();
    EXPECT_EQ(after, (std::vector<bool>{true, false, true, false, true}));
    EXPECT_EQ(f.Log, (Names{"Child", "Child", "Child", "Child", "Child"}));
    EXPECT_EQ(sum->Notified, 3);
    EXPECT_EQ(sum->Printed.size(), 3u);

    // A disabled band calls no BeforePrint but still steps the aggregates.
    before = 0;
    after.clear();
    detail->SetEnabled(false);
    f.Generate();
    EXPECT_EQ(before, 0);
    EXPECT_EQ(after, (std::vector<bool>(5, false)));
    EXPECT_EQ(sum->Notified, 5);
    EXPECT_TRUE(sum->Printed.empty());
}

TEST(Controller, ReprintOnNewPageRepeatsTheHeaderOnEveryFollowingPage)
{
    std::vector<std::string> rows(6, "'A', 'x', 'n', 1");
    ReportForm f(rows);
    f.Query()->Open();
    TRpGroup* group = AddGroup(f, "Group", "grp", 100);
    f.AddBand(TRpBandType::rbDetail, "Detail", 1000);
    f.Generate();
    EXPECT_EQ(f.Log, (Names{"Group", "Detail", "Detail", "Detail", "Detail", "Detail", "Detail", "GroupFooter"}));
    group->SetReprintOnNewPage(true);
    f.Generate();
    EXPECT_EQ(f.Log, (Names{"Group", "Detail", "Detail", "Group", "Detail", "Detail", "Group", "Detail", "Detail",
                            "GroupFooter"}));
    EXPECT_EQ(f.Report()->PageCount(), 3);
}

TEST(Controller, QueryParametersComeFromTheReportsVariables)
{
    ReportForm f(kRows);
    auto* query = new data::TQuery(f.Form());
    query->SetName("Params");
    query->SetConnection(f.Query()->Connection());
    query->SQL()->Add("SELECT * FROM items WHERE grp = :grp AND amount >= :least AND name <> ':not' ORDER BY id");
    ASSERT_EQ(query->ParamCount(), 2);
    query->Params().ParamByName("GRP").DataType = data::TParamDataType::String;
    query->Params().ParamByName("least").DataType = data::TParamDataType::Integer;
    query->Params().ParamByName("least").Value = data::Variant(0);
    EXPECT_THROW(query->Params().ParamByName("not"), data::EDatabaseError);
    query->Open();
    f.Report()->SetDataSet(query);
    TextPrintable* names = f.AddText(f.AddBand(TRpBandType::rbDetail, "Detail", 50), "x");
    EXPECT_FALSE(f.Report()->QueryTakesVariables(query));
    f.Report()->Functions().DefineVariable("GRP", "'B'");
    EXPECT_TRUE(f.Report()->QueryTakesVariables(query));
    f.Generate();
    EXPECT_EQ(names->Printed.size(), 2u);
    // A value of another kind leaves the parameter as it was.
    f.Report()->Functions().DefineVariable("LEAST", "'5'");
    f.Generate();
    EXPECT_EQ(names->Printed.size(), 2u);
    f.Report()->Functions().RemoveVariable("LEAST");
    f.Report()->Functions().DefineVariable("LEAST", "5");
    f.Generate();
    EXPECT_EQ(names->Printed.size(), 1u);
    EXPECT_EQ(query->FieldByName("name")->AsString(), "five");
}

TEST(Groups, KindChangesBreakErrorsNever)
{
    ReportForm f;
    TRpGroup* group = AddGroup(f, "Group", "1");
    auto test = [&](const std::string& expression) {
        group->Evaluator().Parse(expression);
        group->TestChange();
        return group->Changed();
    };
    EXPECT_TRUE(test("1"));
    EXPECT_FALSE(test("1"));
    EXPECT_TRUE(test("1.0"));
    EXPECT_FALSE(test("1.0"));
    EXPECT_TRUE(test("'a'"));
    EXPECT_TRUE(test("'A'"));
    EXPECT_TRUE(test("'A '"));
    EXPECT_TRUE(test("1/0"));
    EXPECT_FALSE(test("2/0"));
    EXPECT_TRUE(test("TRUE"));
    group->Evaluator().Release();
}

} // namespace
} // namespace report::testing
