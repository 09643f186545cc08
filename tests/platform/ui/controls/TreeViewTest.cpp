// Tree views: nodes under their parents, their data, clearing, and the
// choice of a node by the program and by the user.
#include "platform/core/Exceptions.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/ui/kernel/Forms.h"

#include <gtest/gtest.h>

#include <QTreeWidget>

using namespace ui;

TEST(TreeView, NodesHangUnderTheirParentsAndTheChoiceIsReported)
{
    TForm* form = CreateComponent<TForm>(nullptr);
    auto* view = new TTreeView(form);
    view->SetParent(form);
    std::vector<std::string> chosen;
    view->OnChange = [&](core::TObject* sender, TTreeNode* node) {
        EXPECT_EQ(sender, view);
        chosen.push_back(node != nullptr ? node->Text() : "(none)");
    };
    TTreeNodes& nodes = view->Items();
    nodes.BeginUpdate();
    TTreeNode* chapter = nodes.AddChild(nullptr, "Kapitola 1");
    TTreeNode* section = nodes.AddChild(chapter, "Oddíl 1.1");
    TTreeNode* second = nodes.AddChild(chapter, "Oddíl 1.2");
    nodes.AddChild(nullptr, "Kapitola 2");
    nodes.EndUpdate();
    nodes.EndUpdate(); // one too many is harmless
    section->SetData(42);
    EXPECT_EQ(nodes.Count(), 4);
    EXPECT_EQ(nodes.TopCount(), 2);
    EXPECT_EQ(chapter->Count(), 2);
    EXPECT_EQ(chapter->Item(1), second);
    EXPECT_THROW(chapter->Item(2), core::EListError);
    EXPECT_EQ(section->Parent(), chapter);
    EXPECT_EQ(section->Level(), 1);
    EXPECT_EQ(chapter->Level(), 0);
    EXPECT_EQ(section->Data(), 42);

    auto* tree = static_cast<QTreeWidget*>(view->Widget());
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->child(0)->text(0).toStdString(), "Oddíl 1.1");
    second->SetText("Oddíl 1.2 – dodatek");
    EXPECT_EQ(tree->topLevelItem(0)->child(1)->text(0).toStdString(), "Oddíl 1.2 – dodatek");

    view->SetSelected(section);
    EXPECT_EQ(view->Selected(), section);
    view->SetSelected(section);
    tree->setCurrentItem(tree->topLevelItem(1)); // the user's choice
    EXPECT_EQ(view->Selected(), nodes.TopItem(1));
    nodes.Clear();
    EXPECT_EQ(nodes.Count(), 0);
    EXPECT_EQ(view->Selected(), nullptr);
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_EQ(chosen, (std::vector<std::string>{"Oddíl 1.1", "Kapitola 2"}));
    FreeComponent(form);
}
