#pragma once
// The update check at start, away from the main window: the update library's
// call runs in a thread of its own, so that the window is shown and used at
// once while the maker's server is asked (up to the library's time limit).
// The answer comes back to the main thread, where the caller asks its
// question. Only the quiet call (nothing shown by the library) runs this way.

#include <functional>
#include <memory>
#include <string>

class QObject;
class QThread;

namespace app {

class TUpdateCheckAtStart {
public:
    // Starts UpdateCheck with these arguments and tellUser false. answered
    // runs in the thread that made this object, with the call's result, once
    // the call has ended; not at all when this object goes first.
    TUpdateCheckAtStart(std::string remoteVersionUrl, std::string localVersionFile, std::string downloadPageUrl,
                        std::string dataFolder, std::function<void(bool newer)> answered);
    // Stops waiting for the server (the library's wait ends at once, as after
    // its time limit) and lets the thread end; the answer is not given.
    ~TUpdateCheckAtStart();
    TUpdateCheckAtStart(const TUpdateCheckAtStart&) = delete;
    TUpdateCheckAtStart& operator=(const TUpdateCheckAtStart&) = delete;

    // True until the answer has been given (or would have been, for a call that failed).
    bool Running() const noexcept { return running_; }

private:
    void Answer(bool newer);

    std::function<void(bool)> answered_;
    std::unique_ptr<QObject> receiver_; // in the caller's thread: the answer is delivered through it
    std::unique_ptr<QThread> thread_;
    bool running_ = true;
};

} // namespace app
