#include "platform/ui/kernel/Graphics.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

namespace ui {

QColor ColorToQColor(TColor color)
{
    auto value = static_cast<std::uint32_t>(color);
    if ((value & 0x80000000u) != 0) {
        QPalette palette = QApplication::palette();
        switch (value & 0xFF) {
        case 0x05: return palette.color(QPalette::Base);
        case 0x08: return palette.color(QPalette::Text);
        case 0x0D: return palette.color(QPalette::Highlight);
        case 0x0E: return palette.color(QPalette::HighlightedText);
        case 0x11: return palette.color(QPalette::Disabled, QPalette::Text);
        case 0x12: return palette.color(QPalette::ButtonText);
        case 0x18: return palette.color(QPalette::ToolTipBase);
        default: return palette.color(QPalette::Window);
        }
    }
    if (color == clNone || color == clDefault)
        return QColor();
    return gfx::ColorToQColor(color);
}

} // namespace ui

namespace ui {

Qt::CursorShape CursorShape(TCursor cursor)
{
    switch (cursor) {
    case TCursor::crHandPoint: return Qt::PointingHandCursor;
    case TCursor::crHourGlass: return Qt::WaitCursor;
    case TCursor::crIBeam: return Qt::IBeamCursor;
    case TCursor::crDrag: return Qt::DragMoveCursor;
    case TCursor::crNoDrop: return Qt::ForbiddenCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace ui
