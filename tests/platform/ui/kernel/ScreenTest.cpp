#include "platform/ui/kernel/DataModule.h"
#include "platform/ui/kernel/RegisteredMessages.h"
#include "platform/ui/kernel/Screen.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace ui;

TEST(Screen, ListsTheDataModulesThatExistInCreationOrder)
{
    int before = Screen()->DataModuleCount();
    auto* first = CreateComponent<TDataModule>(nullptr);
    auto* second = CreateComponent<TDataModule>(nullptr);
    ASSERT_EQ(Screen()->DataModuleCount(), before + 2);
    EXPECT_EQ(Screen()->DataModules(before), first);
    EXPECT_EQ(Screen()->DataModules(before + 1), second);
    FreeComponent(first);
    ASSERT_EQ(Screen()->DataModuleCount(), before + 1);
    EXPECT_EQ(Screen()->DataModules(before), second);
    FreeComponent(second);
    EXPECT_EQ(Screen()->DataModuleCount(), before);
    EXPECT_THROW(Screen()->DataModules(before), std::out_of_range);
}

TEST(RegisteredMessages, OneNumberPerNameWhateverItsCase)
{
    UINT help = RegisterWindowMessage("commdlg_help");
    UINT find = RegisterWindowMessage("commdlg_FindReplace");
    EXPECT_GE(help, kFirstRegisteredMessage);
    EXPECT_GE(find, kFirstRegisteredMessage);
    EXPECT_NE(help, find);
    EXPECT_EQ(RegisterWindowMessage("COMMDLG_HELP"), help);
    EXPECT_EQ(RegisterWindowMessage(""), 0u);
}
