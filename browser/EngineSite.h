#pragma once
// The browser control's answers to the web engine: the engine asks its host
// site in its own terms (platform/web/HostSite.h); this adaptor puts each
// question to the control's host interfaces (HostInterfaces.h) as the engine
// of the original control would: the user-interface handler for menus, keys,
// host flags and URLs, QueryInterface for the dialog and help interface, the
// service provider for the new-window manager, the window services and the
// download manager, the command target for the command status and the engine's
// commands, the dispatch interface for ambient properties, the drop target for
// drags.

#include "browser/HostInterfaces.h"
#include "platform/web/HostSite.h"

namespace browser {

class THostedBrowser;

// What the engine is about to download, as handed to the download manager.
class TDownloadMoniker : public IMoniker {
public:
    explicit TDownloadMoniker(web::TDownloadInfo info) : info_(std::move(info)) {}
    HRESULT QueryInterface(const TGUID& iid, IUnknown*& object) override;
    // The address.
    HRESULT GetDisplayName(std::string& name) override;
    const web::TDownloadInfo& Info() const { return info_; }

private:
    web::TDownloadInfo info_;
};

class TEngineSite : public web::IWebHostSite {
public:
    // The control may still be under construction: nothing is asked before the engine asks.
    explicit TEngineSite(THostedBrowser& control) : control_(control) {}

    web::HRESULT ShowContextMenu(std::uint32_t kind, web::TPoint screenPoint) override;
    web::HRESULT GetHostInfo(web::TDocHostUIInfo& info) override;
    web::HRESULT ShowUI(std::uint32_t id) override;
    web::HRESULT HideUI() override;
    web::HRESULT UpdateUI() override;
    web::HRESULT EnableModeless(bool enable) override;
    web::HRESULT OnDocWindowActivate(bool activate) override;
    web::HRESULT OnFrameWindowActivate(bool activate) override;
    web::HRESULT TranslateAccelerator(const web::TKeyMessage& message) override;
    web::HRESULT GetOptionKeyPath(std::string& key) override;
    web::HRESULT GetOverrideKeyPath(std::string& key) override;
    web::HRESULT TranslateUrl(std::uint32_t translate, const std::string& url, std::string& translated) override;
    web::HRESULT ShowMessage(const std::string& text, const std::string& caption, std::uint32_t type,
                             std::int32_t& result) override;
    web::HRESULT ShowHelp(const std::string& helpFile, std::uint32_t command, std::uint32_t data,
                          web::TPoint mouse) override;
    web::HRESULT QueryStatus() override;
    web::HRESULT Exec(web::TCommandGroup group, std::uint32_t commandId, std::uint32_t execOption,
                      const web::TOleVariant& in, web::TOleVariant& out) override;
    web::HRESULT EvaluateNewWindow(const std::string& url, const std::string& name, const std::string& urlContext,
                                   const std::string& features, bool replace, std::uint32_t flags,
                                   std::uint32_t userActionTime) override;
    web::HRESULT Download(const web::TDownloadInfo& info) override;
    web::HRESULT MoveTo(int x, int y) override;
    web::HRESULT MoveBy(int x, int y) override;
    web::HRESULT ResizeTo(int x, int y) override;
    web::HRESULT ResizeBy(int x, int y) override;
    web::HRESULT DragEnter(const QMimeData* data, std::uint32_t keyState, web::TPoint point,
                           std::uint32_t& effect) override;
    web::HRESULT DragOver(std::uint32_t keyState, web::TPoint point, std::uint32_t& effect) override;
    web::HRESULT DragLeave() override;
    web::HRESULT Drop(const QMimeData* data, std::uint32_t keyState, web::TPoint point, std::uint32_t& effect) override;
    web::HRESULT GetAmbientProperty(std::int32_t dispId, web::TOleVariant& value) override;

private:
    THostedBrowser& control_;
};

} // namespace browser
