#include "platform/gfx/Graphic.h"

#include "platform/core/Streams.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/GfxErrors.h"
#include "platform/gfx/PainterCanvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QString>

namespace gfx {

// The bitmap's own canvas: it starts painting on the picture when drawing
// begins and lets the bitmap end it whenever the picture is read.
class TBitmapCanvas : public TPainterCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : TPainterCanvas(nullptr), bitmap_(bitmap) {}

protected:
    QPainter* ActivePainter() override
    {
        bool begun = false;
        QPainter* painter = bitmap_.BeginPainting(begun);
        if (begun)
            PainterBegun(painter);
        return painter;
    }

private:
    TBitmap& bitmap_;
};

TBitmap::TBitmap() = default;

TBitmap::TBitmap(const QImage& image) : image_(image.convertToFormat(QImage::Format_RGB32)) {}

TBitmap::~TBitmap()
{
    EndPainting();
}

QPainter* TBitmap::BeginPainting(bool& begun)
{
    begun = false;
    if (image_.isNull())
        return nullptr;
    if (!painter_)
        painter_ = std::make_unique<QPainter>();
    if (!painter_->isActive())
        begun = painter_->begin(&image_);
    return painter_->isActive() ? painter_.get() : nullptr;
}

void TBitmap::EndPainting() const
{
    if (painter_ && painter_->isActive())
        painter_->end();
}

void TBitmap::SetSize(int width, int height)
{
    if (width == Width() && height == Height())
        return;
    EndPainting();
    QImage resized;
    if (width > 0 && height > 0) {
        resized = QImage(width, height, QImage::Format_RGB32);
        resized.fill(Qt::white);
        if (!image_.isNull()) {
            QPainter p(&resized);
            p.drawImage(0, 0, image_);
        }
    }
    image_ = resized;
}

TCanvas& TBitmap::Canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<TBitmapCanvas>(*this);
    return *canvas_;
}

const QImage& TBitmap::Image() const
{
    EndPainting();
    return image_;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) const
{
    canvas.DrawImage(rect, Image());
}

void TBitmap::Assign(core::TPersistent* source)
{
    auto* bitmap = dynamic_cast<TBitmap*>(source);
    if (bitmap == nullptr) {
        TGraphic::Assign(source);
        return;
    }
    if (bitmap == this)
        return;
    EndPainting();
    image_ = bitmap->Image().copy();
}

void TBitmap::LoadFromFile(const std::string& fileName)
{
    QImage image;
    if (!image.load(QString::fromStdString(fileName)))
        throw EInvalidGraphic("Cannot read the picture " + fileName);
    EndPainting();
    image_ = image.convertToFormat(QImage::Format_RGB32);
}

void TBitmap::SaveToFile(const std::string& fileName) const
{
    QString name = QString::fromStdString(fileName);
    const char* format = QFileInfo(name).suffix().isEmpty() ? "BMP" : nullptr;
    if (!Image().save(name, format))
        throw core::EFCreateError("Cannot create file \"" + fileName + "\"");
}

void TBitmap::LoadFromStream(core::TStream& stream)
{
    std::string bytes(static_cast<std::size_t>(stream.Size() - stream.Position()), '\0');
    stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size())))
        throw EInvalidGraphic("Bitmap image is not valid");
    EndPainting();
    image_ = image.convertToFormat(QImage::Format_RGB32);
}

void TBitmap::SaveToStream(core::TStream& stream) const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Image().save(&buffer, "BMP");
    stream.WriteBuffer(bytes.constData(), bytes.size());
}

} // namespace gfx
