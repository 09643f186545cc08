// The export-filter list and its save-dialog filter, the data sets offered
// to the expression builder, and the text position helper.
#include "platform/data/ADOQuery.h"
#include "platform/ui/controls/ExtCtrls.h"
#include "platform/ui/kernel/DataModule.h"
#include "platform/ui/kernel/Forms.h"
#include "report/expr/RpDataSetList.h"
#include "report/preview/RpExportFilterLibrary.h"
#include "report/printer/RpExportFilter.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

std::vector<std::string> Names(const core::TStringList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.Get(i));
    return names;
}

data::TADOQuery* Query(core::TComponent* owner, const std::string& name)
{
    auto* query = new data::TADOQuery(owner);
    query->SetName(name);
    return query;
}

} // namespace

TEST(ExportFilterLibraryTest, TheProcessListStartsEmptyAndOffersTheStoredReportFile)
{
    EXPECT_EQ(ExportFilterLibrary().Count(), 0u);
    EXPECT_EQ(ExportFilterLibrary().SaveDialogFilter(), "Report file(*.RPF)|*.RPF");
    EXPECT_EQ(&ExportFilterLibrary(), &ExportFilterLibrary());
}

TEST(ExportFilterLibraryTest, EntriesFollowTheStoredReportFile)
{
    TRpExportFilterLibrary library;
    library.Add([](const std::string& file) { return std::make_unique<TRpExportFilter>(file); }, "PDF files", "pdf");
    library.Add(nullptr, "Prostý text", "txt");
    EXPECT_EQ(library.SaveDialogFilter(),
              "Report file(*.RPF)|*.RPF|PDF files (*.pdf)|*.pdf|Prostý text (*.txt)|*.txt");
    std::unique_ptr<TRpExportFilter> filter = library.CreateFilter(0, "/tmp/out.pdf");
    ASSERT_NE(filter, nullptr);
    EXPECT_EQ(filter->FileName(), "/tmp/out.pdf");
    EXPECT_EQ(library.CreateFilter(1, "x"), nullptr);
    EXPECT_EQ(library.CreateFilter(2, "x"), nullptr);
}

TEST(DataSetListTest, AFormsDataSetsAlsoInsideItsWindowedControls)
{
    ui::TForm form(nullptr);
    Query(&form, "Faktury");
    auto* panel = new ui::TPanel(&form);
    panel->SetName("Panel1");
    Query(panel, "Polozky");
    auto* inner = new ui::TPanel(panel);
    inner->SetName("Panel2");
    Query(inner, "Sklad");
    Query(&form, "Odberatele");

    std::unique_ptr<core::TStringList> list = CollectDataSets(&form, false);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"Faktury", "Polozky", "Sklad", "Odberatele"}));
    EXPECT_EQ(list->Objects(1), panel->FindComponent("Polozky"));
}

TEST(DataSetListTest, DataModulesAloneWhenThereIsNoForm)
{
    auto* module = new ui::TDataModule(nullptr);
    Query(module, "Uzivatele");
    auto* holder = new ui::TPanel(module);
    holder->SetName("Holder");
    Query(holder, "Skryty"); // data modules are not searched deeper
    auto* second = new ui::TDataModule(nullptr);
    Query(second, "Registr");

    std::unique_ptr<core::TStringList> list = CollectDataSets(nullptr, true);
    EXPECT_EQ(Names(*list), (std::vector<std::string>{"Uzivatele", "Registr"}));
    EXPECT_EQ(CollectDataSets(nullptr, false)->Count(), 0);

    ui::FreeComponent(second);
    EXPECT_EQ(Names(*CollectDataSets(nullptr, true)), (std::vector<std::string>{"Uzivatele"}));
    ui::FreeComponent(module);
    EXPECT_EQ(CollectDataSets(nullptr, true)->Count(), 0);
}

TEST(TextPosTest, OneBasedCharacterPositions)
{
    EXPECT_EQ(TextPos("|", "SUM|Součet|hodnot"), 4);
    EXPECT_EQ(TextPos("|", "Součet|x"), 7);
    EXPECT_EQ(TextPos("x", "abc"), 0);
    EXPECT_EQ(TextPos("A", "abc"), 0);
    EXPECT_EQ(TextPos("", "abc"), 0);
    EXPECT_EQ(TextPos("abc", "abc"), 1);
}
