#include "platform/web/WebBrowserImpl.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Ole.h"
#include "platform/web/ContextMenu.h"

#include <array>
#include <cmath>

namespace web {

namespace {

// Text-size steps 0 (smallest) to 4 (largest), 2 being the normal size, as page zoom factors.
constexpr std::array<double, 5> TextSizeZoom{0.6, 0.8, 1.0, 1.2, 1.5};
constexpr int TextSizeMin = 0;
constexpr int TextSizeMax = 4;
constexpr int OpticalZoomMin = 10;
constexpr int OpticalZoomMax = 1000;
constexpr std::int32_t PackRange(int low, int high)
{
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(high) << 16) | static_cast<std::uint32_t>(low));
}

} // namespace

HRESULT TWebBrowser::Impl::ExecMenuCommand(std::uint32_t command)
{
    QWebEnginePage::WebAction action;
    switch (command) {
    case IDM_COPY: action = QWebEnginePage::Copy; break;
    case IDM_CUT: action = QWebEnginePage::Cut; break;
    case IDM_PASTE: action = QWebEnginePage::Paste; break;
    case IDM_UNDO: action = QWebEnginePage::Undo; break;
    case IDM_REDO: action = QWebEnginePage::Redo; break;
    case IDM_SELECTALL: action = QWebEnginePage::SelectAll; break;
    case IDM_OPENLINK: action = QWebEnginePage::OpenLinkInThisWindow; break;
    case IDM_OPENINNEWWINDOW: action = QWebEnginePage::OpenLinkInNewWindow; break;
    case IDM_VIEWSOURCE: action = QWebEnginePage::ViewSource; break;
    case IDM_COPYLINK: action = QWebEnginePage::CopyLinkToClipboard; break;
    case IDM_SAVETARGET: action = QWebEnginePage::DownloadLinkToDisk; break;
    case IDM_SAVEPICTURE: action = QWebEnginePage::DownloadImageToDisk; break;
    case IDM_COPYPICTURE: action = QWebEnginePage::CopyImageToClipboard; break;
    case IDM_SAVEPAGE: action = QWebEnginePage::SavePage; break;
    case IDM_BACK: action = QWebEnginePage::Back; break;
    case IDM_FORWARD: action = QWebEnginePage::Forward; break;
    case IDM_REFRESH: action = QWebEnginePage::Reload; break;
    default: return OLECMDERR_E_NOTSUPPORTED;
    }
    page_->triggerAction(action);
    return S_OK;
}

void TWebBrowser::Impl::ApplyZoom()
{
    const double factor = TextSizeZoom[static_cast<std::size_t>(textSize_)] * opticalZoom_ / 100.0;
    if (std::fabs(page_->zoomFactor() - factor) > 1e-9)
        page_->setZoomFactor(factor);
}

HRESULT TWebBrowser::Impl::QueryStatus(std::uint32_t commandId) const
{
    constexpr HRESULT supportedAndEnabled = 3;
    switch (commandId) {
    case OLECMDID_ZOOM:
    case OLECMDID_GETZOOMRANGE:
    case OLECMDID_OPTICAL_ZOOM:
    case OLECMDID_OPTICAL_GETZOOMRANGE:
    case OLECMDID_REFRESH:
    case OLECMDID_STOP:
    case OLECMDID_SELECTALL:
    case OLECMDID_CLEARSELECTION:
    case OLECMDID_COPY:
    case OLECMDID_PASTE: return everNavigated_ ? supportedAndEnabled : 1;
    default: return 0;
    }
}

HRESULT TWebBrowser::Impl::Exec(std::uint32_t commandId, std::uint32_t execOption, const TOleVariant& in,
                                TOleVariant* out)
{
    (void)execOption; // nothing here asks the user
    if (QueryStatus(commandId) == 0)
        return OLECMDERR_E_NOTSUPPORTED;
    if (!everNavigated_)
        return OLECMDERR_E_DISABLED; // no document: no zoom, no range
    try {
        switch (commandId) {
        case OLECMDID_GETZOOMRANGE:
            if (out)
                *out = TOleVariant(PackRange(TextSizeMin, TextSizeMax));
            return S_OK;
        case OLECMDID_OPTICAL_GETZOOMRANGE:
            if (out)
                *out = TOleVariant(PackRange(OpticalZoomMin, OpticalZoomMax));
            return S_OK;
        case OLECMDID_ZOOM:
            if (!in.IsEmpty()) {
                const std::int32_t size = in.AsInteger();
                if (size < TextSizeMin || size > TextSizeMax)
                    return core::E_INVALIDARG;
                textSize_ = size;
                ApplyZoom();
            }
            if (out)
                *out = TOleVariant(static_cast<std::int32_t>(textSize_));
            return S_OK;
        case OLECMDID_OPTICAL_ZOOM:
            if (!in.IsEmpty()) {
                const std::int32_t percent = in.AsInteger();
                if (percent < OpticalZoomMin || percent > OpticalZoomMax)
                    return core::E_INVALIDARG;
                opticalZoom_ = percent;
                ApplyZoom();
            }
            if (out)
                *out = TOleVariant(static_cast<std::int32_t>(opticalZoom_));
            return S_OK;
        case OLECMDID_REFRESH: page_->triggerAction(QWebEnginePage::Reload); return S_OK;
        case OLECMDID_STOP: page_->triggerAction(QWebEnginePage::Stop); return S_OK;
        case OLECMDID_SELECTALL: page_->triggerAction(QWebEnginePage::SelectAll); return S_OK;
        case OLECMDID_CLEARSELECTION: page_->triggerAction(QWebEnginePage::Unselect); return S_OK;
        case OLECMDID_COPY: page_->triggerAction(QWebEnginePage::Copy); return S_OK;
        case OLECMDID_PASTE: page_->triggerAction(QWebEnginePage::Paste); return S_OK;
        default: return OLECMDERR_E_NOTSUPPORTED;
        }
    } catch (const core::Exception&) {
        return core::E_INVALIDARG;
    }
}

} // namespace web
