#pragma once
// What the drawing layer needs to know of the screen.

namespace gfx {

// Logical pixels per inch of the primary screen; 96 when there is no screen
// (no GUI application object, as in a program that only records pages).
int ScreenPixelsPerInch();

} // namespace gfx
