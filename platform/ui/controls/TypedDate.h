#pragma once
// A whole date typed into a date picker, read in the order in which the
// picker's date format shows day, month and year.
//
// The typed numbers are separated by any run of other characters ("30.4.2026",
// "30. 4. 2026", "30/4/2026"); a number that has its full width (two digits
// for the day and the month, the year's width in the format) ends by itself,
// so "05062007" reads as 05.06.2007. A date is whole only with every number
// present and the year in the format's full width: "30.4." or "30.4.20" under
// "d.m.yyyy" name no date, and neither does one the calendar does not have
// ("31.2.2020").

#include "platform/core/DateTime.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class TTypedDate {
public:
    // format: a date format of the class library ("d.m.yyyy").
    explicit TTypedDate(std::string_view format);

    // The format shows day, month and year as numbers, each once, and nothing else but literals.
    bool Readable() const { return readable_; }
    // The text can still grow into a whole date: no letters, at most three
    // numbers, none wider than its place allows.
    bool Takes(std::string_view text) const;
    // The date the text names, when it names a whole date that exists.
    std::optional<core::TDateTime> Date(std::string_view text) const;

private:
    enum class Part { Day, Month, Year };
    // The numbers of the text in their places; nullopt when it cannot be a date.
    std::optional<std::vector<std::string>> Numbers(std::string_view text) const;
    std::size_t Width(std::size_t place) const;

    std::array<Part, 3> order_{Part::Day, Part::Month, Part::Year};
    std::size_t yearDigits_ = 4;
    bool readable_ = false;
};

} // namespace ui
