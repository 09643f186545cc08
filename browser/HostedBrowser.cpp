#include "browser/HostedBrowser.h"

#include "browser/BrowserModule.h"
#include "browser/BrowserTools.h"
#include "platform/core/Registry.h"
#include "platform/ui/Dialogs.h"

#include <QWidget>

#include <algorithm>

namespace browser {

namespace {

const char* const PageSetupKey = "\\Software\\Microsoft\\Internet Explorer\\PageSetup";

} // namespace

THostedBrowser::THostedBrowser(core::TComponent* owner)
    : TBrowserWrapper(owner, this),
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
    if (!enableDragAndDrop_ && Widget())
        Widget()->setAcceptDrops(false);
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
        auto margin = [&](const char* name) {
            std::string text = registry.ReadString(name);
            if (text.empty())
                text = "0.750000";
            text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
            std::size_t used = 0;
            const double value = std::stod(text, &used);
            if (used != text.size())
                throw core::EConvertError("'" + text + "' is not a valid floating point value");
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

// --- hooks

void THostedBrowser::InstallMessageHook()
{
    if (MessageHookInstalled() || ui::Application == nullptr)
        return;
    savedApplicationHandler_ = ui::Application->OnMessage;
    ui::Application->OnMessage = [this](ui::TMsg& msg, bool& handled) { ApplicationMessageHook(msg, handled); };
    installedMessageHook_ = true;
    SetMessageHookInstalled(true);
}

void THostedBrowser::RemoveMessageHook()
{
    // Only the control that installed the hook gives the application its handler back.
    if (!installedMessageHook_)
        return;
    if (ui::Application != nullptr)
        ui::Application->OnMessage = savedApplicationHandler_;
    installedMessageHook_ = false;
    SetMessageHookInstalled(false);
}

void THostedBrowser::HookOwnerWindow()
{
    hookedOwner_ = dynamic_cast<ui::TWinControl*>(Owner());
    if (hookedOwner_ == nullptr || hookedOwner_->Widget() == nullptr)
        return;
    savedOwnerWindowProc_ = hookedOwner_->WindowProc;
    hookedOwner_->WindowProc = [this](ui::TMessage& message) { OwnerWindowProc(message); };
    ownerHooked_ = true;
}

void THostedBrowser::UnhookOwnerWindow()
{
    // The owner outlives the controls it owns: its procedure is always given back.
    if (ownerHooked_ && hookedOwner_ != nullptr)
        hookedOwner_->WindowProc = savedOwnerWindowProc_;
    ownerHooked_ = false;
    hookedOwner_ = nullptr;
}

void THostedBrowser::ApplicationMessageHook(ui::TMsg& msg, bool& handled)
{
    (void)msg;
    if (HasState(core::csDesigning))
        return;
    handled = false;
}

void THostedBrowser::ControlWindowProc(ui::TMessage& message)
{
    if (savedControlWindowProc_)
        savedControlWindowProc_(message);
}

void THostedBrowser::OwnerWindowProc(ui::TMessage& message)
{
    if (savedOwnerWindowProc_)
        savedOwnerWindowProc_(message);
}

// --- host site

web::HRESULT THostedBrowser::GetHostInfo(web::TDocHostUIInfo& info)
{
    info.cbSize = 20;
    info.dwFlags = hostUIFlags_;
    info.dwDoubleClick = 0;
    if (OnGetHostInfo)
        return OnGetHostInfo(info);
    return web::S_OK;
}

web::HRESULT THostedBrowser::GetAmbientProperty(std::int32_t dispId, web::TOleVariant& value)
{
    if (dispId == web::DISPID_AMBIENT_DLCONTROL) {
        value = static_cast<std::int32_t>(downloadControlFlags_);
        return web::S_OK;
    }
    if (OnInvoke)
        return OnInvoke(dispId, 2, value);
    return web::DISP_E_MEMBERNOTFOUND;
}

web::HRESULT THostedBrowser::QueryStatus()
{
    // A text size other than the normal one is applied to each page once.
    if (visualEffects_->TextSize() != 2 && !HasState(core::csDesigning)) {
        auto document = Document();
        if (document && document != textSizeDocument_) {
            textSizeDocument_ = document;
            ApplyTextSize(visualEffects_->TextSize());
        }
    }
    return web::S_OK;
}

} // namespace browser
