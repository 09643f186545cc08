#include "platform/core/SystemCodePages.h"

#include <cerrno>
#include <iconv.h>
#include <memory>
#include <mutex>
#include <vector>

namespace core {

namespace {

struct SystemName {
    unsigned codePage;
    const char* name;
};

// The single-byte code pages, ASCII in their lower half, that the converter knows.
constexpr SystemName kSystemNames[] = {
    {437, "CP437"},          {708, "ASMO-708"},     {737, "CP737"},         {775, "CP775"},
    {850, "CP850"},          {852, "CP852"},        {855, "CP855"},         {857, "CP857"},
    {858, "CP858"},          {860, "CP860"},        {861, "CP861"},         {862, "CP862"},
    {863, "CP863"},          {864, "CP864"},        {865, "CP865"},         {866, "CP866"},
    {869, "CP869"},          {874, "CP874"},        {1251, "CP1251"},       {1253, "CP1253"},
    {1254, "CP1254"},        {1255, "CP1255"},      {1256, "CP1256"},       {1257, "CP1257"},
    {1258, "CP1258"},        {10000, "MACINTOSH"},  {10007, "MAC-CYRILLIC"}, {10017, "MAC-UK"},
    {10029, "MAC-CENTRALEUROPE"}, {10079, "MAC-IS"}, {20127, "US-ASCII"},   {20866, "KOI8-R"},
    {21866, "KOI8-U"},       {28591, "ISO-8859-1"}, {28592, "ISO-8859-2"},  {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},   {28595, "ISO-8859-5"}, {28596, "ISO-8859-6"},  {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},   {28599, "ISO-8859-9"}, {28603, "ISO-8859-13"}, {28605, "ISO-8859-15"},
    {38598, "ISO-8859-8"},
};

struct Built {
    std::mutex lock;
    std::vector<std::unique_ptr<TSingleByteCodePage>> pages;
    std::vector<unsigned> refused;
};

Built& BuiltPages()
{
    static Built built;
    return built;
}

// The character of one byte, or 0 when the converter does not give exactly one
// character of the basic plane for it.
char16_t ConvertByte(iconv_t cd, unsigned char byte)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // fresh state for every byte
    char in[1] = {static_cast<char>(byte)};
    char32_t out[4] = {};
    char* inPtr = in;
    std::size_t inLeft = 1;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof(out);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        return 0;
    // Converters that combine characters hold the last one back until flushed.
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    const std::size_t produced = (sizeof(out) - outLeft) / sizeof(char32_t);
    if (produced != 1 || out[0] == 0 || out[0] > 0xFFFF)
        return 0;
    return static_cast<char16_t>(out[0]);
}

std::unique_ptr<TSingleByteCodePage> Build(unsigned codePage, const char* name)
{
    const iconv_t cd = iconv_open("UCS-4LE", name);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return nullptr;
    char16_t upper[128];
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const char16_t c = ConvertByte(cd, static_cast<unsigned char>(b));
        upper[b - 0x80] = c != 0 ? c : static_cast<char16_t>(b);
    }
    iconv_close(cd);
    return std::make_unique<TSingleByteCodePage>(codePage, upper);
}

} // namespace

const TSingleByteCodePage* SystemCodePage(unsigned codePage)
{
    if (const TSingleByteCodePage* known = FindCodePage(codePage))
        return known;
    const char* name = nullptr;
    for (const SystemName& entry : kSystemNames)
        if (entry.codePage == codePage)
            name = entry.name;
    if (name == nullptr)
        return nullptr;

    Built& built = BuiltPages();
    std::lock_guard guard(built.lock);
    for (const auto& page : built.pages) // another thread may have been first
        if (page->CodePage() == codePage)
            return page.get();
    for (unsigned refused : built.refused)
        if (refused == codePage)
            return nullptr;
    std::unique_ptr<TSingleByteCodePage> page = Build(codePage, name);
    if (page == nullptr) {
        built.refused.push_back(codePage);
        return nullptr;
    }
    RegisterCodePage(page.get());
    built.pages.push_back(std::move(page));
    return built.pages.back().get();
}

} // namespace core
