#include "browser/EngineSite.h"

#include "browser/HostedBrowser.h"
#include "platform/ui/kernel/Control.h"

#include <QMimeData>
#include <QWidget>

namespace browser {

namespace {

constexpr std::uint32_t CP_UTF8 = 65001;

// The engine's window, as the context-menu question hands it over.
class TEngineWindowObject : public IOleWindow {
public:
    explicit TEngineWindowObject(ui::HWND window) : window_(window) {}
    HRESULT QueryInterface(const TGUID& iid, IUnknown*& object) override
    {
        object = iid == IID_IUnknown || iid == IID_IOleWindow ? static_cast<IUnknown*>(this) : nullptr;
        return object != nullptr ? S_OK : E_NOINTERFACE;
    }
    HRESULT GetWindow(ui::HWND& window) override
    {
        window = window_;
        return window_ != nullptr ? S_OK : E_FAIL;
    }

private:
    ui::HWND window_;
};

// The data of a drag.
class TMimeDataObject : public IDataObject {
public:
    explicit TMimeDataObject(const QMimeData& data) : data_(data) {}
    HRESULT QueryInterface(const TGUID& iid, IUnknown*& object) override
    {
        object = iid == IID_IUnknown ? static_cast<IUnknown*>(this) : nullptr;
        return object != nullptr ? S_OK : E_NOINTERFACE;
    }
    HRESULT EnumFormats(std::vector<std::string>& formats) override
    {
        formats.clear();
        for (const QString& format : data_.formats())
            formats.push_back(format.toStdString());
        return S_OK;
    }
    HRESULT GetData(const std::string& format, std::string& data) override
    {
        const QString name = QString::fromStdString(format);
        if (!data_.hasFormat(name))
            return E_INVALIDARG;
        data = data_.data(name).toStdString();
        return S_OK;
    }

private:
    const QMimeData& data_;
};

ui::TPoint ToUi(web::TPoint point)
{
    return {point.X, point.Y};
}

// An exception of a program's handler reaches the application's handler; the engine gets E_FAIL.
template <class F>
web::HRESULT Guard(THostedBrowser& control, F&& f)
{
    try {
        return f();
    } catch (...) {
        ui::HandleCurrentException(&control);
        return web::E_FAIL;
    }
}

template <class I>
I* Service(THostedBrowser& control, const TGUID& id)
{
    IUnknown* object = nullptr;
    if (core::Failed(control.QueryService(id, id, object)))
        return nullptr;
    return dynamic_cast<I*>(object);
}

// What a page's script asks of its window, put to the window services (S_OK without them).
template <class F>
web::HRESULT AskWindowServices(THostedBrowser& control, F&& ask)
{
    return Guard(control, [&] {
        auto* services = Service<IHTMLOMWindowServices>(control, IID_IHTMLOMWindowServices);
        return services != nullptr ? ask(*services) : S_OK;
    });
}

} // namespace

HRESULT TDownloadMoniker::QueryInterface(const TGUID& iid, IUnknown*& object)
{
    object = iid == IID_IUnknown ? static_cast<IUnknown*>(this) : nullptr;
    return object != nullptr ? S_OK : E_NOINTERFACE;
}

HRESULT TDownloadMoniker::GetDisplayName(std::string& name)
{
    name = info_.Url;
    return S_OK;
}

web::HRESULT TEngineSite::ShowContextMenu(std::uint32_t kind, web::TPoint screenPoint)
{
    return Guard(control_, [&] {
        TEngineWindowObject engine(control_.EngineWindow());
        const ui::TPoint point = ToUi(screenPoint);
        return control_.ShowContextMenu(kind, &point, &engine, nullptr);
    });
}

web::HRESULT TEngineSite::GetHostInfo(web::TDocHostUIInfo& info)
{
    return Guard(control_, [&] { return control_.GetHostInfo(info); });
}

web::HRESULT TEngineSite::ShowUI(std::uint32_t id)
{
    return Guard(control_, [&] { return control_.ShowUI(id, nullptr, nullptr, nullptr, nullptr); });
}

web::HRESULT TEngineSite::HideUI()
{
    return Guard(control_, [&] { return control_.HideUI(); });
}

web::HRESULT TEngineSite::UpdateUI()
{
    return Guard(control_, [&] { return control_.UpdateUI(); });
}

web::HRESULT TEngineSite::EnableModeless(bool enable)
{
    return Guard(control_, [&] { return control_.EnableModeless(enable); });
}

web::HRESULT TEngineSite::OnDocWindowActivate(bool activate)
{
    return Guard(control_, [&] { return control_.OnDocWindowActivate(activate); });
}

web::HRESULT TEngineSite::OnFrameWindowActivate(bool activate)
{
    return Guard(control_, [&] { return control_.OnFrameWindowActivate(activate); });
}

web::HRESULT TEngineSite::TranslateAccelerator(const web::TKeyMessage& message)
{
    return Guard(control_, [&] {
        ui::TMsg msg;
        msg.hwnd = control_.EngineWindow();
        msg.message = message.Message;
        msg.wParam = message.VirtualKey;
        msg.lParam = 1;
        Qt::KeyboardModifiers modifiers;
        if (message.Shift)
            modifiers |= Qt::ShiftModifier;
        if (message.Ctrl)
            modifiers |= Qt::ControlModifier;
        if (message.Alt)
            modifiers |= Qt::AltModifier;
        // The keys held are those that came with this key, whatever the keyboard says now.
        ui::TKeyboardState state(modifiers);
        return control_.TranslateAccelerator(&msg, nullptr, 0);
    });
}

web::HRESULT TEngineSite::GetOptionKeyPath(std::string& key)
{
    return Guard(control_, [&] { return control_.GetOptionKeyPath(key, 0); });
}

web::HRESULT TEngineSite::GetOverrideKeyPath(std::string& key)
{
    return Guard(control_, [&] { return control_.GetOverrideKeyPath(key, 0); });
}

web::HRESULT TEngineSite::TranslateUrl(std::uint32_t translate, const std::string& url, std::string& translated)
{
    return Guard(control_, [&] { return control_.TranslateUrl(translate, url, translated); });
}

web::HRESULT TEngineSite::ShowMessage(const std::string& text, const std::string& caption, std::uint32_t type,
                                      std::int32_t& result)
{
    return Guard(control_, [&] {
        auto* showUI = QueryInterfaceAs<IDocHostShowUI>(&control_, IID_IDocHostShowUI);
        if (showUI == nullptr)
            return S_FALSE;
        return showUI->ShowMessage(control_.EngineWindow(), text, caption, type, {}, 0, result);
    });
}

web::HRESULT TEngineSite::ShowHelp(const std::string& helpFile, std::uint32_t command, std::uint32_t data,
                                   web::TPoint mouse)
{
    return Guard(control_, [&] {
        auto* showUI = QueryInterfaceAs<IDocHostShowUI>(&control_, IID_IDocHostShowUI);
        if (showUI == nullptr)
            return S_FALSE;
        return showUI->ShowHelp(control_.EngineWindow(), helpFile, command, data, ToUi(mouse), nullptr);
    });
}

web::HRESULT TEngineSite::QueryStatus()
{
    return Guard(control_, [&] { return control_.QueryStatus(nullptr, 0, nullptr, nullptr); });
}

web::HRESULT TEngineSite::Exec(web::TCommandGroup group, std::uint32_t commandId, std::uint32_t execOption,
                               const web::TOleVariant& in, web::TOleVariant& out)
{
    return Guard(control_, [&] {
        const TGUID* id = nullptr;
        switch (group) {
        case web::TCommandGroup::None: id = nullptr; break;
        case web::TCommandGroup::Explorer: id = &CGID_Explorer; break;
        case web::TCommandGroup::DocHostCommandHandler: id = &CGID_DocHostCommandHandler; break;
        case web::TCommandGroup::Other: id = &GUID_NULL; break;
        }
        return control_.Exec(id, commandId, execOption, &in, &out);
    });
}

web::HRESULT TEngineSite::EvaluateNewWindow(const std::string& url, const std::string& name,
                                            const std::string& urlContext, const std::string& features, bool replace,
                                            std::uint32_t flags, std::uint32_t userActionTime)
{
    return Guard(control_, [&] {
        auto* manager = Service<INewWindowManager>(control_, IID_INewWindowManager);
        if (manager == nullptr)
            return E_FAIL; // the engine decides by itself
        return manager->EvaluateNewWindow(url, name, urlContext, features, replace, flags, userActionTime);
    });
}

web::HRESULT TEngineSite::Download(const web::TDownloadInfo& info)
{
    return Guard(control_, [&] {
        auto* manager = Service<IDownloadManager>(control_, IID_IDownloadManager);
        if (manager == nullptr)
            return E_NOTIMPL; // the engine downloads by itself
        TDownloadMoniker moniker(info);
        TBindInfo bindInfo;
        bindInfo.cbSize = sizeof(TBindInfo);
        return manager->Download(&moniker, nullptr, 0, 0, &bindInfo, {}, {}, CP_UTF8);
    });
}

web::HRESULT TEngineSite::MoveTo(int x, int y)
{
    return AskWindowServices(control_, [&](IHTMLOMWindowServices& services) { return services.moveTo(x, y); });
}

web::HRESULT TEngineSite::MoveBy(int x, int y)
{
    return AskWindowServices(control_, [&](IHTMLOMWindowServices& services) { return services.moveBy(x, y); });
}

web::HRESULT TEngineSite::ResizeTo(int x, int y)
{
    return AskWindowServices(control_, [&](IHTMLOMWindowServices& services) { return services.resizeTo(x, y); });
}

web::HRESULT TEngineSite::ResizeBy(int x, int y)
{
    return AskWindowServices(control_, [&](IHTMLOMWindowServices& services) { return services.resizeBy(x, y); });
}

web::HRESULT TEngineSite::DragEnter(const QMimeData* data, std::uint32_t keyState, web::TPoint point,
                                    std::uint32_t& effect)
{
    return Guard(control_, [&] {
        if (data == nullptr)
            return control_.DragEnter(nullptr, keyState, ToUi(point), effect);
        TMimeDataObject object(*data);
        return control_.DragEnter(&object, keyState, ToUi(point), effect);
    });
}

web::HRESULT TEngineSite::DragOver(std::uint32_t keyState, web::TPoint point, std::uint32_t& effect)
{
    return Guard(control_, [&] { return control_.DragOver(keyState, ToUi(point), effect); });
}

web::HRESULT TEngineSite::DragLeave()
{
    return Guard(control_, [&] { return control_.DragLeave(); });
}

web::HRESULT TEngineSite::Drop(const QMimeData* data, std::uint32_t keyState, web::TPoint point,
                               std::uint32_t& effect)
{
    return Guard(control_, [&] {
        if (data == nullptr)
            return control_.Drop(nullptr, keyState, ToUi(point), effect);
        TMimeDataObject object(*data);
        return control_.Drop(&object, keyState, ToUi(point), effect);
    });
}

web::HRESULT TEngineSite::GetAmbientProperty(std::int32_t dispId, web::TOleVariant& value)
{
    return Guard(control_, [&] {
        TDispParams none;
        return control_.Invoke(dispId, GUID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, none, &value, nullptr,
                               nullptr);
    });
}

} // namespace browser
