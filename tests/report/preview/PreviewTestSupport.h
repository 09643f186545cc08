#pragma once
// What the preview tests share: stored runs drawn by hand through a report
// printer, and the texts of a recorded page.

#include "platform/gfx/Metafile.h"
#include "report/printer/RpPrinter.h"

#include <string>
#include <vector>

namespace report::test {

// A stored run of pages, each showing the texts given for it (one text
// record per text, one below the other).
void RunTextPages(TRpPrinter& printer, const std::vector<std::vector<std::string>>& pages);
// Begins a stored run and draws the first pages.size() pages, leaving the
// last one open (not yet available).
void BeginTextPages(TRpPrinter& printer, const std::vector<std::vector<std::string>>& pages);
// All texts of a page, joined by "|".
std::string PageTexts(const gfx::TMetafile& page);
// Lets the application deliver the posted messages.
void DeliverPosted();

} // namespace report::test
