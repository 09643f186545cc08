#pragma once
// Values that stand ready for export filters: the default font of a text
// export and the base fonts that every PDF reader has. No filter of this
// program reads them yet.

#include <array>
#include <string_view>

namespace report {

inline constexpr std::string_view kExportDefaultFontName = "Arial";
inline constexpr int kExportDefaultFontSize = 12;

inline constexpr std::array<std::string_view, 5> kPdfBaseFontNames = {"Courier", "Helvetica", "Times", "Symbol",
                                                                      "ZapfDingbats"};

} // namespace report
