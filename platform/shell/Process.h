#pragma once
// Starting the desktop's helper programs (xdg-open, xdg-email). The program
// is looked up on PATH at the moment of the call, so a caller (or a test)
// decides which one runs by what PATH holds.

#include <string>
#include <vector>

namespace shell {

// Runs argv[0] with the given arguments and waits for it to end. Returns its
// exit status, 128 + the signal number when a signal ended it, or -1 when it
// could not be started (not found, not executable, argv empty).
int RunProcess(const std::vector<std::string>& argv);

// Starts argv[0] without waiting for it; it is reaped in the background when
// it ends. Returns false when it could not be started.
bool StartDetached(const std::vector<std::string>& argv);

} // namespace shell
