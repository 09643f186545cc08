#include "platform/web/WebBrowserImpl.h"

#include "platform/core/Ole.h"
#include "platform/web/ContextMenu.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTimer>

namespace web {

namespace {

// The caption of the engine's own script dialogs.
const char* const ScriptDialogCaption = "Zpráva z webové stránky";

// New-window flags given to the site and the events.
constexpr std::uint32_t NWMF_USERINITED = 0x2;
constexpr std::uint32_t NWMF_FIRST = 0x4;

std::uint32_t VirtualKey(const QKeyEvent& event)
{
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<std::uint32_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return VK_F1 + static_cast<std::uint32_t>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    default: return 0;
    }
}

} // namespace

bool TWebBrowser::Impl::ScriptAlert(const QString& text)
{
    std::int32_t result = IDOK;
    return site_ && site_->ShowMessage(text.toStdString(), ScriptDialogCaption, MB_OK | MB_ICONWARNING, result) == S_OK;
}

int TWebBrowser::Impl::ScriptConfirm(const QString& text)
{
    std::int32_t result = IDCANCEL;
    if (!site_ || site_->ShowMessage(text.toStdString(), ScriptDialogCaption, MB_OKCANCEL | MB_ICONQUESTION, result) != S_OK)
        return -1;
    return result == IDOK ? 1 : 0;
}

// The engine's own dialogs belong to its window, so its host can tell them from
// dialogs of its own. They are made on the heap: the window may go (and take them
// along) while they wait for the user.
void TWebBrowser::Impl::OwnAlert(const QString& text)
{
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Warning, QString::fromUtf8(ScriptDialogCaption), text,
                                                QMessageBox::Ok, Window());
    box->setTextFormat(Qt::PlainText);
    box->exec();
    delete box.data();
}

bool TWebBrowser::Impl::OwnConfirm(const QString& text)
{
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Question, QString::fromUtf8(ScriptDialogCaption), text,
                                                QMessageBox::Ok | QMessageBox::Cancel, Window());
    box->setTextFormat(Qt::PlainText);
    const int answer = box->exec();
    delete box.data();
    return answer == QMessageBox::Ok;
}

void TWebBrowser::Impl::ContextMenu(QContextMenuEvent* event, QWebEngineContextMenuRequest* request)
{
    std::uint32_t kind = CONTEXT_MENU_DEFAULT;
    if (request) {
        if (request->mediaType() == QWebEngineContextMenuRequest::MediaTypeImage)
            kind = CONTEXT_MENU_IMAGE;
        else if (request->isContentEditable())
            kind = CONTEXT_MENU_CONTROL;
        else if (!request->selectedText().isEmpty())
            kind = CONTEXT_MENU_TEXTSELECT;
        else if (request->linkUrl().isValid())
            kind = CONTEXT_MENU_ANCHOR;
    }
    const QPoint global = event->globalPos();
    menuPlace_ = request;
    const auto forget = qScopeGuard([this] { menuPlace_ = nullptr; });
    if (site_ && site_->ShowContextMenu(kind, TPoint{global.x(), global.y()}) == S_OK)
        return; // the site showed a menu of its own, or none
    OwnContextMenu(kind, global);
}

void TWebBrowser::Impl::OwnContextMenu(std::uint32_t kind, const QPoint& screenPoint)
{
    const auto& menus = ContextMenuResource();
    if (kind >= menus.size() || !view_)
        return;
    // Not waited for: the page goes on while the menu is open, and the menu goes with the window.
    auto* menu = new QMenu(view_);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const TContextMenuEntry& entry : menus[kind]) {
        if (entry.IsSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(entry.Caption));
        action->setData(static_cast<uint>(entry.Command));
        action->setEnabled(MenuCommandEnabled(entry.Command));
        connect(action, &QAction::triggered, this, [this, command = entry.Command] { ExecMenuCommand(command); });
    }
    menu->popup(screenPoint);
}

bool TWebBrowser::Impl::Key(QKeyEvent* event)
{
    if (!site_)
        return false;
    TKeyMessage message;
    message.VirtualKey = VirtualKey(*event);
    if (message.VirtualKey == 0)
        return false;
    const auto modifiers = event->modifiers();
    message.Shift = modifiers & Qt::ShiftModifier;
    message.Ctrl = modifiers & Qt::ControlModifier;
    message.Alt = modifiers & Qt::AltModifier;
    message.Message = message.Alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    if (site_->TranslateAccelerator(message) == S_OK)
        return true;
    // Help for the page: the site shows it, or nothing happens.
    if (message.VirtualKey == VK_F1 && event->type() == QEvent::KeyPress && !message.Shift && !message.Ctrl
        && !message.Alt) {
        const QPoint cursor = QCursor::pos();
        return site_->ShowHelp({}, HELP_CONTEXT, 0, TPoint{cursor.x(), cursor.y()}) == S_OK;
    }
    return false;
}

bool TWebBrowser::Impl::Drag(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::DragLeave && type != QEvent::Drop)
        return false;
    // The view takes the page's drags (the widget that draws the page passes them up to it).
    QWidget* receiver = view_.data();
    if (receiver == nullptr || watched != receiver)
        return false;
    if (type == QEvent::DragLeave) {
        if (site_ && owner_.RegisterAsDropTarget)
            site_->DragLeave();
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    auto refuse = [drop] {
        drop->setDropAction(Qt::IgnoreAction);
        drop->ignore();
        return true;
    };
    if (!owner_.RegisterAsDropTarget)
        return refuse();
    if (!site_)
        return false;
    std::uint32_t keyState = 0;
    const auto buttons = drop->buttons();
    const auto modifiers = drop->modifiers();
    if (buttons & Qt::LeftButton)
        keyState |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        keyState |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        keyState |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        keyState |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        keyState |= MK_CONTROL;
    if (modifiers & Qt::AltModifier)
        keyState |= MK_ALT;
    const QPoint inView = drop->position().toPoint();
    const TPoint point{inView.x(), inView.y()};
    // The actions of Qt and the drop effects share their bits: copy 1, move 2, link 4.
    std::uint32_t effect = static_cast<std::uint32_t>(drop->possibleActions().toInt()) & 7u;
    HRESULT answer = S_OK;
    if (type == QEvent::DragEnter) {
        answer = site_->DragEnter(drop->mimeData(), keyState, point, effect);
    } else if (type == QEvent::DragMove) {
        answer = site_->DragOver(keyState, point, effect);
    } else {
        const QMimeData* data = drop->mimeData();
        answer = site_->Drop(data != nullptr && !data->formats().isEmpty() ? data : nullptr, keyState, point, effect);
    }
    if (core::Failed(answer) || effect == DROPEFFECT_NONE)
        return refuse();
    return false;
}

void TWebBrowser::Impl::NewWindow(QWebEngineNewWindowRequest& request)
{
    const std::string url = request.requestedUrl().toString().toStdString();
    const std::string context = page_->url().toString().toStdString();
    const std::uint32_t flags = (request.isUserInitiated() ? NWMF_USERINITED : 0u) | NWMF_FIRST;
    bool cancel = false;
    if (site_) {
        const HRESULT answer = site_->EvaluateNewWindow(url, {}, context, {}, false, flags, 0);
        cancel = answer == S_FALSE || (core::Failed(answer) && answer != E_FAIL);
    }
    if (!cancel && owner_.OnNewWindow3)
        owner_.OnNewWindow3(flags, context, url, cancel);
    if (!cancel && owner_.OnNewWindow2)
        owner_.OnNewWindow2(cancel);
    // The engine has one window: an allowed new window opens in it.
    if (!cancel)
        QTimer::singleShot(0, this, [this, url] { Navigate(url, 0, {}, {}); });
}

void TWebBrowser::Impl::Download(QWebEngineDownloadRequest* download)
{
    bool cancel = false;
    if (owner_.OnFileDownload)
        owner_.OnFileDownload(false, cancel);
    if (!cancel && site_) {
        TDownloadInfo info;
        info.Url = download->url().toString().toStdString();
        info.SuggestedFileName = download->suggestedFileName().toStdString();
        info.MimeType = download->mimeType().toStdString();
        info.TotalBytes = download->totalBytes();
        cancel = site_->Download(info) == S_OK; // the site took it over
    }
    if (cancel) {
        download->cancel();
        return;
    }
    // The engine's own way: into the user's download folder, under a name not yet taken.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    const QFileInfo suggested(download->suggestedFileName().isEmpty() ? QStringLiteral("soubor")
                                                                      : download->suggestedFileName());
    QString name = suggested.fileName();
    for (int n = 1; QFileInfo::exists(folder + "/" + name); ++n)
        name = suggested.completeBaseName() + QStringLiteral(" (%1)").arg(n)
            + (suggested.suffix().isEmpty() ? QString() : "." + suggested.suffix());
    download->setDownloadDirectory(folder);
    download->setDownloadFileName(name);
    download->accept();
}

} // namespace web
