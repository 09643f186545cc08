#include "platform/ui/dialogs/ScriptedDialogs.h"

#include <algorithm>

namespace ui {

namespace {

TDialogQuestion Question(TDialogKind kind, const std::string& caption, const std::string& text)
{
    TDialogQuestion question;
    question.Kind = kind;
    question.Caption = caption;
    question.Text = text;
    return question;
}

} // namespace

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

bool TScriptedDialogs::Ask(TDialogQuestion question, AnswerKind kind, Answer& answer)
{
    question.Answered = !answers_.empty() && answers_.front().Kind == kind;
    if (question.Answered) {
        answer = answers_.front();
        answers_.pop_front();
    }
    questions_.push_back(std::move(question));
    return questions_.back().Answered;
}

int TScriptedDialogs::MessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    TDialogQuestion question = Question(TDialogKind::MessageBox, caption, text);
    question.Flags = flags;
    Answer answer;
    if (Ask(std::move(question), AnswerKind::Button, answer))
        return answer.Result;
    switch (flags & 0x0F) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;
    }
}

TModalResult TScriptedDialogs::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    TDialogQuestion question = Question(TDialogKind::MessageDlg, MessageDlgCaption(type), text);
    question.Type = type;
    question.Buttons = buttons;
    Answer answer;
    if (Ask(std::move(question), AnswerKind::Button, answer))
        return answer.Result;
    if (buttons & mbCancel)
        return mrCancel;
    if (buttons & mbNo)
        return mrNo;
    return mrOk;
}

bool TScriptedDialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    TDialogQuestion question = Question(TDialogKind::Input, caption, prompt);
    question.Value = value;
    Answer answer;
    if (!Ask(std::move(question), AnswerKind::Input, answer) || !answer.Accepted)
        return false;
    value = answer.Text;
    return true;
}

bool TScriptedDialogs::FileDialog(TFileDialogRequest& request)
{
    TDialogQuestion question = Question(TDialogKind::File, request.Title, request.Filter);
    question.File = request;
    Answer answer;
    if (!Ask(std::move(question), AnswerKind::File, answer) || !answer.Accepted)
        return false;
    request.FileName = answer.Text;
    if (answer.Result > 0)
        request.FilterIndex = answer.Result;
    return true;
}

} // namespace ui
