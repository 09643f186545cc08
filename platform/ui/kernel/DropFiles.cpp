#include "platform/ui/kernel/DropFiles.h"

#include "platform/ui/kernel/WinControl.h"

#include <QAbstractScrollArea>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <map>

namespace ui {

struct TDropHandle {
    std::vector<std::string> files;
    TPoint point;
    std::uint64_t serial = 0;
};

namespace {

// The handles given out and not yet given back, with their serial numbers: a
// new handle may take the address of one given back.
std::map<TDropHandle*, std::uint64_t>& LiveHandles()
{
    static std::map<TDropHandle*, std::uint64_t> handles;
    return handles;
}

// The local files among the URLs of a drag; empty when it carries none.
std::vector<std::string> LocalFiles(const QMimeData* data)
{
    std::vector<std::string> files;
    if (data == nullptr || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files.push_back(url.toLocalFile().toStdString());
    return files;
}

// Watches a registered window (and the viewport of a scrolling one, where the
// drags arrive) for drags of local files.
class TDropTarget : public QObject {
public:
    explicit TDropTarget(QWidget* window) : QObject(window), window_(window)
    {
        setObjectName(QStringLiteral("KonverzeDropTarget"));
        Watch(window);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(window))
            Watch(area->viewport());
    }

    ~TDropTarget() override
    {
        for (const QPointer<QWidget>& widget : watched_)
            if (widget) {
                widget->removeEventFilter(this);
                widget->setAcceptDrops(false);
            }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (LocalFiles(drag->mimeData()).empty())
                return false;
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            std::vector<std::string> files = LocalFiles(drop->mimeData());
            if (files.empty())
                return false;
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            QPoint at = drop->position().toPoint();
            if (auto* source = qobject_cast<QWidget*>(watched); source != nullptr && source != window_)
                at = source->mapTo(window_, at);
            // The message comes once the drop is over, so that the place the
            // files came from is not kept waiting while they are read.
            QPointer<QWidget> window = window_;
            QMetaObject::invokeMethod(
                this,
                [window, files = std::move(files), at] {
                    if (window)
                        DeliverDroppedFiles(window, files, TPoint{at.x(), at.y()});
                },
                Qt::QueuedConnection);
            return true;
        }
        default:
            return false;
        }
    }

private:
    void Watch(QWidget* widget)
    {
        widget->setAcceptDrops(true);
        widget->installEventFilter(this);
        watched_.emplace_back(widget);
    }

    QWidget* window_;
    std::vector<QPointer<QWidget>> watched_;
};

TDropTarget* TargetOf(HWND window)
{
    return window != nullptr ? window->findChild<TDropTarget*>(QStringLiteral("KonverzeDropTarget"),
                                                               Qt::FindDirectChildrenOnly)
                             : nullptr;
}

} // namespace

void DragAcceptFiles(HWND window, bool accept)
{
    if (window == nullptr)
        return;
    TDropTarget* target = TargetOf(window);
    if (accept && target == nullptr)
        new TDropTarget(window);
    else if (!accept && target != nullptr)
        delete target;
}

bool AcceptsDroppedFiles(HWND window)
{
    return TargetOf(window) != nullptr;
}

UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size)
{
    if (!DropHandleLive(drop))
        return 0;
    if (index == DragFileCount)
        return static_cast<UINT>(drop->files.size());
    if (index >= drop->files.size())
        return 0;
    const std::string& name = drop->files[index];
    if (buffer == nullptr)
        return static_cast<UINT>(name.size());
    if (size == 0)
        return 0;
    const std::size_t count = std::min<std::size_t>(name.size(), size - 1);
    std::memcpy(buffer, name.data(), count);
    buffer[count] = '\0';
    return static_cast<UINT>(count);
}

bool DragQueryPoint(HDROP drop, TPoint& point)
{
    if (!DropHandleLive(drop))
        return false;
    point = drop->point;
    return true;
}

void DragFinish(HDROP drop)
{
    if (LiveHandles().erase(drop) != 0)
        delete drop;
}

HDROP NewDropHandle(std::vector<std::string> files, TPoint point)
{
    static std::uint64_t serials = 0;
    auto* drop = new TDropHandle{std::move(files), point, ++serials};
    LiveHandles()[drop] = drop->serial;
    return drop;
}

bool DropHandleLive(HDROP drop)
{
    return drop != nullptr && LiveHandles().count(drop) != 0;
}

void DeliverDroppedFiles(HWND window, std::vector<std::string> files, TPoint point)
{
    TWinControl* control = TWinControl::FindControl(window);
    if (control == nullptr)
        return;
    HDROP drop = NewDropHandle(std::move(files), point);
    const std::uint64_t serial = drop->serial;
    // Released unless the procedure gave it back (and its address went to another).
    auto release = [drop, serial] {
        auto live = LiveHandles().find(drop);
        if (live != LiveHandles().end() && live->second == serial)
            DragFinish(drop);
    };
    try {
        control->Perform(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    } catch (...) {
        release();
        HandleCurrentException(control);
        return;
    }
    release();
}

} // namespace ui
