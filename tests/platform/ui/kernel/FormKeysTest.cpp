// Forms that see the keys of their controls first, and forms that stay on top.
#include "platform/ui/controls/Edits.h"
#include "platform/ui/kernel/Forms.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

using namespace ui;

namespace {

struct FormKeys : testing::Test {
    TForm* form = CreateComponent<TForm>(nullptr);
    TEdit* edit = new TEdit(form);
    std::vector<std::string> seen;
    bool take = false;

    FormKeys()
    {
        edit->SetParent(form);
        form->OnKeyDown = [this](core::TObject* sender, WORD& key, TShiftState shift) {
            EXPECT_EQ(sender, form);
            seen.push_back(std::to_string(key) + ((shift & ssCtrl) != 0 ? "+ctrl" : ""));
            if (take)
                key = 0;
        };
        form->Show();
    }
    ~FormKeys() override { FreeComponent(form); }
};

} // namespace

TEST_F(FormKeys, WithKeyPreviewTheFormHearsItsControlsKeysFirstAndMayTakeThem)
{
    QTest::keyClick(edit->Widget(), Qt::Key_A);
    EXPECT_TRUE(seen.empty()) << "no preview, the edit's key is its own";
    EXPECT_EQ(edit->Text(), "a");

    form->SetKeyPreview(true);
    QTest::keyClick(edit->Widget(), Qt::Key_B);
    QTest::keyClick(edit->Widget(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(seen, (std::vector<std::string>{std::to_string('B'), std::to_string(VK_END) + "+ctrl"}));
    EXPECT_EQ(edit->Text(), "ab");

    take = true;
    QTest::keyClick(edit->Widget(), Qt::Key_C);
    EXPECT_EQ(edit->Text(), "ab") << "the form took the key";
    EXPECT_EQ(seen.size(), 3u) << "offered once, though Qt hands it up the parents";

    form->SetKeyPreview(false);
    take = false;
    QTest::keyClick(edit->Widget(), Qt::Key_D);
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(edit->Text(), "abd");
}

TEST_F(FormKeys, KeysOfOtherWindowsAreNotTheForms)
{
    form->SetKeyPreview(true);
    TForm* other = CreateComponent<TForm>(nullptr);
    auto* otherEdit = new TEdit(other);
    otherEdit->SetParent(other);
    other->Show();
    QTest::keyClick(otherEdit->Widget(), Qt::Key_X);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(otherEdit->Text(), "x");
    FreeComponent(other);
}

TEST_F(FormKeys, AStayOnTopFormKeepsItsWindowShown)
{
    EXPECT_EQ(form->FormStyle(), TFormStyle::fsNormal);
    form->SetFormStyle(TFormStyle::fsStayOnTop);
    EXPECT_TRUE(form->Widget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form->Widget()->isVisible());
    form->SetFormStyle(TFormStyle::fsNormal);
    EXPECT_FALSE(form->Widget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}
