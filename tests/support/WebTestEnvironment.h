#pragma once
// The headless settings of the web tests. ctest sets them; listing the tests at
// build time does not, so a test program sets them itself where they are missing.

#include <cstdlib>

namespace testsupport {

inline void SetHeadlessWebEnvironment()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
}

} // namespace testsupport
