#include "platform/shell/Shell.h"

#include "platform/shell/Process.h"

#include <filesystem>
#include <system_error>

namespace shell {

bool IsUrl(const std::string& target) {
    // RFC 3986: a scheme is a letter followed by letters, digits, "+", "-" or ".",
    // and ends at the first ":". Two characters at least, so that a drive-like
    // "C:" is not taken for one.
    const std::size_t colon = target.find(':');
    if (colon == std::string::npos || colon < 2)
        return false;
    auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!isAlpha(target[0]))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = target[i];
        if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

bool ShellExecute(const std::string& operation, const std::string& target, int /*showCmd*/) {
    if (!operation.empty() && operation != "open")
        return false;
    if (target.empty())
        return false;

    std::string argument = target;
    if (!IsUrl(target)) {
        std::error_code error;
        if (!std::filesystem::exists(target, error))
            return false;
        // An absolute path, so the opener never takes a name for one of its options.
        const std::filesystem::path absolute = std::filesystem::absolute(target, error);
        if (error)
            return false;
        argument = absolute.string();
    }
    return StartDetached({"xdg-open", argument});
}

bool ShellOpen(const std::string& target) { return ShellExecute("open", target); }

} // namespace shell
