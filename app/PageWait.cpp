#include "app/PageWait.h"

namespace app {

namespace {
constexpr int ReadyStateComplete = 4;
}

void TNavigationWatch::NavigationStarted(bool mainFrame, bool cancelled)
{
    if (mainFrame && !cancelled && !ended_)
        started_ = true;
}

void TNavigationWatch::NavigationFailed(bool mainFrame)
{
    if (mainFrame && started_)
        failed_ = true;
}

void TNavigationWatch::DocumentComplete(int readyState)
{
    if (!started_ || readyState != ReadyStateComplete)
        return;
    End(failed_ ? TPageWaitResult::Failed : TPageWaitResult::Complete);
}

void TNavigationWatch::End(TPageWaitResult result)
{
    if (ended_)
        return;
    ended_ = true;
    result_ = result;
    if (OnEnd)
        OnEnd();
}

} // namespace app
