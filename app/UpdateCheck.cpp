#include "app/UpdateCheck.h"

#include "app/BuildSettings.h"
#include "app/Folders.h"

namespace app {

TPomrakel* UpdateCheck = &Pomrakel;

namespace {

std::string MakerUrl(bool secure, const char* path)
{
    return std::string(secure ? "https://" : "http://") + MakerHost + path;
}

} // namespace

std::string RemoteVersionUrl(bool secure) { return MakerUrl(secure, "/download/konverze.txt"); }

std::string DownloadPageUrl(bool secure) { return MakerUrl(secure, "/stazeni.php"); }

std::string VersionFile() { return ProgramFolder + VersionFileName; }

} // namespace app
