#pragma once
// Pictures that a canvas can draw: the base class, and the bitmap (an image
// in memory with a canvas of its own). The recorded page is in Metafile.h.

#include "platform/core/Component.h"
#include "platform/gfx/Types.h"

#include <QImage>

#include <memory>
#include <string>

class QPainter;

namespace core {
class TStream;
}

namespace gfx {

class TCanvas;

class TGraphic : public core::TPersistent {
public:
    std::string ClassName() const override { return "TGraphic"; }

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const = 0;
    // Draws the picture scaled into rect.
    virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
};

class TBitmapCanvas;

class TBitmap : public TGraphic {
public:
    TBitmap();
    explicit TBitmap(const QImage& image);
    ~TBitmap() override;
    std::string ClassName() const override { return "TBitmap"; }

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    bool Empty() const override { return image_.isNull(); }
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    // New pixels are white; the existing picture keeps its place.
    void SetSize(int width, int height);

    // A canvas that draws on the picture; it stays valid as long as the bitmap.
    TCanvas& Canvas();
    // The picture with everything drawn on the canvas so far.
    const QImage& Image() const;

    void Draw(TCanvas& canvas, const TRect& rect) const override;
    void Assign(core::TPersistent* source) override;

    // Reads any image format that Qt knows; raises EInvalidGraphic otherwise.
    void LoadFromFile(const std::string& fileName);
    // The format follows the extension; without one the file is a BMP.
    void SaveToFile(const std::string& fileName) const;
    void LoadFromStream(core::TStream& stream);
    // Writes a BMP file.
    void SaveToStream(core::TStream& stream) const;

private:
    friend class TBitmapCanvas;
    // Starts painting on the picture unless it runs; begun tells whether it started now.
    QPainter* BeginPainting(bool& begun);
    void EndPainting() const;

    mutable QImage image_;
    mutable std::unique_ptr<QPainter> painter_;
    std::unique_ptr<TBitmapCanvas> canvas_;
};

} // namespace gfx
