#pragma once
// Dragging a control onto another control of the program, as the class library
// does it. A drag starts at once or, armed by a press, once the mouse has moved
// DragThreshold pixels with the button held; the source hears OnStartDrag. The
// control under the mouse is then asked through OnDragOver whether it takes
// the drop: on entering it (dsDragEnter, then dsDragMove), at every move
// (dsDragMove) and on leaving it (dsDragLeave); the pointer shows the source's
// DragCursor while the answer is yes, crNoDrop otherwise. Releasing the button
// asks the control under the mouse once more (dsDragLeave): if it takes the
// drop it hears OnDragDrop. Last the source hears OnEndDrag with the control
// that took the drop and the point in it, or with none and (0, 0) when nothing
// took it or Esc ended the drag. Positions are in the control's own pixels.

#include "platform/core/Component.h"

#include <functional>
#include <string>

class QPoint;

namespace ui {

class TControl;

enum class TDragMode { dmManual, dmAutomatic };
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// What a start-drag handler may give as the thing dragged; without one the
// dragged control stands for it. The program keeps it and frees it.
class TDragObject : public core::TObject {
public:
    std::string ClassName() const override { return "TDragObject"; }
};

using TStartDragEvent = std::function<void(core::TObject* sender, TDragObject*& dragObject)>;
using TDragOverEvent = std::function<void(core::TObject* sender, core::TObject* source, int x, int y,
                                          TDragState state, bool& accept)>;
using TDragDropEvent = std::function<void(core::TObject* sender, core::TObject* source, int x, int y)>;
using TEndDragEvent = std::function<void(core::TObject* sender, core::TObject* target, int x, int y)>;

// How far the mouse moves with the button held before an armed drag starts.
inline constexpr int DragThreshold = 5;

// The one drag of the process, armed or going on.
class TControlDrag {
public:
    // Arms a drag of source from the screen point (threshold < 0: DragThreshold),
    // or starts it at once; nothing while a drag is armed or going on.
    static void Begin(TControl* source, const QPoint& start, bool immediate, int threshold);
    // Ends the drag in hand, with a drop on the control under the mouse or without one.
    static void End(bool drop);
    // The control being dragged (or armed to be); null when none is.
    static TControl* Source();
    static bool Going();
    // A control that goes away leaves the drag: as its source the drag ends quietly.
    static void Forget(TControl* control);

private:
    class Watch;
    static void Start(const QPoint& point);
    // The mouse is at the screen point: the control under it is asked.
    static void MoveTo(const QPoint& point);
    static bool Ask(TControl* target, const QPoint& point, TDragState state);
    // Forgets the drag and takes its pointer and its watch away.
    static void Clear();
};

} // namespace ui
