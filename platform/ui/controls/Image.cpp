#include "platform/ui/controls/Image.h"

#include <QLabel>

namespace ui {

TImage::TImage(core::TComponent* owner) : TControl(owner)
{
    auto* label = new QLabel;
    label->setAttribute(Qt::WA_TranslucentBackground);
    SetWidget(label);
    SetBounds(0, 0, 105, 105);
    ShowPicture();
}

QLabel* TImage::label() const
{
    return static_cast<QLabel*>(Widget());
}

void TImage::SetPicture(const QPixmap& picture)
{
    picture_ = picture;
    ShowPicture();
}

void TImage::SetStretch(bool stretch)
{
    stretch_ = stretch;
    ShowPicture();
}

void TImage::SetCenter(bool center)
{
    center_ = center;
    ShowPicture();
}

void TImage::ShowPicture()
{
    if (label() == nullptr)
        return;
    label()->setScaledContents(stretch_);
    label()->setAlignment(center_ ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    label()->setPixmap(picture_);
}

} // namespace ui
