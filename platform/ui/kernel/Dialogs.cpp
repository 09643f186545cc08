#include "platform/ui/kernel/Dialogs.h"

#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/QtDialogs.h"

namespace ui {
namespace {

TDialogService* installed = nullptr;

} // namespace

TDialogService& Dialogs()
{
    if (installed != nullptr)
        return *installed;
    static TQtDialogService qtDialogs;
    return qtDialogs;
}

TDialogService* SetDialogService(TDialogService* service)
{
    TDialogService* previous = installed;
    installed = service;
    return previous;
}

TModalResult ModalResultOf(TMsgDlgBtn button)
{
    switch (button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    case mbClose: return mrClose;
    default: return mrNone;
    }
}

std::string MessageDlgCaption(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning: return "Varování";
    case TMsgDlgType::mtError: return "Chyba";
    case TMsgDlgType::mtInformation: return "Informace";
    case TMsgDlgType::mtConfirmation: return "Potvrzení";
    default: return Application != nullptr ? Application->Title() : std::string();
    }
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int /*helpContext*/)
{
    return Dialogs().MessageDlg(text, type, buttons);
}

void ShowMessage(const std::string& text)
{
    Dialogs().MessageDlg(text, TMsgDlgType::mtCustom, mbOK);
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue)
{
    std::string value = defaultValue;
    if (!Dialogs().InputQuery(caption, prompt, value))
        return defaultValue;
    return value;
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    return Dialogs().InputQuery(caption, prompt, value);
}

std::vector<TFilterEntry> ParseDialogFilter(const std::string& filter)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    while (start <= filter.size()) {
        auto bar = filter.find('|', start);
        if (bar == std::string::npos) {
            parts.push_back(filter.substr(start));
            break;
        }
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::vector<TFilterEntry> entries;
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
        entries.push_back({parts[i], parts[i + 1]});
    return entries;
}

} // namespace ui
