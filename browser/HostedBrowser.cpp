#include "browser/HostedBrowser.h"

#include "browser/BrowserModule.h"
#include "browser/BrowserTools.h"
#include "browser/EngineSite.h"
#include "browser/ShellDde.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/Registry.h"
#include "platform/ui/kernel/Dialogs.h"

#include <QWidget>

#include <algorithm>

namespace browser {

namespace {

const char* const PageSetupKey = "\\Software\\Microsoft\\Internet Explorer\\PageSetup";

} // namespace

THostedBrowser::THostedBrowser(core::TComponent* owner)
    : TBrowserWrapper(owner, std::make_unique<TEngineSite>(*this)),
      printOptions_(std::make_unique<TPrintOptions>()),
      proxySettings_(std::make_unique<TProxySettings>()),
      rightClickMenu_(std::make_unique<TRightClickMenu>()),
      rightClickShortCuts_(std::make_unique<TRightClickShortCuts>()),
      shortCuts_(std::make_unique<TShortCuts>()),
      disableErrors_(std::make_unique<TDisableErrors>()),
      messagesBoxes_(std::make_unique<TMessagesBoxes>()),
      visualEffects_(std::make_unique<TVisualEffects>())
{
    EnsureBrowserModule();
    InstallMessageHook();
    LoadShellDdeNames();
    ddeWindow_ = ui::CreateWindowEx("KonverzeShellDde", "", nullptr,
                                    [this](ui::TMessage& message) { DdeWindowProc(message); });
    about_ = DefaultUserAgentToken;
    userAgent_ = DefaultUserAgentToken;
    printOptions_->HTMLHeader().Add("<HTML></HTML>");
    proxySettings_->SetPort(80);
    shortCuts_->SetDisableCTRL_N(true);
    disableErrors_->SetEnableDDE(true);
    disableErrors_->InitfpExceptions(true);
    disableErrors_->SetScriptError(true);
    messagesBoxes_->SetReplaceCaption(true);
    messagesBoxes_->SetReplaceIcon(true);
    visualEffects_->SetTextSize(2);
    SetDownloadOptions({TDownloadControlOption::DownloadImages, TDownloadControlOption::DownloadVideos,
                        TDownloadControlOption::DownloadBGSounds});
    SetUserInterfaceOptions({});
    localeInches_ = IsLocaleInches();
    enableDragAndDrop_ = true;
    xpsp2_ = IsWinXPSP2OrLater();
    windowPositionFilter_ = !xpsp2_;
}

THostedBrowser::~THostedBrowser()
{
    // The hooks go first, so that no message reaches this control while it is taken apart.
    ui::DestroyWindow(ddeWindow_);
    ddeWindow_ = nullptr;
    UnhookOwnerWindow();
    RemoveMessageHook();
    if (loaded_)
        WindowProc = savedControlWindowProc_;

    if (soundSwitchedOff_)
        SwitchNavigationSound(false);
    if (visualEffects_->TextSize() != 2 && !HasState(core::csDesigning))
        ApplyTextSize(2);
    if (proxyApplied_)
        net::SetProcessProxy(proxyBefore_); // the setting that was in force before, not an empty one
    if (loaded_ && userAgent_ != DefaultUserAgentToken)
        UnregisterUserAgentToken(userAgent_);
}

void THostedBrowser::SetDownloadOptions(const TDownloadControlOptions& options)
{
    downloadOptions_ = options;
    downloadControlFlags_ = DownloadControlMask(options);
    NotifyDownloadControl();
}

void THostedBrowser::SetUserInterfaceOptions(const TUserInterfaceOptions& options)
{
    userInterfaceOptions_ = options;
    hostUIFlags_ = UserInterfaceMask(options);
    NotifyDownloadControl();
}

void THostedBrowser::NotifyDownloadControl()
{
    Browser().AmbientPropertyChanged(web::DISPID_AMBIENT_DLCONTROL);
}

void THostedBrowser::Loaded()
{
    TBrowserWrapper::Loaded();
    if (HasState(core::csDesigning)) {
        printOptions_->SetMarginsInInches(localeInches_);
        ReadPageSetupRegistry();
        return;
    }
    if (loaded_)
        return; // applied once: a second call would hook the control's procedure onto itself
    savedControlWindowProc_ = WindowProc;
    WindowProc = [this](ui::TMessage& message) { ControlWindowProc(message); };
    downloadControlFlags_ = DownloadControlMask(downloadOptions_);
    hostUIFlags_ = UserInterfaceMask(userInterfaceOptions_);
    HookOwnerWindow();
    RegisterUserAgentToken(userAgent_);
    loaded_ = true;
    if (proxySettings_->AutoLoadProxy() && !proxySettings_->Address().empty()) {
        proxyBefore_ = net::CurrentProxy();
        proxyApplied_ = true;
        if (!proxySettings_->UserName().empty())
            ApplyProcessProxyWithLogin(userAgent_, proxySettings_->Address(), proxySettings_->UserName(),
                                       proxySettings_->Password(), proxySettings_->Port());
        else
            ApplyProcessProxy(userAgent_, proxySettings_->Address() + ":" + std::to_string(proxySettings_->Port()));
    }
    if (visualEffects_->DisableSounds()) {
        SwitchNavigationSound(true);
        soundSwitchedOff_ = true;
    }
    if (!enableDragAndDrop_)
        SetRegisterAsDropTarget(false);
    NotifyDownloadControl();
}

void THostedBrowser::ReadPageSetupRegistry()
{
    try {
        core::TRegistry registry;
        if (!registry.OpenKeyReadOnly(PageSetupKey))
            return;
        printOptions_->SetHeader(registry.ReadString("header"));
        printOptions_->SetFooter(registry.ReadString("footer"));
        // The engine writes its margins in inches with a decimal point; they are read
        // by the user's conventions, so the point becomes the locale's separator.
        auto margin = [&](const char* name) {
            std::string text = registry.ReadString(name);
            if (text.empty())
                text = "0.750000";
            text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
            const std::string& separator = core::FormatSettings.DecimalSeparator;
            if (separator != ".")
                for (auto at = text.find('.'); at != std::string::npos; at = text.find('.', at + separator.size()))
                    text.replace(at, 1, separator);
            const double value = core::StrToFloat(text);
            return printOptions_->MarginsInInches() ? value : value * 25.4;
        };
        printOptions_->Margins().SetLeft(margin("margin_left"));
        printOptions_->Margins().SetRight(margin("margin_right"));
        printOptions_->Margins().SetTop(margin("margin_top"));
        printOptions_->Margins().SetBottom(margin("margin_bottom"));
    } catch (const std::exception&) {
        ui::MessageDlg("Error while getting page print values from the registry!", ui::TMsgDlgType::mtError, ui::mbOK);
    }
}

void THostedBrowser::ApplyTextSize(int size)
{
    if (HasState(core::csDesigning))
        return;
    auto document = Document();
    SetDocumentZoom(document.get(), size);
}

} // namespace browser
