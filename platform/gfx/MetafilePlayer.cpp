#include "platform/gfx/MetafilePlayer.h"

#include "platform/core/CodePage.h"
#include "platform/core/Unicode.h"
#include "platform/gfx/EmfFormat.h"
#include "platform/gfx/PainterDC.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <variant>

namespace gfx {

namespace {

using TObjectEntry = std::variant<std::monostate, TLogPen, TLogBrush, TLogFont>;

constexpr std::uint32_t EMR_BITBLT = 76;
constexpr std::uint32_t EMR_EXTCREATEPEN = 95;
constexpr std::uint32_t PATCOPY = 0x00F00021;
constexpr std::uint32_t ETO_PDY = 0x2000;
constexpr std::uint32_t kMaximumHandles = 65536;

TLogFont StockFont(std::uint32_t index)
{
    TLogFont font;
    font.Height = -13;
    if (index == 10 || index == 11 || index == 16) {
        font.PitchAndFamily = FIXED_PITCH;
        font.FaceName = u"Monospace";
    }
    return font;
}

void SelectStock(TPainterDC& dc, std::uint32_t index)
{
    switch (index) {
    case 0: dc.SelectBrush({BS_SOLID, 0xFFFFFF, 0}); break;
    case 1: dc.SelectBrush({BS_SOLID, 0xC0C0C0, 0}); break;
    case 2: dc.SelectBrush({BS_SOLID, 0x808080, 0}); break;
    case 3: dc.SelectBrush({BS_SOLID, 0x404040, 0}); break;
    case 4: dc.SelectBrush({BS_SOLID, 0x000000, 0}); break;
    case 5: dc.SelectBrush({BS_NULL, 0, 0}); break;
    case 6: dc.SelectPen({PS_SOLID, 0, 0xFFFFFF}); break;
    case 7: dc.SelectPen({PS_SOLID, 0, 0x000000}); break;
    case 8: dc.SelectPen({PS_NULL, 0, 0}); break;
    case 10: case 11: case 12: case 13: case 14: case 16: case 17: dc.SelectFont(StockFont(index)); break;
    default: break;
    }
}

// A device-independent bitmap of 24 or 32 bits per pixel without compression.
QImage ReadBitmap(const emf::TRecordReader& r, std::uint32_t infoOffset, std::uint32_t infoSize,
                  std::uint32_t bitsOffset, std::uint32_t bitsSize)
{
    if (infoSize < emf::kBitmapInfoHeaderSize || !r.Has(infoOffset, infoSize) || !r.Has(bitsOffset, bitsSize))
        return {};
    std::int32_t width = r.I32(infoOffset + 4);
    std::int32_t height = r.I32(infoOffset + 8);
    std::uint16_t bitCount = r.U16(infoOffset + 14);
    std::uint32_t compression = r.U32(infoOffset + 16);
    if (width <= 0 || height == 0 || compression != emf::BI_RGB || (bitCount != 24 && bitCount != 32))
        return {};
    bool bottomUp = height > 0;
    std::int64_t rows = bottomUp ? height : -static_cast<std::int64_t>(height);
    std::uint32_t bytesPerPixel = bitCount / 8;
    std::uint64_t stride = (static_cast<std::uint64_t>(width) * bytesPerPixel + 3) & ~std::uint64_t{3};
    if (stride * static_cast<std::uint64_t>(rows) > bitsSize || rows > 65536 || width > 65536)
        return {};
    QImage image(width, static_cast<int>(rows), QImage::Format_RGB32);
    const std::uint8_t* bits = r.Data() + bitsOffset;
    for (std::int64_t y = 0; y < rows; ++y) {
        const std::uint8_t* source = bits + stride * static_cast<std::uint64_t>(bottomUp ? rows - 1 - y : y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)));
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint8_t* pixel = source + static_cast<std::size_t>(x) * bytesPerPixel;
            line[x] = qRgb(pixel[2], pixel[1], pixel[0]);
        }
    }
    return image;
}

class TPlayer {
public:
    TPlayer(QPainter& painter, std::uint32_t handles) : dc_(&painter), objects_(std::max<std::uint32_t>(handles, 1)) {}

    void Play(std::uint32_t type, const emf::TRecordReader& r);

private:
    void SelectObject(std::uint32_t index);
    void Store(std::uint32_t index, TObjectEntry entry);
    void TextOut(std::uint32_t type, const emf::TRecordReader& r);

    TPainterDC dc_;
    std::vector<TObjectEntry> objects_;
};

void TPlayer::Store(std::uint32_t index, TObjectEntry entry)
{
    if (index == 0 || index >= kMaximumHandles)
        return;
    if (index >= objects_.size())
        objects_.resize(index + 1);
    objects_[index] = std::move(entry);
}

void TPlayer::SelectObject(std::uint32_t index)
{
    if ((index & emf::STOCK_OBJECT) != 0) {
        SelectStock(dc_, index & ~emf::STOCK_OBJECT);
        return;
    }
    if (index >= objects_.size())
        return;
    const TObjectEntry& entry = objects_[index];
    if (const auto* pen = std::get_if<TLogPen>(&entry))
        dc_.SelectPen(*pen);
    else if (const auto* brush = std::get_if<TLogBrush>(&entry))
        dc_.SelectBrush(*brush);
    else if (const auto* font = std::get_if<TLogFont>(&entry))
        dc_.SelectFont(*font);
}

void TPlayer::TextOut(std::uint32_t type, const emf::TRecordReader& r)
{
    TPoint reference{r.I32(36), r.I32(40)};
    std::uint32_t options = r.U32(52);
    bool hasRect = (options & ETO_NO_RECT) == 0;
    TRect rect = hasRect ? r.Rect(56) : TRect{};
    std::uint32_t dxOffset = r.U32(hasRect ? 72 : 56);
    std::optional<std::u16string> text = TextRecordString({type, 0, r.Size()}, r.Data());
    if (!text)
        return;
    std::uint32_t count = r.U32(44);
    std::vector<std::int32_t> dx;
    std::uint32_t step = (options & ETO_PDY) != 0 ? 8 : 4;
    if (dxOffset != 0 && count > 0 && r.Has(dxOffset, count * step) && count == text->size()) {
        dx.resize(count);
        for (std::uint32_t i = 0; i < count; ++i)
            dx[i] = r.I32(dxOffset + i * step);
    }
    const TRect* clip = hasRect && (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0 ? &rect : nullptr;
    dc_.ExtTextOut(reference.X, reference.Y, options & ~ETO_PDY, clip, *text, dx.empty() ? nullptr : &dx);
}

void TPlayer::Play(std::uint32_t type, const emf::TRecordReader& r)
{
    switch (type) {
    case emf::EMR_SETBKMODE: dc_.SetBkMode(r.U32(8)); break;
    case emf::EMR_SETTEXTCOLOR: dc_.SetTextColor(r.U32(8)); break;
    case emf::EMR_SETBKCOLOR: dc_.SetBkColor(r.U32(8)); break;
    case emf::EMR_SETTEXTALIGN: dc_.SetTextAlign(r.U32(8)); break;
    case emf::EMR_SETROP2: dc_.SetRop2(r.U32(8)); break;
    case emf::EMR_MOVETOEX: dc_.MoveTo(r.I32(8), r.I32(12)); break;
    case emf::EMR_LINETO: dc_.LineTo(r.I32(8), r.I32(12)); break;
    case emf::EMR_RECTANGLE: dc_.Rectangle(r.Rect(8)); break;
    case emf::EMR_ELLIPSE: dc_.Ellipse(r.Rect(8)); break;
    case emf::EMR_ROUNDRECT: dc_.RoundRect(r.Rect(8), r.I32(24), r.I32(28)); break;
    case emf::EMR_INTERSECTCLIPRECT: dc_.IntersectClipRect(r.Rect(8)); break;
    case emf::EMR_EXCLUDECLIPRECT: dc_.ExcludeClipRect(r.Rect(8)); break;
    case emf::EMR_EXTSELECTCLIPRGN: {
        std::uint32_t dataSize = r.U32(8);
        std::uint32_t mode = r.U32(12);
        if (dataSize == 0) {
            if (mode == emf::RGN_COPY)
                dc_.ResetClip();
            break;
        }
        // Region data: a 32-byte header with the rectangle count, then the rectangles.
        std::uint32_t count = r.U32(16 + 8);
        QRegion region;
        for (std::uint32_t i = 0; i < count && r.Has(48 + i * 16, 16); ++i) {
            TRect box = r.Rect(48 + i * 16);
            region += QRect(QPoint(box.Left, box.Top), QPoint(box.Right - 1, box.Bottom - 1));
        }
        dc_.SelectClipRegion(region, mode);
        break;
    }
    case emf::EMR_SAVEDC: dc_.SaveDC(); break;
    case emf::EMR_RESTOREDC: dc_.RestoreDC(r.I32(8)); break;
    case emf::EMR_SELECTOBJECT: SelectObject(r.U32(8)); break;
    case emf::EMR_DELETEOBJECT: Store(r.U32(8), std::monostate{}); break;
    case emf::EMR_CREATEPEN: Store(r.U32(8), TLogPen{r.U32(12), r.I32(16), r.U32(24)}); break;
    case EMR_EXTCREATEPEN:
        Store(r.U32(8), TLogPen{r.U32(28) & PS_STYLE_MASK, r.I32(32), r.U32(40)});
        break;
    case emf::EMR_CREATEBRUSHINDIRECT: Store(r.U32(8), TLogBrush{r.U32(12), r.U32(16), r.U32(20)}); break;
    case emf::EMR_EXTCREATEFONTINDIRECTW: Store(r.U32(8), emf::ReadLogFont(r, 12)); break;
    case emf::EMR_EXTTEXTOUTA:
    case emf::EMR_EXTTEXTOUTW: TextOut(type, r); break;
    case EMR_BITBLT:
        // Without a source bitmap and with the pattern copy it is a fill with the brush.
        if (r.U32(40) == PATCOPY && r.U32(88) == 0) {
            std::int32_t x = r.I32(24), y = r.I32(28);
            dc_.PatBlt({x, y, x + r.I32(32), y + r.I32(36)});
        }
        break;
    case emf::EMR_STRETCHDIBITS: {
        QImage image = ReadBitmap(r, r.U32(48), r.U32(52), r.U32(56), r.U32(60));
        if (image.isNull())
            break;
        std::int32_t x = r.I32(24), y = r.I32(28);
        QRect source(r.I32(32), r.I32(36), r.I32(40), r.I32(44));
        // The source rectangle counts rows from the bottom of the bitmap.
        source.moveTop(image.height() - source.top() - source.height());
        dc_.StretchImage({x, y, x + r.I32(72), y + r.I32(76)}, image, source.intersected(image.rect()));
        break;
    }
    default: break;
    }
}

} // namespace

void PlayEnhMetafile(QPainter& painter, const TMetafile& metafile, const QRectF& dest)
{
    if (metafile.Empty() || metafile.Width() <= 0 || metafile.Height() <= 0)
        return;
    const std::vector<TEmfRecord>& records = metafile.Records();
    emf::TRecordReader header(metafile.RecordData(records.front()), records.front().Size);

    painter.save();
    painter.translate(dest.left(), dest.top());
    painter.scale(dest.width() / metafile.Width(), dest.height() / metafile.Height());
    painter.translate(-metafile.Origin().X, -metafile.Origin().Y);
    {
        TPlayer player(painter, header.U16(56));
        for (const TEmfRecord& record : records) {
            if (record.Type == emf::EMR_EOF)
                break;
            player.Play(record.Type, emf::TRecordReader(metafile.RecordData(record), record.Size));
        }
    }
    painter.restore();
}

bool EnumerateMetafileRecords(const TMetafile& metafile,
                              const std::function<bool(const TEmfRecord& record, const std::uint8_t* data)>& visit)
{
    for (const TEmfRecord& record : metafile.Records()) {
        if (!visit(record, metafile.RecordData(record)))
            return false;
    }
    return true;
}

std::optional<std::u16string> TextRecordString(const TEmfRecord& record, const std::uint8_t* data)
{
    if (record.Type != emf::EMR_EXTTEXTOUTW && record.Type != emf::EMR_EXTTEXTOUTA)
        return std::nullopt;
    emf::TRecordReader r(data, record.Size);
    std::uint32_t count = r.U32(44);
    std::uint32_t offset = r.U32(48);
    if (record.Type == emf::EMR_EXTTEXTOUTW) {
        if (count > r.Size() / 2 || !r.Has(offset, count * 2))
            return std::nullopt;
        std::u16string text(count, u'\0');
        for (std::uint32_t i = 0; i < count; ++i)
            text[i] = static_cast<char16_t>(r.U16(offset + 2 * i));
        return text;
    }
    if (!r.Has(offset, count))
        return std::nullopt;
    std::string_view bytes(reinterpret_cast<const char*>(data + offset), count);
    return core::Utf8ToUtf16(core::AnsiToUtf8(bytes));
}

std::vector<std::string> MetafileTexts(const TMetafile& metafile)
{
    std::vector<std::string> texts;
    EnumerateMetafileRecords(metafile, [&texts](const TEmfRecord& record, const std::uint8_t* data) {
        if (std::optional<std::u16string> text = TextRecordString(record, data))
            texts.push_back(core::Utf16ToUtf8(*text));
        return true;
    });
    return texts;
}

} // namespace gfx
