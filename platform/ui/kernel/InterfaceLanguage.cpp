#include "platform/ui/kernel/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace ui {
namespace {

// Qt's catalogue. Qt 6 asks for its icon provider's texts (a folder's type,
// "Drive", "Shortcut", "Unknown") under a context that the Czech catalogue
// lacks; it has them under the file dialog's, where Qt 5 asked for them.
class TQtCatalogue : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override
    {
        QString text = QTranslator::translate(context, sourceText, disambiguation, n);
        if (text.isEmpty() && qstrcmp(context, "QAbstractFileIconProvider") == 0)
            text = QTranslator::translate("QFileDialog", sourceText, nullptr, n);
        return text;
    }
};

} // namespace

QLocale InterfaceLocale()
{
    return QLocale(QLocale::Czech, QLocale::Czechia);
}

QTranslator* InstallInterfaceLanguage()
{
    const QLocale locale = InterfaceLocale();
    QLocale::setDefault(locale);
    auto* translation = new TQtCatalogue(QCoreApplication::instance());
    if (!translation->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translation)) {
        delete translation;
        return nullptr;
    }
    return translation;
}

} // namespace ui
