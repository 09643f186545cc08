#pragma once
// A dotted version number ("2.1", "2.10.3") read from the first line of a
// version file, compared part by part as numbers.

#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app::update {

class TVersionNumber {
public:
    // The number a line holds: one or more groups of up to nine digits joined
    // by single dots, with blanks around it allowed; nothing else.
    static std::optional<TVersionNumber> Parse(std::string_view line);

    // Missing trailing parts count as 0, so 2.1 equals 2.1.0 and 2.10 is newer than 2.9.
    std::strong_ordering operator<=>(const TVersionNumber& other) const;
    bool operator==(const TVersionNumber& other) const { return (*this <=> other) == 0; }

    // The number as it was written, without the blanks.
    const std::string& Text() const { return text_; }

private:
    std::vector<unsigned long> parts_;
    std::string text_;
};

// The first line of a text: up to the first line end, without a leading
// UTF-8 byte order mark and without the line end (LF or CR LF).
std::string FirstLine(std::string_view text);

} // namespace app::update
