#pragma once
// The device mode of a printer: the wanted paper, bin, orientation, copies,
// duplex, quality, colour and collation, with the field mask saying which of
// them the device knows. Codes and units are the documented device-mode ones
// (paper sizes in 0.1 mm), so the report's printer settings read and write
// them as they stand. A TPrinter maps them onto Qt's printer.

#include <cstdint>
#include <string>

namespace print {

// Field mask bits.
inline constexpr std::uint32_t DM_ORIENTATION = 0x00000001;
inline constexpr std::uint32_t DM_PAPERSIZE = 0x00000002;
inline constexpr std::uint32_t DM_PAPERLENGTH = 0x00000004;
inline constexpr std::uint32_t DM_PAPERWIDTH = 0x00000008;
inline constexpr std::uint32_t DM_COPIES = 0x00000100;
inline constexpr std::uint32_t DM_DEFAULTSOURCE = 0x00000200;
inline constexpr std::uint32_t DM_PRINTQUALITY = 0x00000400;
inline constexpr std::uint32_t DM_COLOR = 0x00000800;
inline constexpr std::uint32_t DM_DUPLEX = 0x00001000;
inline constexpr std::uint32_t DM_COLLATE = 0x00008000;

inline constexpr int DMORIENT_PORTRAIT = 1;
inline constexpr int DMORIENT_LANDSCAPE = 2;

// A few paper codes by name; every code from 1 to 118 that Qt knows works.
inline constexpr int DMPAPER_LETTER = 1;
inline constexpr int DMPAPER_LEGAL = 5;
inline constexpr int DMPAPER_A3 = 8;
inline constexpr int DMPAPER_A4 = 9;
inline constexpr int DMPAPER_A4SMALL = 10;
inline constexpr int DMPAPER_A5 = 11;
inline constexpr int DMPAPER_USER = 256;

inline constexpr int DMBIN_UPPER = 1;
inline constexpr int DMBIN_ONLYONE = 1;
inline constexpr int DMBIN_LOWER = 2;
inline constexpr int DMBIN_MIDDLE = 3;
inline constexpr int DMBIN_MANUAL = 4;
inline constexpr int DMBIN_ENVELOPE = 5;
inline constexpr int DMBIN_ENVMANUAL = 6;
inline constexpr int DMBIN_AUTO = 7;
inline constexpr int DMBIN_TRACTOR = 8;
inline constexpr int DMBIN_SMALLFMT = 9;
inline constexpr int DMBIN_LARGEFMT = 10;
inline constexpr int DMBIN_LARGECAPACITY = 11;
inline constexpr int DMBIN_CASSETTE = 14;
inline constexpr int DMBIN_FORMSOURCE = 15;

inline constexpr int DMRES_DRAFT = -1;
inline constexpr int DMRES_LOW = -2;
inline constexpr int DMRES_MEDIUM = -3;
inline constexpr int DMRES_HIGH = -4;

inline constexpr int DMCOLOR_MONOCHROME = 1;
inline constexpr int DMCOLOR_COLOR = 2;

inline constexpr int DMDUP_SIMPLEX = 1;
inline constexpr int DMDUP_VERTICAL = 2;
inline constexpr int DMDUP_HORIZONTAL = 3;

inline constexpr int DMCOLLATE_FALSE = 0;
inline constexpr int DMCOLLATE_TRUE = 1;

struct TDeviceMode {
    std::string DeviceName;
    std::uint32_t Fields = 0;
    int Orientation = DMORIENT_PORTRAIT;
    int PaperSize = DMPAPER_A4;
    // The paper in portrait, 0.1 mm; when both are set they override PaperSize.
    int PaperLength = 0;
    int PaperWidth = 0;
    int Copies = 1;
    int DefaultSource = DMBIN_AUTO;
    // Dots per inch, or a DMRES_ value.
    int PrintQuality = 0;
    int Color = DMCOLOR_COLOR;
    int Duplex = DMDUP_SIMPLEX;
    int Collate = DMCOLLATE_FALSE;

    bool Has(std::uint32_t mask) const { return (Fields & mask) == mask; }
    friend bool operator==(const TDeviceMode&, const TDeviceMode&) = default;
};

// The Czech name of a paper bin code.
std::string BinName(int bin);

} // namespace print
