#include "platform/ui/kernel/InterfaceLanguage.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileDialog>
#include <QLocale>
#include <QTranslator>

using namespace ui;

TEST(InterfaceLanguage, QtsOwnDialogsAndCalendarsSpeakCzechWhateverTheDesktop)
{
    const QLocale saved;
    // Qt starts with the desktop's locale as its default.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QTranslator* translation = InstallInterfaceLanguage();
    ASSERT_NE(translation, nullptr) << "Qt's Czech translation is not installed";
    EXPECT_EQ(QLocale().language(), QLocale::Czech);
    EXPECT_EQ(QLocale().standaloneMonthName(12).toStdString(), "prosinec");
    EXPECT_EQ(QLocale().dayName(1, QLocale::ShortFormat).toStdString(), "po");
    const struct {
        const char* context;
        const char* source;
        const char* disambiguation;
        const char* czech;
    } texts[] = {
        {"QFileDialog", "Save As", nullptr, "Uložit jako"},
        {"QFileDialog", "File &name:", nullptr, "Název &souboru:"},
        {"QFileDialog", "%1\nFile not found.\nPlease verify the correct file name was given.", nullptr,
         "%1\nSoubor se nepodařilo nalézt.\nOvěřte, prosím, že byl zadán správný název souboru."},
        {"QFileDialog", "%1 already exists.\nDo you want to replace it?", nullptr,
         "Soubor %1 již existuje.\nChcete jej nahradit?"},
        {"QAbstractFileIconProvider", "Folder", "All other platforms", "Složka"},
    };
    for (const auto& text : texts)
        EXPECT_EQ(QCoreApplication::translate(text.context, text.source, text.disambiguation).toStdString(),
                  text.czech);
    QCoreApplication::removeTranslator(translation);
    delete translation;
    QLocale::setDefault(saved);
}
