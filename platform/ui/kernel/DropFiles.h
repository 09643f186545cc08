#pragma once
// Files dropped on a window from the desktop.
//
// A window registered with DragAcceptFiles takes drags of local files (Qt's
// drag and drop of file URLs). When the files are dropped, the platform makes a
// drop handle that lists them and, once the drop itself is over, sends
// WM_DROPFILES to the window's procedure with the handle in WParam. The
// procedure reads the names with DragQueryFile and gives the handle back with
// DragFinish; a handle that the procedure did not give back is released after
// it returns. A handle that was given back is unknown from then on: queries on
// it answer 0 and DragFinish does nothing.

#include "platform/ui/kernel/Messages.h"

#include <string>
#include <vector>

namespace ui {

struct TDropHandle;
using HDROP = TDropHandle*;

// The index that asks DragQueryFile for the number of files.
inline constexpr UINT DragFileCount = 0xFFFFFFFF;

// Registers a window for dropped files (accept) or takes it off again.
void DragAcceptFiles(HWND window, bool accept);
// True while the window takes dropped files.
bool AcceptsDroppedFiles(HWND window);

// With index DragFileCount: the number of files. With no buffer: the length in
// bytes of name number index (UTF-8), without the closing zero. Else copies at
// most size - 1 bytes of the name and a closing zero into buffer and answers
// the bytes copied. 0 for an unknown handle or index.
UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size);
// Where the files were dropped, in the window's client coordinates.
bool DragQueryPoint(HDROP drop, TPoint& point);
// Gives the handle back.
void DragFinish(HDROP drop);

// A new drop handle listing files, as a drop makes one. Tests make their own.
HDROP NewDropHandle(std::vector<std::string> files, TPoint point = {});
// True until the handle is given back.
bool DropHandleLive(HDROP drop);

// What a drop on a registered window does once the drop is over: a new handle,
// WM_DROPFILES to the procedure of the window's control, the handle released
// if the procedure kept it. An exception of the procedure goes to the
// application's default handler.
void DeliverDroppedFiles(HWND window, std::vector<std::string> files, TPoint point = {});

} // namespace ui
