#include "app/update/VersionNumber.h"

#include <algorithm>

namespace app::update {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

} // namespace

std::optional<TVersionNumber> TVersionNumber::Parse(std::string_view line)
{
    while (!line.empty() && IsBlank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back()))
        line.remove_suffix(1);
    if (line.empty())
        return std::nullopt;

    TVersionNumber version;
    version.text_ = std::string(line);
    unsigned long part = 0;
    int digits = 0;
    for (char c : line) {
        if (c >= '0' && c <= '9') {
            if (++digits > 9)
                return std::nullopt;
            part = part * 10 + static_cast<unsigned long>(c - '0');
        } else if (c == '.' && digits > 0) {
            version.parts_.push_back(part);
            part = 0;
            digits = 0;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    version.parts_.push_back(part);
    return version;
}

std::strong_ordering TVersionNumber::operator<=>(const TVersionNumber& other) const
{
    const std::size_t count = std::max(parts_.size(), other.parts_.size());
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned long mine = i < parts_.size() ? parts_[i] : 0;
        const unsigned long theirs = i < other.parts_.size() ? other.parts_[i] : 0;
        if (mine != theirs)
            return mine <=> theirs;
    }
    return std::strong_ordering::equal;
}

std::string FirstLine(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    text = text.substr(0, text.find('\n'));
    if (text.ends_with('\r'))
        text.remove_suffix(1);
    return std::string(text);
}

} // namespace app::update
