#include "platform/ui/controls/ImgList.h"

#include "platform/core/Exceptions.h"

namespace ui {

void TImageList::SetSize(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    width_ = width;
    height_ = height;
    images_.clear();
}

int TImageList::Add(const QPixmap& picture)
{
    if (picture.width() != width_ || picture.height() != height_)
        images_.push_back(picture.scaled(width_, height_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    else
        images_.push_back(picture);
    return Count() - 1;
}

const QPixmap& TImageList::Bitmap(int index) const
{
    if (index < 0 || index >= Count())
        throw core::EListError("Image index out of bounds (" + std::to_string(index) + ")");
    return images_[static_cast<size_t>(index)];
}

} // namespace ui
