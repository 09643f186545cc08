#pragma once
// The ten 22 by 22 pictures of the navigators' buttons, in button order:
// first, prior, next, last, insert, delete, edit, post, cancel, refresh.

#include "platform/ui/controls/ImgList.h"

#include <QPixmap>

namespace app {

inline constexpr int NavigatorGlyphSize = 22;

QPixmap NavigatorGlyph(int index);
// Fills the list with the ten pictures, sizing it to 22 by 22 first.
void LoadNavigatorGlyphs(ui::TImageList& images);

} // namespace app
