#pragma once
// A recorded page: an enhanced metafile in the documented byte layout. The
// picture is kept as its bytes, so a stored page is saved back exactly as it
// was read, and its records can be enumerated (the page search reads its text
// records). Pages are recorded with a TMetafileCanvas and drawn with
// TCanvas::StretchDraw, or on a painter with PlayEnhMetafile.
//
// Coordinates: logical units are device pixels of the reference device the
// page was recorded for (the screen unless the recording canvas names another
// resolution). The header's frame gives the page size in 0.01 mm, its device
// and micrometre sizes give the reference resolution, so Width and Height (in
// reference pixels) are the frame in those pixels. Drawing maps the frame
// onto the target rectangle.

#include "platform/gfx/Graphic.h"
#include "platform/gfx/Types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace core {
class TStream;
}

namespace gfx {

struct TEmfRecord {
    std::uint32_t Type = 0;
    std::uint32_t Offset = 0; // from the start of the metafile
    std::uint32_t Size = 0;
};

class TMetafile : public TGraphic {
public:
    TMetafile();
    // A page can be handed on as a value; the source is left empty.
    TMetafile(TMetafile&& other) noexcept;
    TMetafile& operator=(TMetafile&& other) noexcept;
    std::string ClassName() const override { return "TMetafile"; }

    // Size in pixels of the reference device.
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void SetWidth(int width);
    void SetHeight(int height);
    // Size in 0.01 mm.
    int MMWidth() const { return mmWidth_; }
    int MMHeight() const { return mmHeight_; }
    void SetMMWidth(int mmWidth);
    void SetMMHeight(int mmHeight);
    // Pixels per inch of the reference device.
    double PixelsPerInchX() const { return ppiX_; }
    double PixelsPerInchY() const { return ppiY_; }
    // Logical coordinates of the frame's top left corner (0, 0 for our pages).
    TPoint Origin() const { return origin_; }

    // Only enhanced metafiles are written; asking for the older format raises.
    bool Enhanced() const { return true; }
    void SetEnhanced(bool enhanced);

    // True when nothing was recorded or loaded.
    bool Empty() const override { return bytes_.empty(); }
    void Clear();

    void Draw(TCanvas& canvas, const TRect& rect) const override;
    void Assign(core::TPersistent* source) override;

    // Writes the metafile's bytes (an empty picture of the current size when
    // nothing was recorded).
    void SaveToStream(core::TStream& stream) const;
    // Reads one metafile from the stream's position, exactly as many bytes as
    // its header says, and leaves the position after it. A damaged or foreign
    // file raises EInvalidGraphic and leaves the picture unchanged.
    void LoadFromStream(core::TStream& stream);
    void SaveToFile(const std::string& fileName) const;
    void LoadFromFile(const std::string& fileName);

    // The bytes of the whole metafile.
    std::string Data() const;
    // Every record in order, the header first and the end record last.
    const std::vector<TEmfRecord>& Records() const { return records_; }
    const std::uint8_t* RecordData(const TEmfRecord& record) const;

private:
    friend class TMetafileCanvas;
    // Takes a complete metafile; raises EInvalidGraphic when it is not valid.
    void SetData(std::string bytes);
    void ReadHeader();
    void PatchFrame();

    std::string bytes_;
    std::vector<TEmfRecord> records_;
    int width_ = 0;
    int height_ = 0;
    int mmWidth_ = 0;
    int mmHeight_ = 0;
    double ppiX_ = 96;
    double ppiY_ = 96;
    TPoint origin_;
};

// The header record of a metafile of devicePixels at pixelsPerInch; bounds in
// logical units and frame in 0.01 mm, both inclusive.
std::string BuildMetafileHeader(const TRect& bounds, const TRect& frame, const TSize& devicePixels,
                                double pixelsPerInch, std::uint32_t totalBytes, std::uint32_t recordCount,
                                std::uint16_t handleCount);

} // namespace gfx
