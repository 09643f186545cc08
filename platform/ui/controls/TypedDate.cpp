#include "platform/ui/controls/TypedDate.h"

#include "platform/core/FormatSettings.h"

#include <cctype>

namespace ui {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

TTypedDate::TTypedDate(std::string_view format)
{
    // The letters of the format in their runs, quoted literals left out.
    std::size_t found = 0;
    bool day = false, month = false, year = false;
    for (std::size_t i = 0; i < format.size();) {
        const char c = format[i];
        if (c == '\'' || c == '"') {
            const std::size_t close = format.find(c, i + 1);
            i = close == std::string_view::npos ? format.size() : close + 1;
            continue;
        }
        std::size_t run = 1;
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        while (i + run < format.size() && std::tolower(static_cast<unsigned char>(format[i + run])) == lower)
            ++run;
        i += run;
        if (!std::isalpha(static_cast<unsigned char>(c)))
            continue;
        Part part;
        if (lower == 'd' && run <= 2 && !day) {
            part = Part::Day;
            day = true;
        } else if (lower == 'm' && run <= 2 && !month) {
            part = Part::Month;
            month = true;
        } else if (lower == 'y' && !year) {
            part = Part::Year;
            year = true;
            yearDigits_ = run <= 2 ? 2 : 4;
        } else if (lower == 'g') {
            continue; // the era shows nothing
        } else {
            return; // names of days or months, times, a part twice
        }
        order_[found++] = part;
    }
    readable_ = day && month && year;
}

std::size_t TTypedDate::Width(std::size_t place) const { return order_[place] == Part::Year ? yearDigits_ : 2; }

std::optional<std::vector<std::string>> TTypedDate::Numbers(std::string_view text) const
{
    if (!readable_)
        return std::nullopt;
    std::vector<std::string> numbers;
    std::string current;
    for (const char c : text) {
        if (IsDigit(c)) {
            if (current.size() == Width(numbers.size())) {
                numbers.push_back(current);
                current.clear();
            }
            if (numbers.size() == 3)
                return std::nullopt;
            current += c;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80) {
            return std::nullopt;
        } else if (!current.empty()) {
            numbers.push_back(current);
            current.clear();
        }
    }
    if (!current.empty())
        numbers.push_back(current);
    return numbers;
}

bool TTypedDate::Takes(std::string_view text) const { return Numbers(text).has_value(); }

std::optional<core::TDateTime> TTypedDate::Date(std::string_view text) const
{
    const auto numbers = Numbers(text);
    if (!numbers || numbers->size() != 3)
        return std::nullopt;
    int day = 0, month = 0;
    std::string year;
    for (std::size_t place = 0; place < 3; ++place) {
        const std::string& number = (*numbers)[place];
        switch (order_[place]) {
        case Part::Day: day = std::stoi(number); break;
        case Part::Month: month = std::stoi(number); break;
        case Part::Year: year = number; break;
        }
    }
    if (year.size() != yearDigits_)
        return std::nullopt;
    // The class library's conversion checks the day and puts a two-digit
    // year into the hundred years it chooses.
    core::TFormatSettings settings = core::FormatSettings;
    settings.ShortDateFormat.assign("d/m/y");
    settings.DateSeparator.assign(1, '/');
    core::TDateTime date;
    if (!core::TryStrToDate(std::to_string(day) + "/" + std::to_string(month) + "/" + year, date, settings))
        return std::nullopt;
    return date;
}

} // namespace ui
