#include "app/Depository.h"

#include <cstdlib>

#ifndef KONVERZE_DEPOSITORY_HOST
#error "the depository's host comes from the build settings (app/CMakeLists.txt)"
#endif

namespace app {

const char* const DepositoryPagePath = "/uschovna/index.php?page=stahnout_soubor";

namespace {

std::string& SetOrigin()
{
    static std::string origin;
    return origin;
}

std::string WithoutTrailingSlash(std::string origin)
{
    while (!origin.empty() && origin.back() == '/')
        origin.pop_back();
    return origin;
}

} // namespace

std::string DepositoryOrigin()
{
    if (!SetOrigin().empty())
        return SetOrigin();
    if (const char* environment = std::getenv("KONVERZE_DEPOSITORY_ORIGIN"); environment != nullptr && *environment)
        return WithoutTrailingSlash(environment);
    return std::string("https://") + KONVERZE_DEPOSITORY_HOST;
}

void SetDepositoryOrigin(const std::string& origin)
{
    SetOrigin() = WithoutTrailingSlash(origin);
}

std::string DepositoryPageUrl()
{
    return DepositoryOrigin() + DepositoryPagePath;
}

} // namespace app
