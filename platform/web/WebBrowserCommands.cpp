#include "platform/web/WebBrowserImpl.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Ole.h"
#include "platform/web/ContextMenu.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <array>
#include <cmath>
#include <optional>

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

// The web engine's action that carries out a command of the context menus.
std::optional<QWebEnginePage::WebAction> MenuAction(std::uint32_t command)
{
    switch (command) {
    case IDM_COPY: return QWebEnginePage::Copy;
    case IDM_CUT: return QWebEnginePage::Cut;
    case IDM_PASTE: return QWebEnginePage::Paste;
    case IDM_UNDO: return QWebEnginePage::Undo;
    case IDM_REDO: return QWebEnginePage::Redo;
    case IDM_SELECTALL: return QWebEnginePage::SelectAll;
    case IDM_OPENLINK: return QWebEnginePage::OpenLinkInThisWindow;
    case IDM_OPENINNEWWINDOW: return QWebEnginePage::OpenLinkInNewWindow;
    case IDM_VIEWSOURCE: return QWebEnginePage::ViewSource;
    case IDM_COPYLINK: return QWebEnginePage::CopyLinkToClipboard;
    case IDM_SAVETARGET: return QWebEnginePage::DownloadLinkToDisk;
    case IDM_SAVEPICTURE: return QWebEnginePage::DownloadImageToDisk;
    case IDM_COPYPICTURE: return QWebEnginePage::CopyImageToClipboard;
    case IDM_SAVEPAGE: return QWebEnginePage::SavePage;
    case IDM_BACK: return QWebEnginePage::Back;
    case IDM_FORWARD: return QWebEnginePage::Forward;
    case IDM_REFRESH: return QWebEnginePage::Reload;
    default: return std::nullopt;
    }
}

// The clipboard holds what the place can take: text, and in a rich editing place
// also formatted text or a picture.
bool ClipboardFits(bool rich)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && (data->hasText() || (rich && (data->hasHtml() || data->hasImage())));
}

} // namespace

HRESULT TWebBrowser::Impl::ExecMenuCommand(std::uint32_t command)
{
    const auto action = MenuAction(command);
    if (!action)
        return OLECMDERR_E_NOTSUPPORTED;
    page_->triggerAction(*action);
    return S_OK;
}

bool TWebBrowser::Impl::MenuCommandEnabled(std::uint32_t command) const
{
    const auto action = MenuAction(command);
    if (!action || !page_.Made())
        return false;
    using Request = QWebEngineContextMenuRequest;
    const Request* place = menuPlace_;
    // Editing needs an editable place; the web engine's flags alone say a field may
    // take a paste whatever the clipboard holds.
    const bool editable = place != nullptr && place->isContentEditable();
    const Request::EditFlags edit = place != nullptr ? place->editFlags() : Request::EditFlags();
    switch (command) {
    case IDM_UNDO: return editable && edit.testFlag(Request::CanUndo);
    case IDM_REDO: return editable && edit.testFlag(Request::CanRedo);
    case IDM_CUT: return editable && edit.testFlag(Request::CanCut);
    case IDM_PASTE:
        return editable && edit.testFlag(Request::CanPaste) && ClipboardFits(edit.testFlag(Request::CanEditRichly));
    case IDM_COPY:
        return place != nullptr ? edit.testFlag(Request::CanCopy) || !place->selectedText().isEmpty()
                                : page_->hasSelection();
    case IDM_SELECTALL: return place != nullptr ? edit.testFlag(Request::CanSelectAll) : everNavigated_;
    case IDM_OPENLINK:
    case IDM_OPENINNEWWINDOW:
    case IDM_COPYLINK:
    case IDM_SAVETARGET: return place != nullptr && place->linkUrl().isValid();
    case IDM_SAVEPICTURE:
    case IDM_COPYPICTURE:
        return place != nullptr && place->mediaType() == Request::MediaTypeImage && place->mediaUrl().isValid();
    default: return page_->action(*action)->isEnabled(); // the history, a load in progress
    }
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
