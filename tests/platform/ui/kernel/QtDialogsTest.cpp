#include "platform/ui/kernel/QtDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QInputDialog>
#include <QPushButton>
#include <QTimer>

#include <functional>

using namespace ui;

namespace {

// Runs look on the dialog that the next modal question shows, then closes it.
void WhenTheDialogShows(std::function<void(QWidget*)> look)
{
    QTimer::singleShot(0, [look] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        look(dialog);
    });
}

} // namespace

TEST(QtDialogs, InputBoxIsWideEnoughForItsCaptionAndAnswersInCzech)
{
    TQtDialogService service;
    for (const char* caption : {"Okresní soud v ...", "Krajský soud v ...", "Účatníci smlouvy "}) {
        SCOPED_TRACE(caption);
        int width = 0;
        QStringList buttons;
        WhenTheDialogShows([&](QWidget* dialog) {
            width = dialog->width();
            for (QPushButton* button : dialog->findChildren<QPushButton*>())
                buttons << button->text();
            auto* input = static_cast<QInputDialog*>(dialog);
            input->setTextValue(QStringLiteral("v Kolíně"));
            input->accept();
        });
        std::string value = "v Benešově";
        EXPECT_TRUE(service.InputQuery(caption, "Doplňte: \"Okresního soudu ...\"", value));
        EXPECT_EQ(value, "v Kolíně");
        // The title bar shows the caption whole beside the window's buttons.
        const int captionWidth = QFontMetrics(QApplication::font()).horizontalAdvance(QString::fromUtf8(caption));
        EXPECT_GE(width, captionWidth + 120);
        EXPECT_GE(width, 300);
        buttons.sort();
        EXPECT_EQ(buttons, QStringList({"OK", "Storno"}));
    }
}

TEST(QtDialogs, CancelledInputBoxKeepsTheValue)
{
    TQtDialogService service;
    WhenTheDialogShows([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
    std::string value = "v Brně";
    EXPECT_FALSE(service.InputQuery("Krajský soud v ...", "Doplňte: \"Krajského soudu ...\"", value));
    EXPECT_EQ(value, "v Brně");
}

TEST(QtDialogs, MessageBoxIsWideEnoughForItsCaption)
{
    TQtDialogService service;
    const char* caption = "Získání souboru z úschovny";
    int width = 0;
    QStringList buttons;
    WhenTheDialogShows([&](QWidget* dialog) {
        width = dialog->width();
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            buttons << button->text();
        static_cast<QDialog*>(dialog)->reject();
    });
    EXPECT_EQ(service.MessageBox("Přejete si načíst úschovnu?", caption, MB_YESNO | MB_ICONINFORMATION), IDNO);
    const int captionWidth = QFontMetrics(QApplication::font()).horizontalAdvance(QString::fromUtf8(caption));
    EXPECT_GE(width, captionWidth + 120);
    EXPECT_EQ(buttons, QStringList({"Ano", "Ne"}));
}
