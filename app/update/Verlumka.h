#pragma once
// The update library: one function that asks the maker's web server whether a
// newer version of the program is published.
//
// The library is a shared object of its own that the program loads at start.
// It tells the user what it found through the program's dialog service
// (ui::Dialogs), which the loading program provides. No exception leaves it.

extern "C" {

// Compares the first line of the version file at remoteVersionUrl (http or
// https) with the first line of the local file localVersionFile, both read as
// dotted version numbers ("2.10" is newer than "2.9"). *newerVersion becomes
// true only when the published version is newer; a check that fails leaves it
// false. With tellUser the function reports the outcome itself: a newer
// version with the offer to open downloadPageUrl, the installed version being
// current, or why the check failed; without it nothing is shown. dataFolder is
// the program's data folder; this check keeps nothing there.
// Text arguments are UTF-8; null counts as empty; newerVersion may be null.
__attribute__((visibility("default"))) void Pomrakel(const char* remoteVersionUrl, const char* localVersionFile,
                                                      const char* downloadPageUrl, const char* dataFolder,
                                                      bool tellUser, bool* newerVersion) noexcept;

} // extern "C"

// The function's type, for callers that hold it in a variable.
using TPomrakel = decltype(Pomrakel);
