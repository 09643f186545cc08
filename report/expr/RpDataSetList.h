#pragma once
// The data sets that the expression builder offers: those on a form (also
// inside its windowed controls) and, when asked, those of the open data
// modules.

#include "platform/core/StringList.h"

#include <memory>
#include <string>

namespace core {
class TComponent;
}

namespace report {

// Data-set names with the data sets attached as objects (not owned by the
// list). form may be none.
std::unique_ptr<core::TStringList> CollectDataSets(core::TComponent* form, bool includeDataModules);

// The 1-based position (in characters) of the first sub in s, compared
// exactly; 0 when there is none (and for an empty sub).
int TextPos(const std::string& sub, const std::string& s);

} // namespace report
