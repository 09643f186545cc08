#pragma once
// A list of pictures of one size, shared by controls (navigator glyphs).

#include "platform/core/Component.h"

#include <QPixmap>

#include <vector>

namespace ui {

class TImageList : public core::TComponent {
public:
    explicit TImageList(core::TComponent* owner) : core::TComponent(owner) {}
    std::string ClassName() const override { return "TImageList"; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size empties the list.
    void SetSize(int width, int height);

    int Count() const { return static_cast<int>(images_.size()); }
    // Adds a picture, scaled to the list's size when it differs; returns its index.
    int Add(const QPixmap& picture);
    // The picture at index; an index out of range raises EListError.
    const QPixmap& Bitmap(int index) const;
    void Clear() { images_.clear(); }

private:
    int width_ = 16;
    int height_ = 16;
    std::vector<QPixmap> images_;
};

} // namespace ui
