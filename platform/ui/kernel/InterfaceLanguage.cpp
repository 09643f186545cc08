#include "platform/ui/kernel/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace ui {

QLocale InterfaceLocale(const QLocale& system)
{
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Czech, QLocale::Czechia);
    return system;
}

QTranslator* InstallInterfaceLanguage(const QLocale& system)
{
    const QLocale locale = InterfaceLocale(system);
    QLocale::setDefault(locale);
    auto* translation = new QTranslator(QCoreApplication::instance());
    if (!translation->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translation)) {
        delete translation;
        return nullptr;
    }
    return translation;
}

} // namespace ui
