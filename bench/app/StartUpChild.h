#pragma once
// The child processes of the start-up benchmark. Each starts as a program
// does and, once its main window has been painted for the first time, writes
// the moment (CLOCK_MONOTONIC, nanoseconds) as one line to its standard output
// and ends.

namespace bench {

inline constexpr const char* StartUpChildFlag = "--start-up-child";

// argv: the program, StartUpChildFlag, the kind ("konverze": the register
// program on the data folder that follows; "window": a bare Qt window, the
// floor of any Qt program's start). Returns the exit status.
int RunStartUpChild(int argc, char** argv);

} // namespace bench
