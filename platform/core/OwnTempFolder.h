#pragma once
// The program's own folder in the temporary folder, for the copies it hands
// to other programs (a workbook to the spreadsheet program, an attachment to
// the mail client). Those programs may still read a copy after the call that
// handed it over has returned, even after this program has ended, so a copy
// cannot be removed at once; kept apart in a folder of their own, the copies
// can be told from other files in the temporary folder and removed once stale.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace core {

// TempFolder() + "<program>-<user id>/": the executable's name and the
// effective user's number, so that users and programs sharing "/tmp" each
// get their own. Only the name; nothing is made.
std::string OwnTempFolderName();

// OwnTempFolderName(), made when missing, private to the user (mode 0700;
// looser permissions of an existing folder are tightened). Raises EInOutError
// when it cannot be made, or when something else stands under its name (a
// file, a link, another user's folder).
std::string OwnTempFolder();

// Removes the files of the own folder whose names isOurs recognises and that
// were last changed more than maxAge ago. Other names, younger files, links,
// folders and files of other users stay. Nothing happens when the folder is
// missing or is not the user's own. Returns the number of files removed;
// never raises.
int RemoveStaleTempFiles(std::chrono::seconds maxAge,
                         const std::function<bool(std::string_view name)>& isOurs) noexcept;

} // namespace core
