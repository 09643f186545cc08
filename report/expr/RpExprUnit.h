#pragma once
// Start-up and shut-down of the expression language: the argument separator,
// the global function library with its 21 functions, and the global
// environment with the constants APPSTARTTIME, APPSTARTDATE and APPNAME.
// A counter makes repeated calls harmless; the first use of the library or
// the global environment starts the unit when nobody did.

#include <string>

namespace report {

// Separates the arguments of a function call; "," after start-up.
extern char ArgumentSeparator;

// applicationTitle becomes APPNAME; empty means the executable's name
// without its extension.
void InitializeExpressionUnit(const std::string& applicationTitle = {});
void FinalizeExpressionUnit();

} // namespace report
