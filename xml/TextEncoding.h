#pragma once
// The encodings of XML text and the signatures by which the first bytes of a
// text tell its encoding. Only ansi, utf-8 and the two UTF-16 forms are read
// and written; the others are recognised and refused.

#include <array>
#include <cstdint>

namespace xml {

enum TxTextEncoding : std::uint8_t {
    seAnsi = 0,
    seUtf8 = 1,
    seUtf16BE = 2, // "unicodeFFFE"
    seUtf16LE = 3, // "utf-16"
    seUtf32BE = 4,
    seUtf32LE = 5,
    seUcs4_2143 = 6,
    seUcs4_3412 = 7,
    seEbcdic = 8,
};

inline constexpr int kTextEncodingCount = 9;

// "ansi", "utf-8", "unicodeFFFE", "utf-16", "utf-32BE", "utf-32", "ucs4_2143", "ucs4_3412", "ebcdic".
extern const char* const EncodingNames[kTextEncodingCount];

struct TxEncodingSignature {
    std::array<std::uint8_t, 4> Pattern{};
    std::int32_t Length = 0;           // how many pattern bytes count
    TxTextEncoding Encoding = seAnsi;
    std::uint8_t MarkPresent = 0;      // 1: a byte-order mark to skip; 0: the text itself

    bool operator==(const TxEncodingSignature&) const = default;
};

inline constexpr int kEncodingSignatureCount = 15;

// The detection table, tried in order; rows 6 and 7 are also the marks that
// saving writes for UTF-16 big- and little-endian.
extern const TxEncodingSignature EncodingSignatures[kEncodingSignatureCount];

inline constexpr int kSignatureUtf16BE = 6;
inline constexpr int kSignatureUtf16LE = 7;

} // namespace xml
