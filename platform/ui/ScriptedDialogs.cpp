#include "platform/ui/ScriptedDialogs.h"

#include <algorithm>

namespace ui {

TScriptedDialogs::TScriptedDialogs() : previous_(SetDialogService(this)) {}

TScriptedDialogs::~TScriptedDialogs()
{
    SetDialogService(previous_);
}

void TScriptedDialogs::AnswerButton(int result)
{
    answers_.push_back({AnswerKind::Button, true, result, {}});
}

void TScriptedDialogs::AnswerInput(const std::string& text)
{
    answers_.push_back({AnswerKind::Input, true, 0, text});
}

void TScriptedDialogs::CancelInput()
{
    answers_.push_back({AnswerKind::Input, false, 0, {}});
}

void TScriptedDialogs::AnswerFile(const std::string& fileName, int filterIndex)
{
    answers_.push_back({AnswerKind::File, true, filterIndex, fileName});
}

void TScriptedDialogs::CancelFile()
{
    answers_.push_back({AnswerKind::File, false, 0, {}});
}

int TScriptedDialogs::Unanswered() const
{
    return static_cast<int>(
        std::count_if(questions_.begin(), questions_.end(), [](const TDialogQuestion& q) { return !q.Answered; }));
}

std::string TScriptedDialogs::Describe() const
{
    static const char* const kinds[] = {"message box", "message dialog", "input box", "file dialog"};
    std::string out;
    for (const TDialogQuestion& q : questions_) {
        out += kinds[static_cast<int>(q.Kind)];
        out += " \"" + q.Caption + "\": \"" + q.Text + "\"";
        out += q.Answered ? "\n" : " (unanswered)\n";
    }
    return out;
}

void TScriptedDialogs::Clear()
{
    answers_.clear();
    questions_.clear();
}

bool TScriptedDialogs::Take(AnswerKind kind, Answer& answer)
{
    if (answers_.empty() || answers_.front().Kind != kind)
        return false;
    answer = answers_.front();
    answers_.pop_front();
    return true;
}

int TScriptedDialogs::MessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    TDialogQuestion question;
    question.Kind = TDialogKind::MessageBox;
    question.Caption = caption;
    question.Text = text;
    question.Flags = flags;
    Answer answer;
    int result;
    if (Take(AnswerKind::Button, answer)) {
        question.Answered = true;
        result = answer.Result;
    } else {
        switch (flags & 0x0F) {
        case MB_OK: result = IDOK; break;
        case MB_YESNO: result = IDNO; break;
        case MB_ABORTRETRYIGNORE: result = IDABORT; break;
        default: result = IDCANCEL; break;
        }
    }
    questions_.push_back(question);
    return result;
}

TModalResult TScriptedDialogs::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    TDialogQuestion question;
    question.Kind = TDialogKind::MessageDlg;
    question.Caption = MessageDlgCaption(type);
    question.Text = text;
    question.Type = type;
    question.Buttons = buttons;
    Answer answer;
    TModalResult result;
    if (Take(AnswerKind::Button, answer)) {
        question.Answered = true;
        result = answer.Result;
    } else if (buttons & mbCancel) {
        result = mrCancel;
    } else if (buttons & mbNo) {
        result = mrNo;
    } else {
        result = mrOk;
    }
    questions_.push_back(question);
    return result;
}

bool TScriptedDialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    TDialogQuestion question;
    question.Kind = TDialogKind::Input;
    question.Caption = caption;
    question.Text = prompt;
    question.Value = value;
    Answer answer;
    bool accepted = false;
    if (Take(AnswerKind::Input, answer)) {
        question.Answered = true;
        accepted = answer.Accepted;
        if (accepted)
            value = answer.Text;
    }
    questions_.push_back(question);
    return accepted;
}

bool TScriptedDialogs::FileDialog(TFileDialogRequest& request)
{
    TDialogQuestion question;
    question.Kind = TDialogKind::File;
    question.Caption = request.Title;
    question.Text = request.Filter;
    question.File = request;
    Answer answer;
    bool accepted = false;
    if (Take(AnswerKind::File, answer)) {
        question.Answered = true;
        accepted = answer.Accepted;
        if (accepted) {
            request.FileName = answer.Text;
            if (answer.Result > 0)
                request.FilterIndex = answer.Result;
        }
    }
    questions_.push_back(question);
    return accepted;
}

} // namespace ui
