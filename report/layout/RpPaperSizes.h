#pragma once
// Named paper sizes and paper bins of the report engine, with the device-mode
// codes they stand for and the one table that gives named papers their
// dimensions.

#include <array>
#include <cstdint>

namespace report {

enum class TRpPaperSize : std::uint8_t {
    Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A4Small, A5, B4, B5,
    Folio, Quarto, rp10X14, rp11X17, Note, Env9, Env10, Env11, Env12, Env14, CSheet, DSheet, ESheet, EnvDL,
    EnvC5, EnvC3, EnvC4, EnvC6, EnvC65, EnvB4, EnvB5, EnvB6, EnvItaly, EnvMonarch, EnvPersonal, FanfoldUSStd,
    FanfoldGerStd, FanfoldGerLegal, B4ISO, PostcardJap, rp9X11, rp10X11, rp15X11, EnvInvite, Reserved1,
    Reserved2, LetterExtra, LegalExtra, TabloidExtra, A4Extra, LetterTrans, A4Trans, LetterExtraTrans,
    SuperASuperAA4, SuperBSuperBA3, LetterPlus, A4Plus, A5Trans, B5Trans, A3Extra, A5Extra, B5Extra, A2,
    A3Trans, A3ExtraTrans, Custom
};

inline constexpr int kPaperSizeCount = 70;

enum class TRpBin : std::uint8_t {
    First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat, LargeFormat,
    LargeCapacity, Cassette, Last
};

inline constexpr int kBinCount = 14;

// Width and length of a paper in portrait, millimetres.
struct TRpPaperDimensions {
    long double Width;
    long double Length;
};

// True for the papers of the table (Letter to A3ExtraTrans); Default and
// Custom take their sizes from elsewhere.
constexpr bool IsTablePaper(TRpPaperSize paper)
{
    return paper != TRpPaperSize::Default && paper != TRpPaperSize::Custom;
}

// The table row of a named paper; {0, 0} for Default and Custom.
TRpPaperDimensions PaperDimensions(TRpPaperSize paper);

// The device-mode paper code: the ordinal, and the user-defined code 256 for Custom.
int PaperCode(TRpPaperSize paper);
// The device-mode source code of a bin.
int BinCode(TRpBin bin);

} // namespace report
