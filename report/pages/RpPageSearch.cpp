#include "report/pages/RpPageSearch.h"

#include "platform/core/Letters.h"
#include "platform/core/Unicode.h"
#include "platform/gfx/MetafilePlayer.h"

#include <optional>

namespace report {

bool TextSearchBusy = false;

bool MetafileContainsText(const std::string& text, const gfx::TMetafile& metafile, bool matchCase)
{
    // An empty text is found nowhere.
    if (text.empty())
        return false;
    // The search handles no messages on its way, so no second one can start
    // while it runs; a wait for the mark could only wait for ever on the
    // search below it on the same stack. The mark says a search is under way.
    struct BusyMark {
        bool saved = TextSearchBusy;
        BusyMark() { TextSearchBusy = true; }
        ~BusyMark() { TextSearchBusy = saved; }
    } busy;
    const std::string needle = matchCase ? text : core::AnsiUpperCase(text);
    bool found = false;
    // Each record's whole UTF-16 string is searched, so that letters beyond
    // the first 256 code points (č, ř, ž...) match as they were drawn.
    gfx::EnumerateMetafileRecords(metafile, [&](const gfx::TEmfRecord& record, const std::uint8_t* data) {
        std::optional<std::u16string> units = gfx::TextRecordString(record, data);
        if (!units)
            return true;
        std::string shown = core::Utf16ToUtf8(*units);
        if (!matchCase)
            shown = core::AnsiUpperCase(shown);
        if (shown.find(needle) != std::string::npos) {
            found = true;
            return false;
        }
        return true;
    });
    return found;
}

} // namespace report
