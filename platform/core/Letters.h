#pragma once
// Letter case of text. Two families, as the class library has them:
// - UpperCase, LowerCase, SameText, CompareText touch ASCII letters only;
// - AnsiUpperCase, AnsiLowerCase, AnsiSameText, AnsiCompareText also fold the
//   Latin-1 and Latin Extended-A letters (every Czech letter), the same way on
//   every machine whatever the C locale says. SQL LIKE, INI keys and the XML
//   library's name search all use this one folding.

#include <string>
#include <string_view>

namespace core {

char32_t FoldUpper(char32_t cp);
char32_t FoldLower(char32_t cp);

std::string UpperCase(std::string_view text);
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
// Kept under a second name for code that wants to say it means ASCII only.
inline bool AsciiSameText(std::string_view a, std::string_view b) { return SameText(a, b); }

std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);
// Negative, 0 or positive as a sorts before, equal to or after b, ignoring letter case.
int AnsiCompareText(std::string_view a, std::string_view b);
bool AnsiSameText(std::string_view a, std::string_view b);
// Compares with letter case, code point by code point.
int AnsiCompareStr(std::string_view a, std::string_view b);

} // namespace core
