#include "platform/core/CodePage.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Unicode.h"

#include <mutex>
#include <vector>

namespace core {

namespace {
#include "platform/core/CodePageTables.inc"

const TSingleByteCodePage kCp1250(1250, kWindows1250);
const TSingleByteCodePage kCp1252(1252, kWindows1252);

struct Registry {
    std::mutex lock;
    std::vector<const TSingleByteCodePage*> pages{&kCp1250, &kCp1252};
};

Registry& CodePages()
{
    static Registry registry;
    return registry;
}

} // namespace

TSingleByteCodePage::TSingleByteCodePage(unsigned codePage, const char16_t (&upperHalf)[128])
    : codePage_(codePage)
{
    for (int i = 0; i < 128; ++i)
        upper_[static_cast<std::size_t>(i)] = upperHalf[i];
}

int TSingleByteCodePage::FromUnicode(char32_t cp) const
{
    if (cp < 0x80)
        return static_cast<int>(cp);
    for (int i = 0; i < 128; ++i)
        if (upper_[static_cast<std::size_t>(i)] == cp)
            return 0x80 + i;
    return -1;
}

std::string TSingleByteCodePage::ToUtf8(std::string_view bytes) const
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes)
        AppendUtf8(out, ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string TSingleByteCodePage::FromUtf8(std::string_view text, std::size_t* substitutions) const
{
    std::string out;
    out.reserve(text.size());
    std::size_t missed = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++pos;
            continue;
        }
        const int byte = FromUnicode(NextUtf8(text, pos));
        if (byte < 0) {
            out.push_back('?');
            ++missed;
        } else {
            out.push_back(static_cast<char>(byte));
        }
    }
    if (substitutions != nullptr)
        *substitutions = missed;
    return out;
}

const TSingleByteCodePage* FindCodePage(unsigned codePage)
{
    if (codePage == CP_ACP)
        codePage = CP_ANSI;
    Registry& registry = CodePages();
    std::lock_guard guard(registry.lock);
    for (const TSingleByteCodePage* page : registry.pages)
        if (page->CodePage() == codePage)
            return page;
    return nullptr;
}

void RegisterCodePage(const TSingleByteCodePage* table)
{
    Registry& registry = CodePages();
    std::lock_guard guard(registry.lock);
    registry.pages.push_back(table);
}

namespace {

const TSingleByteCodePage& RequireCodePage(unsigned codePage)
{
    const TSingleByteCodePage* page = FindCodePage(codePage);
    if (page == nullptr)
        throw EConvertError("Unsupported code page " + std::to_string(codePage));
    return *page;
}

} // namespace

std::string CodePageToUtf8(std::string_view bytes, unsigned codePage)
{
    if (codePage == CP_UTF8)
        return std::string(bytes);
    return RequireCodePage(codePage).ToUtf8(bytes);
}

std::string Utf8ToCodePage(std::string_view text, unsigned codePage, std::size_t* substitutions)
{
    if (codePage == CP_UTF8) {
        if (substitutions != nullptr)
            *substitutions = 0;
        return std::string(text);
    }
    return RequireCodePage(codePage).FromUtf8(text, substitutions);
}

} // namespace core
