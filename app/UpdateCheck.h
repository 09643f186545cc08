#pragma once
// The main form's way to the update library and the addresses it hands over.

#include "app/update/Verlumka.h"

#include <string>

namespace app {

// The update library's check as the main form calls it; a test puts a stand-in here.
extern TPomrakel* UpdateCheck;

// The published version file on the maker's web server: https at start, http on request.
std::string RemoteVersionUrl(bool secure);
// The download page on the maker's web server.
std::string DownloadPageUrl(bool secure);
// The installed version file beside the executable.
std::string VersionFile();

} // namespace app
