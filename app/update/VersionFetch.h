#pragma once
// Reads the published version file from the maker's web server.

#include <stdexcept>
#include <string>

namespace app::update {

// Why a check could not be made, in words for the user (Czech, lower case,
// ending with a full stop), ready to follow "Kontrolu ... provést: ".
class EUpdateFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The longest wait for the server's answer.
inline constexpr int FetchTimeoutMs = 5000;

// The body of an http or https address, at most 64 KiB of it. Redirections
// are followed unless they go from https to http. The request goes through
// the proxy the program put in force, else through the system's proxy for
// that address (none for the loopback addresses). Raises EUpdateFailure.
std::string FetchVersionFile(const std::string& url, int timeoutMs = FetchTimeoutMs);

} // namespace app::update
