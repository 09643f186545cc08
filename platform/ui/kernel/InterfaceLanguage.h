#pragma once
// The language of the texts that Qt itself shows: the file dialogs' labels,
// the calendars' month and day names, the edit fields' menus.

#include <QLocale>

class QTranslator;

namespace ui {

// Czech, whatever the desktop's language: the program's own texts and its
// format settings are Czech, and Qt's texts beside them are too.
QLocale InterfaceLocale();

// Makes the interface locale the default of every widget and text made from now
// on and loads Qt's translation for it, owned by the running Qt application.
// Gives the translation, or nullptr when there is none.
QTranslator* InstallInterfaceLanguage();

} // namespace ui
