// Mask edits and combo boxes: what the user may type through a mask, the
// text of optional places, and a combo box's items, typed text and changes.
#include "platform/ui/controls/ComboBox.h"
#include "platform/ui/controls/Mask.h"
#include "platform/ui/kernel/Forms.h"
#include "tests/platform/ui/FormFixture.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace ui;

namespace {

using MaskCombo = uitest::FormFixture;

} // namespace

TEST(EditMaskTest, TranslatesToQtInputMasks)
{
    EXPECT_EQ(QtInputMask(""), "");
    EXPECT_EQ(QtInputMask("9999"), "0000; ");
    EXPECT_EQ(QtInputMask("00/00/0000;1;_"), "99/99/9999; ");
    EXPECT_EQ(QtInputMask("LlAaCc#"), "AaNnXx#; ");
    EXPECT_EQ(QtInputMask("\\9-H"), "\\9-\\H; ");
}

TEST_F(MaskCombo, AMaskOfOptionalDigitsTakesOnlyDigits)
{
    auto* edit = Make<TMaskEdit>();
    edit->SetEditMask("9999");
    EXPECT_EQ(edit->EditMask(), "9999");
    edit->SetText("12");
    EXPECT_EQ(edit->Text(), "12");
    edit->SetText("");
    auto* line = static_cast<QLineEdit*>(edit->Widget());
    line->setFocus();
    line->setCursorPosition(0);
    QTest::keyClicks(line, "1x2.345");
    EXPECT_EQ(edit->Text(), "1234");
    edit->SetEditMask("");
    edit->SetText("free text");
    EXPECT_EQ(edit->Text(), "free text");
}

TEST_F(MaskCombo, ComboBoxKeepsTypedTextAndItems)
{
    auto* combo = Make<TComboBox>();
    int changes = 0;
    combo->OnChange = [&](core::TObject* sender) {
        EXPECT_EQ(sender, combo);
        ++changes;
    };
    combo->SetText("#,##0.00");
    EXPECT_EQ(combo->Text(), "#,##0.00");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(changes, 1);
    combo->Items().Add("0.00");
    combo->Items().Add("%m");
    auto* box = static_cast<QComboBox*>(combo->Widget());
    EXPECT_EQ(box->count(), 2);
    EXPECT_EQ(combo->Text(), "#,##0.00"); // new items leave the text alone
    EXPECT_EQ(changes, 1);
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), "%m");
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->Text(), "");
    QTest::keyClicks(box->lineEdit(), "0.0");
    EXPECT_EQ(combo->Text(), "0.0");
}
