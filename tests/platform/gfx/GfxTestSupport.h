#pragma once
// Small readers shared by the drawing tests.

#include "platform/gfx/Metafile.h"

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

namespace gfxtest {

inline std::uint32_t U32(const std::string& bytes, std::size_t offset)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(bytes.at(offset + static_cast<std::size_t>(i)));
    return v;
}

inline std::int32_t I32(const std::string& bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(U32(bytes, offset));
}

inline std::uint16_t U16(const std::string& bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes.at(offset)) |
                                      (static_cast<std::uint8_t>(bytes.at(offset + 1)) << 8));
}

inline std::vector<std::uint32_t> RecordTypes(const gfx::TMetafile& metafile)
{
    std::vector<std::uint32_t> types;
    for (const gfx::TEmfRecord& record : metafile.Records())
        types.push_back(record.Type);
    return types;
}

// The bytes of the first record of a type.
inline std::string FirstRecord(const gfx::TMetafile& metafile, std::uint32_t type)
{
    std::string data = metafile.Data();
    for (const gfx::TEmfRecord& record : metafile.Records())
        if (record.Type == type)
            return data.substr(record.Offset, record.Size);
    return {};
}

// The bytes of every record of a type, in order.
inline std::vector<std::string> Records(const gfx::TMetafile& metafile, std::uint32_t type)
{
    std::string data = metafile.Data();
    std::vector<std::string> records;
    for (const gfx::TEmfRecord& record : metafile.Records())
        if (record.Type == type)
            records.push_back(data.substr(record.Offset, record.Size));
    return records;
}

inline QImage WhiteImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

inline bool IsDark(QRgb pixel)
{
    return qGray(pixel) < 128;
}

// Dark pixels inside (or, with inside false, outside) a box [left, right) x [top, bottom).
inline int DarkPixels(const QImage& image, int left, int top, int right, int bottom, bool inside = true)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            bool in = x >= left && x < right && y >= top && y < bottom;
            if (in == inside && IsDark(image.pixel(x, y)))
                ++count;
        }
    return count;
}

} // namespace gfxtest
