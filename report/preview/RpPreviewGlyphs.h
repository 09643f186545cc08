#pragma once
// The pictures of the preview's tool bar, drawn in code so that they look the
// same on every desktop theme.

#include <QPixmap>

namespace report {

enum class TRpPreviewGlyph {
    ZoomFit,
    ZoomToWidth,
    Zoom100,
    FirstPage,
    PreviousPage,
    NextPage,
    LastPage,
    GotoPage,
    Find,
    PrintSetup,
    Print,
    Save,
    Load,
};

inline constexpr int kRpPreviewGlyphCount = 13;
inline constexpr int kRpPreviewGlyphSize = 16;

QPixmap RpPreviewGlyph(TRpPreviewGlyph glyph);

} // namespace report
