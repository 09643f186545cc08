#include "platform/core/OwnTempFolder.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace core {

namespace {

[[noreturn]] void RaiseIo(const std::string& what, const std::string& name, int error)
{
    throw EInOutError(what + " \"" + name + "\". " + std::strerror(error), error);
}

// A folder of the effective user, reached without following a link.
bool IsOwnFolder(const struct stat& st)
{
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

} // namespace

std::string OwnTempFolderName()
{
    std::string program = ExtractFileName(ParamStr(0));
    if (program.empty())
        program = "program";
    return TempFolder() + program + "-" + std::to_string(::geteuid()) + "/";
}

std::string OwnTempFolder()
{
    const std::string folder = OwnTempFolderName();
    const std::string path = ExcludeTrailingPathDelimiter(folder);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        RaiseIo("Cannot create folder", folder, errno);
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        RaiseIo("Cannot create folder", folder, errno);
    if (!IsOwnFolder(st))
        RaiseIo("Not a folder of this user", folder, S_ISDIR(st.st_mode) ? EPERM : ENOTDIR);
    // The copies are the user's register: nobody else may list or read them.
    if ((st.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0)
        RaiseIo("Cannot make folder private", folder, errno);
    return folder;
}

int RemoveStaleTempFiles(std::chrono::seconds maxAge,
                         const std::function<bool(std::string_view name)>& isOurs) noexcept
{
    if (!isOurs)
        return 0;
    const std::string path = ExcludeTrailingPathDelimiter(OwnTempFolderName());
    // Opened without following a link; the entries are then reached through
    // the open folder, so that the folder cannot be swapped on the way.
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct stat st;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::fstat(fd, &st) == 0 && IsOwnFolder(st) ? ::fdopendir(fd) : nullptr,
                                                 ::closedir);
    if (!dir) {
        ::close(fd);
        return 0;
    }
    const std::time_t limit = std::time(nullptr) - static_cast<std::time_t>(maxAge.count());
    int removed = 0;
    try {
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string_view name = entry->d_name;
            if (name == "." || name == ".." || !isOurs(name))
                continue;
            if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            if (S_ISREG(st.st_mode) && st.st_uid == ::geteuid() && st.st_mtime < limit &&
                ::unlinkat(fd, entry->d_name, 0) == 0)
                ++removed;
        }
    } catch (...) {
        // A recogniser that fails ends the tidying; nothing else depends on it.
    }
    return removed;
}

} // namespace core
