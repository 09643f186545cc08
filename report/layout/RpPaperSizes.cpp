#include "report/layout/RpPaperSizes.h"

#include "platform/print/DeviceMode.h"

namespace report {

namespace {

// Rows for Letter (ordinal 1) to A3ExtraTrans (ordinal 68).
constexpr std::array<TRpPaperDimensions, 68> kPaperTable = {{
    {215.9L, 279.4L}, {215.9L, 279.4L}, {279.4L, 431.8L}, {431.8L, 279.4L}, {215.9L, 355.6L},
    {139.7L, 215.9L}, {190.5L, 254L},   {297L, 420L},     {210L, 297L},     {210L, 297L},
    {148L, 210L},     {250L, 354L},     {182L, 257L},     {215.9L, 330.2L}, {215L, 275L},
    {254L, 355.6L},   {279.4L, 431.8L}, {215.9L, 279.4L}, {98.43L, 225.4L}, {104.8L, 241.3L},
    {114.3L, 263.5L}, {120.7L, 279.4L}, {127L, 292.1L},   {431.8L, 558.8L}, {558.8L, 863.6L},
    {863.6L, 1117.6L}, {110L, 220L},    {162L, 229L},     {324L, 458L},     {229L, 324L},
    {114L, 162L},     {114L, 229L},     {250L, 353L},     {176L, 250L},     {176L, 125L},
    {110L, 230L},     {98.43L, 190.5L}, {92.01L, 165.1L}, {377.8L, 279.4L}, {215.9L, 304.8L},
    {215.9L, 330.2L}, {250L, 353L},     {100L, 148L},     {228.6L, 279.4L}, {254L, 279.4L},
    {381L, 279.4L},   {220L, 220L},     {100L, 100L},     {100L, 100L},     {241.3L, 304.8L},
    {241.3L, 381L},   {296.9L, 457.2L}, {236L, 322L},     {279.4L, 215.9L}, {297L, 210L},
    {304.8L, 241.3L}, {227L, 356L},     {305L, 487L},     {215.9L, 322.3L}, {210L, 330L},
    {210L, 148L},     {257L, 182L},     {322L, 445L},     {174L, 235L},     {201L, 276L},
    {420L, 594L},     {420L, 297L},     {445L, 322L},
}};

constexpr std::array<int, kBinCount> kBinCodes = {
    print::DMBIN_ONLYONE, print::DMBIN_UPPER,    print::DMBIN_LOWER,         print::DMBIN_MIDDLE,
    print::DMBIN_MANUAL,  print::DMBIN_ENVELOPE, print::DMBIN_ENVMANUAL,     print::DMBIN_AUTO,
    print::DMBIN_TRACTOR, print::DMBIN_SMALLFMT, print::DMBIN_LARGEFMT,      print::DMBIN_LARGECAPACITY,
    print::DMBIN_CASSETTE, print::DMBIN_CASSETTE,
};

} // namespace

TRpPaperDimensions PaperDimensions(TRpPaperSize paper)
{
    if (!IsTablePaper(paper))
        return {0, 0};
    return kPaperTable[static_cast<int>(paper) - 1];
}

int PaperCode(TRpPaperSize paper)
{
    return paper == TRpPaperSize::Custom ? print::DMPAPER_USER : static_cast<int>(paper);
}

int BinCode(TRpBin bin)
{
    return kBinCodes[static_cast<int>(bin)];
}

} // namespace report
