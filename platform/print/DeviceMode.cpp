#include "platform/print/DeviceMode.h"

namespace print {

std::string BinName(int bin)
{
    switch (bin) {
    case DMBIN_UPPER: return "Horní zásobník";
    case DMBIN_LOWER: return "Dolní zásobník";
    case DMBIN_MIDDLE: return "Prostřední zásobník";
    case DMBIN_MANUAL: return "Ruční podávání";
    case DMBIN_ENVELOPE: return "Obálky";
    case DMBIN_ENVMANUAL: return "Ruční podávání obálek";
    case DMBIN_AUTO: return "Automatický výběr";
    case DMBIN_TRACTOR: return "Traktor";
    case DMBIN_SMALLFMT: return "Malý formát";
    case DMBIN_LARGEFMT: return "Velký formát";
    case DMBIN_LARGECAPACITY: return "Velkokapacitní zásobník";
    case DMBIN_CASSETTE: return "Kazeta";
    case DMBIN_FORMSOURCE: return "Podle formuláře";
    default: return "Zásobník " + std::to_string(bin);
    }
}

} // namespace print
