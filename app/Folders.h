#pragma once
// The program folder and the data folder, decided once at start-up.
//
// The program folder is the executable's folder. The data folder holds the
// register database "konverze.mdb" and the settings file "nastaveni.ini":
// the first command-line argument, taken verbatim (the program adds no "/",
// so files are looked up by plain concatenation), else the per-user data
// folder "$XDG_DATA_HOME/Orvalis/" (default "~/.local/share/Orvalis/"), else,
// when no per-user folder can be found, the program folder.

#include <string>

namespace app {

extern std::string ProgramFolder;
extern std::string DataFolder;

inline constexpr const char* DatabaseFileName = "konverze.mdb";
// The settings file in the data folder.
inline constexpr const char* SettingsFileName = "nastaveni.ini";
// The version file beside the executable: its first line is the installed version.
inline constexpr const char* VersionFileName = "konverze.txt";
inline constexpr const char* ProductFolderName = "Orvalis/";

// The per-user local data folder with its "/", or empty when there is none.
std::string GetLocalAppDataFolder();

// The data folder for a command-line argument (empty when none was given),
// the per-user local data folder and the program folder.
std::string ChooseDataFolder(const std::string& argument, const std::string& localAppData,
                             const std::string& programFolder);

// Makes sure the data folder exists and holds a database. A missing folder
// is created: a folder given on the command line one level deep (its parent
// must exist), the per-user one with every missing parent. A failure raises
// EInOutError. When the two folders differ and the data folder has no
// database yet, the shipped one is copied in; an existing database is never
// overwritten, and a failed copy shows up later when the database is opened.
void PrepareDataFolder(const std::string& programFolder, const std::string& dataFolder, bool fromArgument);

} // namespace app
