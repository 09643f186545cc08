#include "platform/ui/kernel/ControlDrag.h"

#include "platform/ui/kernel/Control.h"
#include "platform/ui/kernel/WinControl.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <cstdlib>

namespace ui {

// Watches the program's mouse and keys while a drag is armed or going on. One
// for the process, never freed: it is taken off the application at every end
// of a drag, also from inside its own filter.
class TControlDrag::Watch : public QObject {
public:
    static Watch& Instance()
    {
        static Watch* watch = new Watch;
        return *watch;
    }
    void Install() { qApp->installEventFilter(this); }
    void Remove()
    {
        if (qApp != nullptr)
            qApp->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

namespace {

struct TDragInHand {
    TControl* source = nullptr;
    QPoint start;
    int threshold = DragThreshold;
    bool going = false;
    TDragObject* object = nullptr;
    TControl* target = nullptr;
    QPoint targetPoint; // in the target's pixels
    bool cursorSet = false;
    bool releasingPress = false; // the source's widget is being told its press is over
};

TDragInHand& Drag()
{
    static TDragInHand drag;
    return drag;
}

// Controls of a drag being finished, while its last events run; null once gone.
TControl* finishingSource = nullptr;
TControl* finishingTarget = nullptr;

// The enabled control under a screen point (a disabled one hands it to its parent).
TControl* ControlAt(const QPoint& point)
{
    QWidget* widget = QApplication::widgetAt(point);
    TControl* control = widget != nullptr ? TControl::FromWidget(widget) : nullptr;
    while (control != nullptr && !control->Enabled())
        control = control->Parent();
    return control;
}

QPoint PointIn(const TControl* control, const QPoint& screen)
{
    return control->Widget() != nullptr ? control->Widget()->mapFromGlobal(screen) : screen;
}

void ShowCursor(TCursor cursor)
{
    TDragInHand& drag = Drag();
    const QCursor shape(CursorShape(cursor));
    if (drag.cursorSet) {
        QApplication::changeOverrideCursor(shape);
    } else {
        QApplication::setOverrideCursor(shape);
        drag.cursorSet = true;
    }
}

core::TObject* SourceObject()
{
    const TDragInHand& drag = Drag();
    return drag.object != nullptr ? static_cast<core::TObject*>(drag.object) : drag.source;
}

} // namespace


void TControlDrag::Clear()
{
    if (Drag().cursorSet)
        QApplication::restoreOverrideCursor();
    Drag() = TDragInHand();
    Watch::Instance().Remove();
}

void TControlDrag::Begin(TControl* source, const QPoint& start, bool immediate, int threshold)
{
    if (Drag().source != nullptr || source == nullptr)
        return;
    Drag().source = source;
    Drag().start = start;
    Drag().threshold = threshold < 0 ? DragThreshold : threshold;
    Watch::Instance().Install();
    if (immediate)
        Start(start);
}

TControl* TControlDrag::Source()
{
    return Drag().source;
}

bool TControlDrag::Going()
{
    return Drag().going;
}

void TControlDrag::Start(const QPoint& point)
{
    TDragInHand& drag = Drag();
    drag.going = true;
    TControl* source = drag.source;
    // The source's widget had the press: it hears the press end away from it, so that a
    // button does not stay down or click.
    if (QWidget* widget = source->Widget()) {
        const QPoint away(-1, -1);
        QMouseEvent release(QEvent::MouseButtonRelease, away, widget->mapToGlobal(away), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        drag.releasingPress = true;
        QApplication::sendEvent(widget, &release);
        Drag().releasingPress = false;
    }
    if (Drag().source != source)
        return;
    TDragObject* object = nullptr;
    source->Fire([&] { source->DoStartDrag(object); });
    if (Drag().source != source)
        return;
    Drag().object = object;
    ShowCursor(TCursor::crNoDrop);
    MoveTo(point);
}

bool TControlDrag::Ask(TControl* target, const QPoint& point, TDragState state)
{
    const QPoint at = PointIn(target, point);
    bool accept = false;
    target->Fire([&] { target->DoDragOver(SourceObject(), at.x(), at.y(), state, accept); });
    return accept;
}

void TControlDrag::MoveTo(const QPoint& point)
{
    TControl* source = Drag().source;
    TControl* target = ControlAt(point);
    if (target != Drag().target) {
        if (TControl* left = Drag().target) {
            Ask(left, point, TDragState::dsDragLeave);
            if (Drag().source != source)
                return;
        }
        Drag().target = target;
        if (target != nullptr) {
            Ask(target, point, TDragState::dsDragEnter);
            if (Drag().source != source)
                return;
        }
    }
    target = Drag().target;
    bool accept = false;
    if (target != nullptr) {
        Drag().targetPoint = PointIn(target, point);
        accept = Ask(target, point, TDragState::dsDragMove);
        if (Drag().source != source)
            return;
    }
    ShowCursor(accept ? source->DragCursor() : TCursor::crNoDrop);
}

void TControlDrag::End(bool drop)
{
    TDragInHand& drag = Drag();
    if (drag.source == nullptr)
        return;
    if (!drag.going) {
        Clear();
        return;
    }
    TControl* source = drag.source;
    TControl* target = drag.target;
    core::TObject* sourceObject = SourceObject();
    bool accepted = false;
    if (drop && target != nullptr) {
        bool accept = false;
        const QPoint at = drag.targetPoint;
        target->Fire([&] { target->DoDragOver(sourceObject, at.x(), at.y(), TDragState::dsDragLeave, accept); });
        accepted = accept;
        if (Drag().source != source)
            return; // the handler ended the drag or freed its source
    }
    const QPoint at = accepted ? Drag().targetPoint : QPoint(0, 0);
    Clear();
    finishingSource = source;
    finishingTarget = accepted ? target : nullptr;
    if (finishingTarget != nullptr)
        finishingTarget->Fire([&] { finishingTarget->DoDragDrop(sourceObject, at.x(), at.y()); });
    if (finishingSource != nullptr)
        finishingSource->Fire([&] { finishingSource->DoEndDrag(finishingTarget, at.x(), at.y()); });
    finishingSource = nullptr;
    finishingTarget = nullptr;
}

void TControlDrag::Forget(TControl* control)
{
    if (control == finishingSource)
        finishingSource = nullptr;
    if (control == finishingTarget)
        finishingTarget = nullptr;
    TDragInHand& drag = Drag();
    if (control == drag.source)
        Clear();
    else if (control == drag.target)
        drag.target = nullptr;
}

bool TControlDrag::Watch::eventFilter(QObject* watched, QEvent* event)
{
    // A mouse event reaches the window first and its widget after: the widget's counts.
    if (!watched->isWidgetType() || Drag().releasingPress)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = mouse->globalPosition().toPoint();
        if (Drag().going) {
            MoveTo(point);
            return true;
        }
        if (!(mouse->buttons() & Qt::LeftButton)) {
            Clear(); // the press ended where it was not seen
            return false;
        }
        const QPoint moved = point - Drag().start;
        if (std::abs(moved.x()) < Drag().threshold && std::abs(moved.y()) < Drag().threshold)
            return false;
        Start(point);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (Drag().going) {
            MoveTo(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            End(true);
            return true;
        }
        // Released before it moved far enough: a click, no drag.
        Clear();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return Drag().going;
    case QEvent::KeyPress:
        if (Drag().going && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            End(false);
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace ui
