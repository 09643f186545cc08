#pragma once
// The public document depository's download page, where the attorney fetches
// a deposited output with the conversion's serial number and its identifier
// in the depository.
//
// The page is "https://" + the build's host (the CMake cache variable
// KONVERZE_DEPOSITORY_HOST) + DepositoryPagePath. An origin (scheme, host and
// port, such as "http://127.0.0.1:8080") may stand in for "https://" + host:
// set by SetDepositoryOrigin, or else by the environment variable
// KONVERZE_DEPOSITORY_ORIGIN (for trying the program against a local server).

#include <string>

namespace app {

extern const char* const DepositoryPagePath;

// The origin in force, without a trailing "/".
std::string DepositoryOrigin();
// An empty origin gives the word back to the environment and the build.
void SetDepositoryOrigin(const std::string& origin);
// The download page's full address.
std::string DepositoryPageUrl();

} // namespace app
