#pragma once
// Files, folders, the environment and the command line. Folders are texts
// ending with "/", and a file is addressed by its folder and name joined
// (DataFolder + "konverze.mdb").

#include <string>
#include <string_view>

namespace core {

inline constexpr char PathDelim = '/';

// True for an existing file that is not a folder.
bool FileExists(const std::string& fileName);
// True for an existing folder; a trailing "/" does not matter.
bool DirectoryExists(const std::string& dir);

// One level: the parent must exist. False when the folder cannot be made
// (errno tells why), also when it exists already.
bool CreateDir(const std::string& dir);
// As CreateDir, but raises EInOutError with the system's error number and a
// message naming the folder.
void MkDir(const std::string& dir);
// Every missing level. True when the folder exists afterwards; an empty name is false.
bool ForceDirectories(const std::string& dir);
// As ForceDirectories, but raises EInOutError naming the level that failed.
void ForceDirectoriesOrRaise(const std::string& dir);

// Copies content and permissions. With failIfExists an existing target is left
// alone and the result is false; without it the target is overwritten.
bool CopyFile(const std::string& from, const std::string& to, bool failIfExists);
// False for a missing file and for a folder.
bool DeleteFile(const std::string& fileName);
// False when the new name exists already or the rename fails.
bool RenameFile(const std::string& oldName, const std::string& newName);
// Writes the whole file through a temporary file in the same folder that then
// replaces it, so a failure leaves the old file as it was. An existing file
// keeps its permissions; a new one gets the usual ones (0666 less the umask).
// Raises EInOutError naming the file.
void WriteFileReplacing(const std::string& fileName, std::string_view bytes);

// "/a/b/c.txt": path "/a/b/", dir "/a/b", name "c.txt", extension ".txt".
// A "." in a folder name is no extension; "/x" has the dir "/".
std::string ExtractFilePath(std::string_view fileName);
std::string ExtractFileDir(std::string_view fileName);
std::string ExtractFileName(std::string_view fileName);
std::string ExtractFileExt(std::string_view fileName);
// Replaces the extension, or appends one; extension includes its ".".
std::string ChangeFileExt(std::string_view fileName, std::string_view extension);
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);

// Empty when the variable is not set.
std::string GetEnvironmentVariable(const std::string& name);

// The command line. main() hands it over once; until then it is read from the
// process itself. ParamStr(0) is the executable's full path, ParamStr of an
// index past ParamCount() is empty.
void SetCommandLine(int argc, const char* const* argv);
int ParamCount();
std::string ParamStr(int index);
// The folder of the running executable, ending with "/".
std::string ExecutableFolder();

// The per-user data folder ("$XDG_DATA_HOME", else "~/.local/share"), ending
// with "/"; empty when neither that variable (absolute) nor HOME is set.
//
// The original derived its data folder from the roaming application-data
// folder ("...\AppData\Roaming"), cut before "Roaming", plus "Local\" and the
// product folder: the user's local application data. This folder plays the
// part of that local application data, so the data folder is this plus the
// product folder; an empty result stands for the roaming path that could not
// be found, after which the program folder serves.
std::string UserDataFolder();
// The folder for temporary files: $TEMP, else $TMPDIR, else "/tmp", ending with "/".
std::string TempFolder();
// Creates a new empty file with a unique name in TempFolder(), as prefix +
// six random characters + extension, and returns its full name. The caller
// deletes it. Raises EInOutError when the file cannot be made.
std::string CreateTempFile(const std::string& prefix, const std::string& extension = ".tmp");
// As CreateTempFile, in the given folder (ending with "/").
std::string CreateTempFileIn(const std::string& folder, const std::string& prefix, const std::string& extension);

} // namespace core
