#include "ExprTestSupport.h"

#include "platform/ui/controls/ExtCtrls.h"
#include "platform/ui/kernel/DataModule.h"
#include "report/expr/RpDataSetList.h"

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

} // namespace

TEST(CollectDataSets, FormFirstThroughItsControlsThenEveryDataModule)
{
    ui::TForm* form = ui::CreateComponent<ui::TForm>(nullptr);
    auto* first = new data::TADOQuery(form);
    first->SetName("Registr");
    auto* panel = new ui::TPanel(form);
    // A windowed control that owns a data set of its own (as a frame does).
    auto* inner = new data::TADOQuery(panel);
    inner->SetName("Vnoreny");
    auto* last = new data::TADOQuery(form);
    last->SetName("Uzivatel");
    auto* module = ui::CreateComponent<ui::TDataModule>(nullptr);
    auto* fromModule = new data::TADOQuery(module);
    fromModule->SetName("Sablony");
    // Data modules are not searched below their own components.
    auto* moduleChild = new data::TADOQuery(fromModule);
    moduleChild->SetName("Skryty");

    auto all = CollectDataSets(form, true);
    std::vector<std::string> names = Names(*all);
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4),
              (std::vector<std::string>{"Registr", "Vnoreny", "Uzivatel", "Sablony"}));
    EXPECT_EQ(all->Objects(0), first);
    EXPECT_EQ(all->Objects(1), inner);
    EXPECT_EQ(all->Objects(3), fromModule);
    EXPECT_EQ(all->IndexOf("Skryty"), -1);

    auto formOnly = CollectDataSets(form, false);
    EXPECT_EQ(Names(*formOnly), (std::vector<std::string>{"Registr", "Vnoreny", "Uzivatel"}));

    auto modulesOnly = CollectDataSets(nullptr, true);
    EXPECT_EQ(modulesOnly->IndexOf("Registr"), -1);
    EXPECT_GE(modulesOnly->IndexOf("Sablony"), 0);

    EXPECT_EQ(CollectDataSets(nullptr, false)->Count(), 0);
    ui::FreeComponent(module);
    EXPECT_EQ(CollectDataSets(nullptr, true)->IndexOf("Sablony"), -1);
    ui::FreeComponent(form);
}
