#include "PreviewTestSupport.h"

#include "platform/gfx/MetafilePlayer.h"
#include "report/printer/RpWindowMessages.h"

namespace report::test {

void BeginTextPages(TRpPrinter& printer, const std::vector<std::vector<std::string>>& pages)
{
    printer.BeginDoc();
    for (const std::vector<std::string>& texts : pages) {
        printer.NewPage();
        long double y = 200;
        for (const std::string& text : texts) {
            printer.Canvas()->TextOut(printer.XPos(200), printer.YPos(y), text);
            y += 100;
        }
    }
}

void RunTextPages(TRpPrinter& printer, const std::vector<std::vector<std::string>>& pages)
{
    BeginTextPages(printer, pages);
    printer.EndDoc();
}

std::string PageTexts(const gfx::TMetafile& page)
{
    std::string joined;
    for (const std::string& text : gfx::MetafileTexts(page))
        joined += (joined.empty() ? "" : "|") + text;
    return joined;
}

void DeliverPosted()
{
    RpProcessMessages();
    RpProcessMessages();
}

} // namespace report::test
