#pragma once
// The option objects of the hosted browser control, their sets and the masks
// the sets give the web engine.

#include "platform/core/Component.h"
#include "platform/core/StringList.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>

namespace browser {

// A plain option: a getter Name() and a setter SetName(v) over one field.
#define KONVERZE_OPTION(Type, Name, Default)                \
public:                                                     \
    Type Name() const { return Name##_; }                   \
    void Set##Name(Type value) { Name##_ = std::move(value); } \
                                                            \
private:                                                    \
    Type Name##_ = Default;

class TRightClickMenu : public core::TPersistent {
public:
    std::string ClassName() const override { return "TRightClickMenu"; }
    KONVERZE_OPTION(bool, DisableAllMenus, true)
    KONVERZE_OPTION(bool, DefaultMenu, true)
    KONVERZE_OPTION(bool, ImageMenu, true)
    KONVERZE_OPTION(bool, ControlMenu, true)
    KONVERZE_OPTION(bool, TableMenu, true)
    KONVERZE_OPTION(bool, SelTextMenu, true)
    KONVERZE_OPTION(bool, AnchorMenu, true)
    KONVERZE_OPTION(bool, UnKnownMenu, true)
    KONVERZE_OPTION(bool, ImageArtMenu, true)
    KONVERZE_OPTION(bool, ImgDynSrcMenu, true)
    KONVERZE_OPTION(bool, DebugMenu, true)
};

class TRightClickShortCuts : public core::TPersistent {
public:
    std::string ClassName() const override { return "TRightClickShortCuts"; }
    KONVERZE_OPTION(bool, DisableBack, false)
    KONVERZE_OPTION(bool, DisableForward, false)
    KONVERZE_OPTION(bool, DisableSavePageBkg, false)
    KONVERZE_OPTION(bool, DisableSetAsBkg, false)
    KONVERZE_OPTION(bool, DisableCopyBkg, false)
    KONVERZE_OPTION(bool, DisableSetAsDesktopItem, false)
    KONVERZE_OPTION(bool, DisableSelectAll, false)
    KONVERZE_OPTION(bool, DisablePaste, false)
    KONVERZE_OPTION(bool, DisableCreateShorcut, false)
    KONVERZE_OPTION(bool, DisableAddToFav, false)
    KONVERZE_OPTION(bool, DisableEncoding, false)
    KONVERZE_OPTION(bool, DisableRefresh, false)
    KONVERZE_OPTION(bool, DisableViewSource, false)
    KONVERZE_OPTION(bool, DisableProperties, false)
    KONVERZE_OPTION(bool, DisablePrint, false)
    KONVERZE_OPTION(bool, DisableOpenInNewWindow, false)
    KONVERZE_OPTION(bool, DisableOpenLink, false)
};

class TShortCuts : public core::TPersistent {
public:
    std::string ClassName() const override { return "TShortCuts"; }
    KONVERZE_OPTION(bool, DisableCTRL_A, false)
    KONVERZE_OPTION(bool, DisableCTRL_C, false)
    KONVERZE_OPTION(bool, DisableCTRL_F, false)
    KONVERZE_OPTION(bool, DisableCTRL_N, false)
    KONVERZE_OPTION(bool, DisableCTRL_P, false)
};

// The proxy applied while the control lives. The password is kept in memory only:
// it is no stored property, so no saved form or log ever holds it.
class TProxySettings : public core::TPersistent {
public:
    std::string ClassName() const override { return "TProxySettings"; }
    KONVERZE_OPTION(int, Port, 80)
    KONVERZE_OPTION(std::string, Address, std::string())
    KONVERZE_OPTION(std::string, UserName, std::string())
    KONVERZE_OPTION(std::string, Password, std::string())
    KONVERZE_OPTION(bool, AutoLoadProxy, false)
public:
    // False for the properties a stored form must not hold ("Password").
    static bool IsStoredProperty(const std::string& name);
};

class TMessagesBoxes : public core::TPersistent {
public:
    std::string ClassName() const override { return "TMessagesBoxes"; }
    KONVERZE_OPTION(bool, DisableAll, false)
    KONVERZE_OPTION(bool, InternalErrMsg, true)
    KONVERZE_OPTION(bool, ReplaceCaption, true)
    KONVERZE_OPTION(bool, ReplaceIcon, true)
    KONVERZE_OPTION(std::string, NewCaption, std::string())
};

class TDisableErrors : public core::TPersistent {
public:
    std::string ClassName() const override { return "TDisableErrors"; }
    KONVERZE_OPTION(bool, EnableDDE, true)
    KONVERZE_OPTION(bool, ScriptError, true)
public:
    bool fpExceptions() const { return fpExceptions_; }
    // True masks every floating-point exception; False gives back the environment
    // saved when the browser module started.
    void SetfpExceptions(bool value);
    // The constructor's value, without touching the floating-point environment.
    void InitfpExceptions(bool value) { fpExceptions_ = value; }

private:
    bool fpExceptions_ = true;
};

class TVisualEffects : public core::TPersistent {
public:
    std::string ClassName() const override { return "TVisualEffects"; }
    KONVERZE_OPTION(bool, DisableSounds, false)
    KONVERZE_OPTION(int, TextSize, 2)
};

class TMargins : public core::TPersistent {
public:
    std::string ClassName() const override { return "TMargins"; }
    KONVERZE_OPTION(double, Left, 0.0)
    KONVERZE_OPTION(double, Right, 0.0)
    KONVERZE_OPTION(double, Top, 0.0)
    KONVERZE_OPTION(double, Bottom, 0.0)
};

enum class TPrintOrientationOption { poPortrait, poLandscape };

class TPrintOptions : public core::TPersistent {
public:
    TPrintOptions();
    std::string ClassName() const override { return "TPrintOptions"; }
    KONVERZE_OPTION(bool, Enabled, false)
    KONVERZE_OPTION(std::string, Header, std::string())
    KONVERZE_OPTION(std::string, Footer, std::string())
    KONVERZE_OPTION(TPrintOrientationOption, Orientation, TPrintOrientationOption::poPortrait)
    KONVERZE_OPTION(bool, MarginsInInches, false)
public:
    core::TStrings& HTMLHeader() { return *htmlHeader_; }
    // Copies the lines of the given list.
    void SetHTMLHeader(const core::TStrings& lines);
    TMargins& Margins() { return *margins_; }

private:
    std::unique_ptr<core::TStringList> htmlHeader_;
    std::unique_ptr<TMargins> margins_;
};

#undef KONVERZE_OPTION

// What the engine downloads and runs, in member order.
enum class TDownloadControlOption {
    DownloadImages, DownloadVideos, DownloadBGSounds, DontExecuteScripts, DontExecuteJava, DontExecuteActiveX,
    DontDownloadActiveX, DownloadButDontDisplay, DontDownloadFrame, CheckPageResynchronize, DownloadAndIgnoreCache,
    DontDownloadBehaviors, SuppressedMetaCharset, DisableUrlIfEncodingUTF8, EnableUrlIfEncodingUTF8, ForceOfflineMode,
    DontPerformClientPull, DonloadInSilentMode, WorkOffline,
};
using TDownloadControlOptions = std::set<TDownloadControlOption>;

// Host user-interface flags, in member order.
enum class TUserInterfaceOption {
    DisableTextSelect, DisableHelpMenu, DontUse3DBorders, DontUseScrollBars, PostponeScriptUntilActive,
    ForceOpenNewWindow, Reserved_OFFSCREEN, ForceFlatScrollBars, InsertDivTagOnEditMode, ActivateUIOnlyOnDocClick,
    ConsultBeforeRetrievingBehavior, CheckFontSupportsCodePage, DisableSubmitUrlInUTF8, EnableSubmitUrlInUTF8,
    EnablesFormsAutoComplete, ForceSameWindowNavigation, EmableImeLocalLanguages, EnableThemes, DisableThemes,
    DisablePicsRatings, DisableFrameSetBorder, DisablesAutoNameSpaceCorrection, DisableLocalFileAccess,
    DisableUntrustedProtocol, CheckNavigationDelegatedToHost, EnableRedirectNotification, EnableDomWindlessControls,
    EnableWindowedControls, ForceUserActivationOnActiveXJava,
};
using TUserInterfaceOptions = std::set<TUserInterfaceOption>;

std::uint32_t DownloadControlFlag(TDownloadControlOption option);
std::uint32_t UserInterfaceFlag(TUserInterfaceOption option);
// The sum of the flags of the members present; 0 for an empty set.
std::uint32_t DownloadControlMask(const TDownloadControlOptions& options);
std::uint32_t UserInterfaceMask(const TUserInterfaceOptions& options);

} // namespace browser
