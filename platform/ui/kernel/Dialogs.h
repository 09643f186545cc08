#pragma once
// Modal questions: message boxes, message dialogs, input boxes, file dialogs.
//
// Every one of them goes through one dialog service. The program runs with the
// service that shows Qt dialogs; a test installs a scripted service that
// answers from a queue prepared in advance and records every question asked
// (see ScriptedDialogs.h), so a handler can be driven end to end with no person.

#include "platform/ui/kernel/Forms.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace ui {

// Message box flags: buttons in the low nibble, icon in the next.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_OKCANCEL = 0x01;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x02;
inline constexpr unsigned MB_YESNOCANCEL = 0x03;
inline constexpr unsigned MB_YESNO = 0x04;
inline constexpr unsigned MB_RETRYCANCEL = 0x05;
inline constexpr unsigned MB_ICONHAND = 0x10;
inline constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
inline constexpr unsigned MB_ICONERROR = MB_ICONHAND;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr unsigned MB_ICONASTERISK = 0x40;
inline constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;

// What a message box returns.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
    mbClose = 1u << 11,
};
using TMsgDlgButtons = unsigned;
inline constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;
inline constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
inline constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

// The modal result a message dialog button gives.
TModalResult ModalResultOf(TMsgDlgBtn button);
// The caption a message dialog of a type carries.
std::string MessageDlgCaption(TMsgDlgType type);

// One file dialog request and, when accepted, its answer.
struct TFileDialogRequest {
    bool Save = false;
    std::string Title;
    // Pairs of description and pattern separated by "|": "XML soubory|*.xml".
    std::string Filter;
    int FilterIndex = 1;
    std::string DefaultExt;
    std::string InitialDir;
    // In: the proposed file; out: the chosen one.
    std::string FileName;
};

class TDialogService {
public:
    virtual ~TDialogService() = default;
    // Returns IDOK, IDYES, ... as the button pressed.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // Returns the modal result of the button pressed (mrYes...).
    virtual TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) = 0;
    // True when the user accepted; value holds the default on entry and the answer on return.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
    // True when the user chose a file; request.FileName holds it.
    virtual bool FileDialog(TFileDialogRequest& request) = 0;
};

// The service in use: the one installed last, else the Qt dialogs.
TDialogService& Dialogs();
// Installs a service (not owned) and returns the one it replaces; null restores the Qt dialogs.
TDialogService* SetDialogService(TDialogService* service);

// The class library's short forms, all through Dialogs().
TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
void ShowMessage(const std::string& text);
// The text entered, or the default when the box was cancelled.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue);
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);

} // namespace ui

namespace ui {

struct TFilterEntry {
    std::string Description;
    // Patterns as given, separated by ";": "*.xls;*.xlsx".
    std::string Patterns;
};
// Splits a dialog filter "description|patterns|description|patterns".
std::vector<TFilterEntry> ParseDialogFilter(const std::string& filter);

} // namespace ui
