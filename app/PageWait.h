#pragma once
// Waiting for one navigation's page.
//
// The engine reports what happens to every load, and a report may come late:
// the end of the load before can be heard after a new navigation was asked
// for. A watch is made before its navigation is asked for and takes only what
// comes after that navigation began: the first document-complete of the main
// frame that the engine reports with its ready state complete ends it, as a
// failure when the engine reported a navigation error on the way. A time
// limit, the viewer closing or the program ending end it too.

#include <functional>

namespace app {

enum class TPageWaitResult {
    Complete, // the page is there
    Failed,   // the engine could not load it (its error page is shown)
    TimedOut, // the time limit passed first
    Closed,   // the viewer or the program closed first
};

class TNavigationWatch {
public:
    // The engine begins a navigation (its before-navigate event), cancel being the answer it got.
    void NavigationStarted(bool mainFrame, bool cancelled);
    // The engine reports a navigation error.
    void NavigationFailed(bool mainFrame);
    // The engine reports a document complete, with its ready state at that moment.
    void DocumentComplete(int readyState);
    void TimeOut() { End(TPageWaitResult::TimedOut); }
    void Close() { End(TPageWaitResult::Closed); }

    bool Ended() const { return ended_; }
    // Closed for a watch that never ended (its event loop was left from outside).
    TPageWaitResult Result() const { return ended_ ? result_ : TPageWaitResult::Closed; }

    // Runs once, when the watch ends.
    std::function<void()> OnEnd;

private:
    void End(TPageWaitResult result);

    bool started_ = false;
    bool failed_ = false;
    bool ended_ = false;
    TPageWaitResult result_ = TPageWaitResult::Closed;
};

} // namespace app
