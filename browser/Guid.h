#pragma once
// Globally unique identifiers of interfaces, services and command groups,
// written "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".

#include "platform/core/Exceptions.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace browser {

struct TGUID {
    std::uint32_t D1 = 0;
    std::uint16_t D2 = 0;
    std::uint16_t D3 = 0;
    std::array<std::uint8_t, 8> D4{};

    bool operator==(const TGUID&) const = default;

    // Reads the braced form; raises EConvertError (a compile error in a constant) for anything else.
    static constexpr TGUID Parse(std::string_view text);
    // The braced form in capitals.
    std::string ToString() const;
};

inline constexpr TGUID GUID_NULL{};

constexpr TGUID TGUID::Parse(std::string_view text)
{
    // Positions of the 32 hexadecimal digits inside "{8-4-4-4-12}".
    constexpr std::array<int, 16> bytes{1, 3, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 29, 31, 33, 35};
    if (text.size() != 38 || text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-'
        || text[24] != '-' || text[37] != '}')
        throw core::EConvertError("'" + std::string(text) + "' is not a valid GUID value");
    auto digit = [&](std::size_t at) -> std::uint32_t {
        const char c = text[at];
        if (c >= '0' && c <= '9')
            return static_cast<std::uint32_t>(c - '0');
        if (c >= 'A' && c <= 'F')
            return static_cast<std::uint32_t>(c - 'A' + 10);
        if (c >= 'a' && c <= 'f')
            return static_cast<std::uint32_t>(c - 'a' + 10);
        throw core::EConvertError("'" + std::string(text) + "' is not a valid GUID value");
    };
    std::array<std::uint8_t, 16> value{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto at = static_cast<std::size_t>(bytes[i]);
        value[i] = static_cast<std::uint8_t>((digit(at) << 4) | digit(at + 1));
    }
    TGUID guid;
    guid.D1 = (std::uint32_t{value[0]} << 24) | (std::uint32_t{value[1]} << 16) | (std::uint32_t{value[2]} << 8)
        | value[3];
    guid.D2 = static_cast<std::uint16_t>((value[4] << 8) | value[5]);
    guid.D3 = static_cast<std::uint16_t>((value[6] << 8) | value[7]);
    for (std::size_t i = 0; i < 8; ++i)
        guid.D4[i] = value[8 + i];
    return guid;
}

inline std::string TGUID::ToString() const
{
    constexpr char hex[] = "0123456789ABCDEF";
    std::string text = "{";
    auto put = [&](std::uint32_t value, int digits) {
        for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
            text += hex[(value >> shift) & 0xF];
    };
    put(D1, 8);
    text += '-';
    put(D2, 4);
    text += '-';
    put(D3, 4);
    text += '-';
    put(D4[0], 2);
    put(D4[1], 2);
    text += '-';
    for (std::size_t i = 2; i < 8; ++i)
        put(D4[i], 2);
    return text + "}";
}

} // namespace browser
