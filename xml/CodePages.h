#pragma once
// Encoding names as XML declarations write them, and their Windows code pages.

#include "xml/TextEncoding.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace xml {

struct TCodepageInfo {
    const char* Name;
    std::int32_t CodePage;
};

// The known names in lookup order; the first row whose name matches wins.
std::span<const TCodepageInfo> CodepageInfos();

// The code page of the first row whose name equals name without regard to the
// case of ASCII letters; defaultCodePage when none does.
std::int32_t CodePageFromName(std::string_view name, std::int32_t defaultCodePage);
// By the code page (default 65001): 1200 utf-16, 1201 unicodeFFFE, 65001 utf-8,
// anything else ansi. An empty name gives utf-8.
TxTextEncoding EncodingFromName(std::string_view name);

} // namespace xml
