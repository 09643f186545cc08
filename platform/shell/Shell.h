#pragma once
// The shell's "open": hands a file, a folder, a web page or a mailto link to
// the desktop, which opens it with the program the user chose for its kind
// (xdg-open). The opener runs detached; the call does not wait for it.

#include <string>

namespace shell {

// Window states of the original call; the desktop decides how to show the
// program, so the value is accepted and not used.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;

// True when target names something with a scheme ("https://...", "mailto:...",
// "file:///...") rather than a path in the file system.
bool IsUrl(const std::string& target);

// Opens target with the desktop's program for it. Operation is the verb:
// "open" or empty (the default verb, which is "open"); any other verb fails.
// A path that does not exist fails without starting anything, as does a
// missing opener. Returns true when the opener was started.
bool ShellExecute(const std::string& operation, const std::string& target, int showCmd = SW_SHOWNORMAL);

// ShellExecute with the verb "open".
bool ShellOpen(const std::string& target);

} // namespace shell
