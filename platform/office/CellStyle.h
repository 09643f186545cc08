#pragma once
// The look of a cell, and the pool in which a workbook keeps each distinct
// look once (cells refer to it by index; index 0 is the default look).
//
// Values are kept in the codes of the file format (line style 6 is double,
// horizontal alignment 2 is centre); the conversions from and to the
// automation's values are here too, so both sides use one table.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace office {

enum TEdge : std::uint8_t { edgeLeft = 0, edgeRight = 1, edgeTop = 2, edgeBottom = 3 };

struct TBorderLine {
    std::uint8_t style = 0;  // 0 none, 1 thin, 6 double ...
    std::uint8_t theme = 0;  // theme colour 1..12, 0 automatic

    bool operator==(const TBorderLine&) const = default;
};

struct TCellStyle {
    bool bold = false;
    std::uint8_t horizontal = 0;  // 0 general, 1 left, 2 centre, 3 right ...
    std::uint8_t vertical = 2;    // 0 top, 1 centre, 2 bottom ...
    bool wrap = false;
    std::string numberFormat = "General";
    std::array<TBorderLine, 4> borders{};  // indexed by TEdge

    bool operator==(const TCellStyle&) const = default;
};

struct TCellStyleHash {
    std::size_t operator()(const TCellStyle& style) const noexcept;
};

class TCellStylePool {
public:
    static constexpr std::uint32_t kDefault = 0;

    TCellStylePool();
    // The index of style, added when it is new.
    std::uint32_t Intern(const TCellStyle& style);
    const TCellStyle& operator[](std::uint32_t index) const { return styles_[index]; }
    std::size_t Count() const { return styles_.size(); }

private:
    std::vector<TCellStyle> styles_;
    std::unordered_map<TCellStyle, std::uint32_t, TCellStyleHash> index_;
};

// Automation value <-> file code; nullopt for a value the automation refuses.
std::optional<std::uint8_t> LineStyleCode(int lineStyle);
int LineStyleValue(std::uint8_t code);
std::optional<std::uint8_t> HorizontalCode(int alignment);
int HorizontalValue(std::uint8_t code);
std::optional<std::uint8_t> VerticalCode(int alignment);
int VerticalValue(std::uint8_t code);

} // namespace office
