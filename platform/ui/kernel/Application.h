#pragma once
// The application object: the Qt application, the forms, the message loop,
// the application-message events and the default error handler.
//
// One TApplication exists per process; the global Application points to it
// from its construction to its destruction. Initialize creates the Qt
// application. Every key press, key release and wheel turn that the loop takes
// is offered as a message (TMsg) to OnMessage and to every TApplicationEvents
// component before it is dispatched; a handler may mark it handled (it goes
// nowhere) or change it in place (the changed message goes to the window it
// now names, as the Qt event it now stands for).

#include "platform/ui/kernel/Forms.h"
#include "platform/ui/kernel/Messages.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QApplication;

namespace ui {

class TApplicationEvents;
class TInputHook;

using TMessageEvent = std::function<void(TMsg& msg, bool& handled)>;
using TExceptionEvent = std::function<void(core::TObject* sender, const std::exception& error)>;

class TApplication : public core::TComponent {
public:
    // Keeps argc and argv for the Qt application that Initialize creates.
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    std::string ClassName() const override { return "TApplication"; }

    // Creates the Qt application (unless one exists) and hooks the message loop.
    void Initialize();
    bool Initialized() const { return initialized_; }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    // The executable's full path.
    std::string ExeName() const;

    // Creates a form or data module owned by the application, stores it in
    // reference and runs its OnCreate. The first form created is the main form.
    template <class T>
    void CreateForm(T*& reference);
    TCustomForm* MainForm() const { return mainForm_; }
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool show) { showMainForm_ = show; }

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    // Handles the events now pending and returns.
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The default error handler: called inside a catch block, it shows the
    // message of the exception being handled (EAbort stays silent).
    void HandleException(core::TObject* sender);
    void ShowException(const std::exception& error);
    // A message box through the dialog service; returns the button pressed (IDOK...).
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags = 0);

    // Offers one message to the application-message handlers as the loop does:
    // returns true when the message was handled or changed and sent on, false
    // when it is to be dispatched unchanged.
    bool TakeMessage(TMsg& msg);
    // Called by a message handler: delivers the screen input now being offered to its
    // window at once, unchanged and without offering it again (the handler then marks
    // it handled). False when no input from the screen is being offered.
    bool DispatchOfferedInput();

    // Shows the help topic of a help context: OnHelp answers, true when help was shown.
    // Without a handler there is no help to show.
    bool HelpContext(int context) { return OnHelp ? OnHelp(context) : false; }

    TMessageEvent OnMessage;
    TExceptionEvent OnException;
    std::function<bool(int context)> OnHelp;

protected:
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    friend class TApplicationEvents;
    void AddEvents(TApplicationEvents* events);
    void RemoveEvents(TApplicationEvents* events);
    void FormCreated(core::TComponent* instance);

    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> ownApplication_;
    std::unique_ptr<TInputHook> hook_;
    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    std::vector<TApplicationEvents*> events_;
    bool initialized_ = false;
    bool terminated_ = false;
    bool showMainForm_ = true;
    bool running_ = false;
};

extern TApplication* Application;

// Handles messages, sleeping while none come, until done() holds or the
// application is terminated: how a window waits for its user's choice
// without a modal loop of its own.
void ProcessMessagesUntil(const std::function<bool()>& done);

template <class T>
void TApplication::CreateForm(T*& reference)
{
    auto* instance = new T(this);
    reference = instance;
    instance->AfterConstruction();
    FormCreated(instance);
}

} // namespace ui
