#pragma once
// A dialog service that answers from a script: tests queue the answers
// before they run a handler, then read the questions that were asked.
//
// While it lives it is the service in use; it puts the previous one back
// when it goes. A question with no fitting answer at the head of the queue is
// recorded as unanswered and gets the cancelling answer (Cancel or No, or OK
// when that is the only button; input and file dialogs are cancelled).

#include "platform/ui/kernel/Dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace ui {

enum class TDialogKind { MessageBox, MessageDlg, Input, File };

struct TDialogQuestion {
    TDialogKind Kind = TDialogKind::MessageBox;
    std::string Caption;
    // The message, or the prompt of an input box.
    std::string Text;
    unsigned Flags = 0;
    TMsgDlgType Type = TMsgDlgType::mtCustom;
    TMsgDlgButtons Buttons = 0;
    // The default text of an input box.
    std::string Value;
    TFileDialogRequest File;
    bool Answered = false;
};

class TScriptedDialogs : public TDialogService {
public:
    TScriptedDialogs();
    ~TScriptedDialogs() override;
    TScriptedDialogs(const TScriptedDialogs&) = delete;
    TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

    // The button of the next message box or message dialog: IDYES, mrNo... (the numbers agree).
    void AnswerButton(int result);
    // The text of the next input box, accepted.
    void AnswerInput(const std::string& text);
    void CancelInput();
    // The file chosen in the next file dialog (filterIndex 0 keeps the request's).
    void AnswerFile(const std::string& fileName, int filterIndex = 0);
    void CancelFile();

    const std::vector<TDialogQuestion>& Questions() const { return questions_; }
    // Questions that found no fitting answer.
    int Unanswered() const;
    // Answers queued but never asked for.
    int Pending() const { return static_cast<int>(answers_.size()); }
    // One line per question, for test failure messages.
    std::string Describe() const;
    void Clear();

    int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    bool FileDialog(TFileDialogRequest& request) override;

private:
    enum class AnswerKind { Button, Input, File };
    struct Answer {
        AnswerKind Kind;
        bool Accepted = true;
        int Result = 0;
        std::string Text;
    };
    // Records the question; true with the answer when the next one is of that
    // kind, which then leaves the queue.
    bool Ask(TDialogQuestion question, AnswerKind kind, Answer& answer);

    TDialogService* previous_ = nullptr;
    std::deque<Answer> answers_;
    std::vector<TDialogQuestion> questions_;
};

} // namespace ui
