#include "browser/HostedBrowserOptions.h"

#include "browser/BrowserModule.h"
#include "platform/core/FloatControl.h"
#include "platform/web/HostSite.h"

#include <array>

namespace browser {

bool TProxySettings::IsStoredProperty(const std::string& name)
{
    return name != "Password";
}

void TDisableErrors::SetfpExceptions(bool value)
{
    if (value)
        core::MaskFloatExceptions();
    else
        SavedFloatEnvironment().Apply();
    fpExceptions_ = value;
}

TPrintOptions::TPrintOptions()
    : htmlHeader_(std::make_unique<core::TStringList>()), margins_(std::make_unique<TMargins>())
{
}

void TPrintOptions::SetHTMLHeader(const core::TStrings& lines)
{
    htmlHeader_->Clear();
    htmlHeader_->AddStrings(lines);
}

namespace {

// The engine's own flags, in member order.
constexpr std::array<std::uint32_t, 19> DownloadFlags{
    web::DLCTL_DLIMAGES, web::DLCTL_VIDEOS, web::DLCTL_BGSOUNDS, web::DLCTL_NO_SCRIPTS, web::DLCTL_NO_JAVA,
    web::DLCTL_NO_RUNACTIVEXCTLS, web::DLCTL_NO_DLACTIVEXCTLS, web::DLCTL_DOWNLOADONLY, web::DLCTL_NO_FRAMEDOWNLOAD,
    web::DLCTL_RESYNCHRONIZE, web::DLCTL_PRAGMA_NO_CACHE, web::DLCTL_NO_BEHAVIORS, web::DLCTL_NO_METACHARSET,
    web::DLCTL_URL_ENCODING_DISABLE_UTF8, web::DLCTL_URL_ENCODING_ENABLE_UTF8, web::DLCTL_FORCEOFFLINE,
    web::DLCTL_NO_CLIENTPULL, web::DLCTL_SILENT, web::DLCTL_OFFLINE,
};

// There is no member for 0x8000.
constexpr std::array<std::uint32_t, 29> InterfaceFlags{
    0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x40, 0x80, 0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000,
    0x10000, 0x20000, 0x40000, 0x80000, 0x100000, 0x200000, 0x400000, 0x800000, 0x1000000, 0x2000000,
    0x4000000, 0x8000000, 0x10000000, 0x20000000,
};

} // namespace

std::uint32_t DownloadControlFlag(TDownloadControlOption option)
{
    return DownloadFlags.at(static_cast<std::size_t>(option));
}

std::uint32_t UserInterfaceFlag(TUserInterfaceOption option)
{
    return InterfaceFlags.at(static_cast<std::size_t>(option));
}

std::uint32_t DownloadControlMask(const TDownloadControlOptions& options)
{
    std::uint32_t mask = 0;
    for (auto option : options)
        mask += DownloadControlFlag(option);
    return mask;
}

std::uint32_t UserInterfaceMask(const TUserInterfaceOptions& options)
{
    std::uint32_t mask = 0;
    for (auto option : options)
        mask += UserInterfaceFlag(option);
    return mask;
}

} // namespace browser
