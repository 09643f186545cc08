#pragma once
// The language of the texts that Qt itself shows: the file dialogs' labels,
// the calendars' month and day names, the edit fields' menus.

#include <QLocale>

class QTranslator;

namespace ui {

// The desktop's language, or Czech where the desktop names none (the plain C
// locale): the program's own texts and its format settings are Czech then.
QLocale InterfaceLocale(const QLocale& system);

// Makes the language of system's interface locale the default of every widget
// made from now on and loads Qt's translation for it, owned by the running Qt
// application. Gives the translation, or nullptr when there is none.
QTranslator* InstallInterfaceLanguage(const QLocale& system = QLocale::system());

} // namespace ui
