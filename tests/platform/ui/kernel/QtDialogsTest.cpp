#include "platform/ui/kernel/QtDialogs.h"
#include "platform/ui/kernel/InterfaceLanguage.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QInputDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

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

TEST(QtDialogs, FileDialogSpeaksCzechWhateverTheDesktop)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("Spisy"));
    QFile file(folder.filePath("zaznam.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("<a/>") == 4);
    file.close();
    const std::chrono::seconds modified(QDateTime(QDate(2010, 5, 31), QTime(13, 8, 33)).toSecsSinceEpoch());
    for (const char* name : {"Spisy", "zaznam.xml"})
        std::filesystem::last_write_time(folder.filePath(name).toStdString(),
                                         std::chrono::file_clock::from_sys(std::chrono::sys_seconds(modified)));
    // Qt starts with the desktop's locale as its default; then the program installs its language.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const std::unique_ptr<QTranslator> translation(InstallInterfaceLanguage());

    std::map<std::string, QString> seen;
    WhenTheDialogShows([&](QWidget* dialog) {
        const QTreeView* view = dialog->findChild<QTreeView*>("treeView");
        auto columns = [view](const QModelIndex& row) {
            QStringList texts;
            for (int column = 0; column < 4; ++column)
                texts << (row.isValid() ? row.siblingAtColumn(column).data()
                                        : view->model()->headerData(column, Qt::Horizontal))
                             .toString();
            return texts.join('|');
        };
        auto entry = [&](const char* name) {
            const QModelIndex first = view->model()->index(0, 0, view->rootIndex());
            return columns(view->model()->match(first, Qt::DisplayRole, name, 1, Qt::MatchExactly).value(0));
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return entry("zaznam.xml").startsWith("zaznam.xml|4"); }));
        seen = {{"columns", columns({})}, {"folder", entry("Spisy")}, {"file", entry("zaznam.xml")},
                {"title", dialog->windowTitle()}};
        static_cast<QDialog*>(dialog)->reject();
    });
    TFileDialogRequest request;
    request.Save = true;
    request.InitialDir = folder.path().toStdString();
    EXPECT_FALSE(TQtDialogService().FileDialog(request));
    QLocale::setDefault(saved);

    const std::map<std::string, std::string> czech{
        {"columns", "Název|Velikost|Typ|Datum změny"},
        {"folder", "Spisy||Složka|31.05.2010 13:08"},
        {"file", "zaznam.xml|4 bajty|dokument XML|31.05.2010 13:08"},
        {"title", "Uložit jako"},
    };
    for (const auto& [what, text] : czech)
        EXPECT_EQ(seen[what].toStdString(), text) << what;
}
