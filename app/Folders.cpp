#include "app/Folders.h"

#include "platform/core/Files.h"

namespace app {

std::string ProgramFolder;
std::string DataFolder;

std::string GetLocalAppDataFolder()
{
    return core::UserDataFolder();
}

std::string ChooseDataFolder(const std::string& argument, const std::string& localAppData,
                             const std::string& programFolder)
{
    if (!argument.empty())
        return argument;
    if (localAppData.empty())
        return programFolder;
    return localAppData + ProductFolderName;
}

void PrepareDataFolder(const std::string& programFolder, const std::string& dataFolder, bool fromArgument)
{
    if (!core::DirectoryExists(dataFolder)) {
        if (fromArgument)
            core::MkDir(dataFolder);
        else
            core::ForceDirectoriesOrRaise(dataFolder);
    }
    const std::string shipped = programFolder + DatabaseFileName;
    const std::string target = dataFolder + DatabaseFileName;
    if (programFolder != dataFolder && core::FileExists(shipped) && !core::FileExists(target))
        core::CopyFile(shipped, target, /*failIfExists=*/true);
}

} // namespace app
