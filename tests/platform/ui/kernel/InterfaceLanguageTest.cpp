#include "platform/ui/kernel/InterfaceLanguage.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileDialog>
#include <QLocale>
#include <QTranslator>

using namespace ui;

TEST(InterfaceLanguage, CzechWhereTheDesktopNamesNoLanguage)
{
    EXPECT_EQ(InterfaceLocale(QLocale::c()).language(), QLocale::Czech);
    EXPECT_EQ(InterfaceLocale(QLocale(QLocale::Czech, QLocale::Czechia)).language(), QLocale::Czech);
    EXPECT_EQ(InterfaceLocale(QLocale(QLocale::German, QLocale::Germany)).language(), QLocale::German);
}

TEST(InterfaceLanguage, QtsOwnDialogsAndCalendarsSpeakCzech)
{
    const QLocale saved;
    QTranslator* translation = InstallInterfaceLanguage(QLocale::c());
    ASSERT_NE(translation, nullptr) << "Qt's Czech translation is not installed";
    EXPECT_EQ(QLocale().standaloneMonthName(12).toStdString(), "prosinec");
    EXPECT_EQ(QLocale().dayName(1, QLocale::ShortFormat).toStdString(), "po");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Save As").toStdString(), "Uložit jako");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:").toStdString(), "Název &souboru:");
    QCoreApplication::removeTranslator(translation);
    delete translation;
    QLocale::setDefault(saved);
}
