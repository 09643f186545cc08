#pragma once
// The page search of the preview: does a recorded page show a text? The text
// is looked for in each text record of the page on its own, so a text that
// the report drew in pieces (several records) is not found.

#include "platform/gfx/Metafile.h"

#include <string>

namespace report {

// True while a page search runs; false at start-up.
extern bool TextSearchBusy;

// True when one text record of the page contains text (UTF-8). Without
// matchCase both sides are compared in upper case, Czech letters included.
bool MetafileContainsText(const std::string& text, const gfx::TMetafile& metafile, bool matchCase);

} // namespace report
