#pragma once
// Plays the part of the user in the report's design-time dialogs. A dialog
// waits in a loop of its own until a choice is made; the driver, polled from
// the event loop, runs each step once the dialog is ready for it (its
// readiness test holds), one after another. A dialog that is still waiting
// when the time is up is closed, so a failing test ends instead of hanging.

#include "platform/ui/controls/ExtCtrls.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/DataModule.h"
#include "report/editors/RpEnvironmentEditor.h"
#include "report/editors/RpExpressionBuilder.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace report::test {

// The builders alive now, the innermost last.
inline std::vector<TRpExpressionBuilder*> Builders()
{
    std::vector<TRpExpressionBuilder*> found;
    for (int i = 0; ui::Application != nullptr && i < ui::Application->ComponentCount(); ++i)
        if (auto* builder = dynamic_cast<TRpExpressionBuilder*>(ui::Application->Components(i)))
            found.push_back(builder);
    return found;
}

inline TRpExpressionBuilder* Builder()
{
    auto all = Builders();
    return all.empty() ? nullptr : all.back();
}

inline TRpEnvironmentEditor* Editor()
{
    for (int i = ui::Application != nullptr ? ui::Application->ComponentCount() - 1 : -1; i >= 0; --i)
        if (auto* editor = dynamic_cast<TRpEnvironmentEditor*>(ui::Application->Components(i)))
            return editor;
    return nullptr;
}

class TDialogDriver {
public:
    using Check = std::function<bool()>;
    using Action = std::function<void()>;

    explicit TDialogDriver(std::chrono::milliseconds limit = std::chrono::seconds(10))
        : deadline_(std::chrono::steady_clock::now() + limit)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(2);
    }

    // Runs action once ready() holds and every earlier step has run.
    TDialogDriver& When(Check ready, Action action)
    {
        steps_.push_back({std::move(ready), std::move(action)});
        return *this;
    }

    bool Finished() const { return steps_.empty() && !running_; }
    bool TimedOut() const { return timedOut_; }
    int StepsLeft() const { return static_cast<int>(steps_.size()); }

private:
    struct Step {
        Check ready;
        Action action;
    };

    void Poll()
    {
        if (std::chrono::steady_clock::now() > deadline_) {
            if (!steps_.empty() || running_)
                GiveUp();
            return;
        }
        if (running_ || steps_.empty() || !steps_.front().ready())
            return;
        Action action = std::move(steps_.front().action);
        steps_.pop_front();
        running_ = true;
        // From a posted call, not from the timer: an action that opens a wait
        // of its own must not hold up the polling.
        QTimer::singleShot(0, [this, action] {
            running_ = false;
            action();
        });
    }

    // Ends every wait of every dialog still open.
    void GiveUp()
    {
        timedOut_ = true;
        ADD_FAILURE() << "a dialog was still waiting with " << steps_.size() << " steps left";
        steps_.clear();
        for (TRpExpressionBuilder* builder : Builders()) {
            bool canClose = true;
            builder->FormCloseQuery(builder, canClose);
            builder->AbandonFlag = true;
            builder->SetModalResult(ui::mrCancel);
        }
        if (TRpEnvironmentEditor* editor = Editor()) {
            editor->NewEntryResult = 2;
            editor->CloseRequested = true;
            editor->SetModalResult(ui::mrCancel);
        }
    }

    QTimer timer_;
    std::deque<Step> steps_;
    bool running_ = false;
    bool timedOut_ = false;
    std::chrono::steady_clock::time_point deadline_;
};

} // namespace report::test
