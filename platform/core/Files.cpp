#include "platform/core/Files.h"

#include "platform/core/Exceptions.h"
#include "platform/core/ReplacingFileStream.h"
#include "platform/core/Streams.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace core {

namespace {

std::string WithoutTrailingDelimiters(const std::string& path)
{
    std::string p = path;
    while (p.size() > 1 && p.back() == PathDelim)
        p.pop_back();
    return p;
}

[[noreturn]] void RaiseIo(const std::string& what, const std::string& name, int error)
{
    throw EInOutError(what + " \"" + name + "\". " + std::strerror(error), error);
}

} // namespace

bool FileExists(const std::string& fileName)
{
    struct stat st;
    return !fileName.empty() && ::stat(fileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& dir)
{
    struct stat st;
    return !dir.empty() && ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDir(const std::string& dir)
{
    if (dir.empty()) {
        errno = ENOENT;
        return false;
    }
    return ::mkdir(WithoutTrailingDelimiters(dir).c_str(), 0777) == 0;
}

void MkDir(const std::string& dir)
{
    if (!CreateDir(dir))
        RaiseIo("Cannot create directory", dir, errno);
}

bool ForceDirectories(const std::string& dir)
{
    try {
        ForceDirectoriesOrRaise(dir);
        return true;
    } catch (const EInOutError&) {
        return false;
    }
}

void ForceDirectoriesOrRaise(const std::string& dir)
{
    if (dir.empty())
        RaiseIo("Cannot create directory", dir, ENOENT);
    const std::string path = WithoutTrailingDelimiters(dir);
    // Every prefix ending before a "/", then the whole path.
    for (std::size_t end = path.find(PathDelim, 1);; end = path.find(PathDelim, end + 1)) {
        const std::string level = path.substr(0, end);
        if (!DirectoryExists(level) && ::mkdir(level.c_str(), 0777) != 0 && errno != EEXIST)
            RaiseIo("Cannot create directory", level + "/", errno);
        if (end == std::string::npos)
            break;
    }
    if (!DirectoryExists(path))
        RaiseIo("Cannot create directory", dir, ENOTDIR);
}

bool CopyFile(const std::string& from, const std::string& to, bool failIfExists)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!FileExists(from))
        return false;
    const auto options = failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
    return fs::copy_file(from, to, options, ec) && !ec;
}

bool DeleteFile(const std::string& fileName)
{
    return FileExists(fileName) && ::unlink(fileName.c_str()) == 0;
}

bool RenameFile(const std::string& oldName, const std::string& newName)
{
    struct stat st;
    if (::lstat(newName.c_str(), &st) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(oldName.c_str(), newName.c_str()) == 0;
}

void WriteFileReplacing(const std::string& fileName, std::string_view bytes)
{
    TFileReplacement file;
    int error = file.Create(fileName);
    if (error == 0) {
        THandleStream out(file.Handle());
        const auto size = static_cast<std::int64_t>(bytes.size());
        errno = 0;
        if (out.Write(bytes.data(), size) != size)
            error = errno != 0 ? errno : EIO;
    }
    if (error == 0)
        error = file.Commit();
    if (error != 0)
        RaiseIo("Cannot write file", fileName, error);
}

// --- names ---------------------------------------------------------------------

std::string ExtractFilePath(std::string_view fileName)
{
    const std::size_t slash = fileName.rfind(PathDelim);
    return slash == std::string_view::npos ? std::string() : std::string(fileName.substr(0, slash + 1));
}

std::string ExtractFileDir(std::string_view fileName)
{
    const std::size_t slash = fileName.rfind(PathDelim);
    if (slash == std::string_view::npos)
        return {};
    return std::string(fileName.substr(0, slash == 0 ? 1 : slash));
}

std::string ExtractFileName(std::string_view fileName)
{
    const std::size_t slash = fileName.rfind(PathDelim);
    return std::string(slash == std::string_view::npos ? fileName : fileName.substr(slash + 1));
}

std::string ExtractFileExt(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    const std::size_t slash = fileName.rfind(PathDelim);
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return std::string(fileName.substr(dot));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension)
{
    const std::size_t length = fileName.size() - ExtractFileExt(fileName).size();
    return std::string(fileName.substr(0, length)) + std::string(extension);
}

std::string IncludeTrailingPathDelimiter(std::string_view path)
{
    std::string p(path);
    if (p.empty() || p.back() != PathDelim)
        p += PathDelim;
    return p;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path)
{
    std::string p(path);
    if (!p.empty() && p.back() == PathDelim)
        p.pop_back();
    return p;
}

// --- environment and command line ---------------------------------------------------

std::string GetEnvironmentVariable(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

namespace {

std::mutex commandLineMutex;
std::vector<std::string> commandLine;
bool commandLineSet = false;

const std::vector<std::string>& Arguments()
{
    std::lock_guard lock(commandLineMutex);
    if (!commandLineSet) {
        // The arguments as the kernel keeps them, each ended by a zero byte.
        std::string bytes;
        try {
            bytes = ReadFileBytes("/proc/self/cmdline");
        } catch (const Exception&) {
        }
        for (std::size_t start = 0; start < bytes.size();) {
            std::size_t end = bytes.find('\0', start);
            if (end == std::string::npos)
                end = bytes.size();
            commandLine.push_back(bytes.substr(start, end - start));
            start = end + 1;
        }
        commandLineSet = true;
    }
    return commandLine;
}

std::string ExecutablePath()
{
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

std::string FolderFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? IncludeTrailingPathDelimiter(value) : std::string();
}

} // namespace

void SetCommandLine(int argc, const char* const* argv)
{
    std::lock_guard lock(commandLineMutex);
    commandLine.assign(argv, argv + argc);
    commandLineSet = true;
}

int ParamCount()
{
    const auto& args = Arguments();
    return args.empty() ? 0 : static_cast<int>(args.size()) - 1;
}

std::string ParamStr(int index)
{
    if (index == 0)
        return ExecutablePath();
    const auto& args = Arguments();
    return index > 0 && index < static_cast<int>(args.size()) ? args[static_cast<std::size_t>(index)] : "";
}

std::string ExecutableFolder() { return ExtractFilePath(ExecutablePath()); }

std::string UserDataFolder()
{
    // Relative values of XDG_DATA_HOME are invalid and ignored.
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        return IncludeTrailingPathDelimiter(data);
    if (const char* home = std::getenv("HOME"); home && *home)
        return IncludeTrailingPathDelimiter(home) + ".local/share/";
    return {};
}

std::string TempFolder()
{
    for (const char* name : {"TEMP", "TMPDIR"})
        if (std::string folder = FolderFromEnvironment(name); !folder.empty())
            return folder;
    return "/tmp/";
}

std::string CreateTempFile(const std::string& prefix, const std::string& extension)
{
    return CreateTempFileIn(TempFolder(), prefix, extension);
}

std::string CreateTempFileIn(const std::string& folder, const std::string& prefix, const std::string& extension)
{
    std::string pattern = folder + prefix + "XXXXXX" + extension;
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemps(buffer.data(), static_cast<int>(extension.size()), O_CLOEXEC);
    if (fd < 0)
        RaiseIo("Cannot create temporary file", pattern, errno);
    ::close(fd);
    return std::string(buffer.data());
}

} // namespace core
