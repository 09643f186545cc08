#include "platform/office/BiffWriter.h"

#include "platform/core/Letters.h"
#include "platform/core/Unicode.h"
#include "platform/office/OleException.h"
#include "platform/office/Workbook.h"
#include "platform/office/Worksheet.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace office {

namespace {

// Record types.
constexpr std::uint16_t rtEOF = 0x000A;
constexpr std::uint16_t rtDATEMODE = 0x0022;
constexpr std::uint16_t rtFONT = 0x0031;
constexpr std::uint16_t rtCONTINUE = 0x003C;
constexpr std::uint16_t rtWINDOW1 = 0x003D;
constexpr std::uint16_t rtCODEPAGE = 0x0042;
constexpr std::uint16_t rtDEFCOLWIDTH = 0x0055;
constexpr std::uint16_t rtCOLINFO = 0x007D;
constexpr std::uint16_t rtBOUNDSHEET = 0x0085;
constexpr std::uint16_t rtDBCELL = 0x00D7;
constexpr std::uint16_t rtXF = 0x00E0;
constexpr std::uint16_t rtSST = 0x00FC;
constexpr std::uint16_t rtLABELSST = 0x00FD;
constexpr std::uint16_t rtEXTSST = 0x00FF;
constexpr std::uint16_t rtDIMENSIONS = 0x0200;
constexpr std::uint16_t rtBLANK = 0x0201;
constexpr std::uint16_t rtROW = 0x0208;
constexpr std::uint16_t rtINDEX = 0x020B;
constexpr std::uint16_t rtDEFAULTROWHEIGHT = 0x0225;
constexpr std::uint16_t rtWINDOW2 = 0x023E;
constexpr std::uint16_t rtSTYLE = 0x0293;
constexpr std::uint16_t rtFORMAT = 0x041E;
constexpr std::uint16_t rtBOF = 0x0809;

// The most data bytes one record carries; longer data goes on in CONTINUE records.
constexpr std::size_t kMaxRecordData = 8224;
constexpr std::size_t kRowRecordSize = 4 + 16;
constexpr std::uint32_t kRowsPerBlock = 32;

// Cell formats 0 to 14 are style formats, 15 the default cell format; ours follow.
constexpr std::uint16_t kDefaultCellXf = 15;
constexpr std::uint16_t kFirstOwnXf = 16;
constexpr std::size_t kMaxXfs = 4050;
// The fifth font record has index 5: index 4 does not exist in the format.
constexpr std::uint16_t kBoldFontIndex = 5;
constexpr std::uint16_t kTextFormatIndex = 49;
constexpr std::uint16_t kFirstOwnFormat = 164;
constexpr std::uint8_t kAutomaticColour = 64;

constexpr std::uint16_t kDefaultFontHeight = 200;  // twips: 10 points
constexpr const char* kDefaultFontName = "Arial";
constexpr std::uint8_t kCentralEuropeanCharset = 238;

class TByteWriter {
public:
    explicit TByteWriter(std::string& out) : out_(out) {}

    std::size_t Position() const { return out_.size(); }
    void U8(std::uint8_t value) { out_.push_back(static_cast<char>(value)); }
    void U16(std::uint16_t value) {
        const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
        out_.append(bytes, 2);
    }
    void U32(std::uint32_t value) {
        const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                               static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
        out_.append(bytes, 4);
    }
    void Patch16(std::size_t at, std::uint16_t value) {
        out_[at] = static_cast<char>(value & 0xFF);
        out_[at + 1] = static_cast<char>(value >> 8);
    }
    void Patch32(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            out_[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }

    // A record is begun with its type and a length that End fills in.
    void Begin(std::uint16_t type) {
        recordStart_ = out_.size();
        U16(type);
        U16(0);
    }
    void End() {
        const std::size_t length = out_.size() - recordStart_ - 4;
        if (length > kMaxRecordData)
            throw EOleException("Internal error: a record of " + std::to_string(length) + " bytes");
        Patch16(recordStart_ + 2, static_cast<std::uint16_t>(length));
    }
    std::size_t RecordStart() const { return recordStart_; }
    std::size_t Room() const { return kMaxRecordData - (out_.size() - recordStart_ - 4); }

    // The characters of a text, 8-bit when every one fits, else 16-bit.
    void Characters(const std::u16string& text, bool wide, std::size_t from, std::size_t count) {
        for (std::size_t i = from; i < from + count; ++i) {
            if (wide)
                U16(text[i]);
            else
                U8(static_cast<std::uint8_t>(text[i]));
        }
    }
    // A text with an 8-bit length (sheet and font names) or a 16-bit one (formats).
    void ShortString(const std::string& utf8) { String(utf8, false); }
    void LongString(const std::string& utf8) { String(utf8, true); }

private:
    void String(const std::string& utf8, bool longLength) {
        const std::u16string text = core::Utf8ToUtf16(utf8);
        const bool wide = IsWide(text);
        if (longLength)
            U16(static_cast<std::uint16_t>(text.size()));
        else
            U8(static_cast<std::uint8_t>(text.size()));
        U8(wide ? 1 : 0);
        Characters(text, wide, 0, text.size());
    }

public:
    static bool IsWide(const std::u16string& text) {
        return std::any_of(text.begin(), text.end(), [](char16_t c) { return c > 0xFF; });
    }

private:
    std::string& out_;
    std::size_t recordStart_ = 0;
};

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// A stretch of rows of one sheet that becomes one sheet of the file.
struct TSheetPart {
    const TWorksheet* sheet = nullptr;
    std::string name;
    std::uint32_t firstRow = 0;  // first row of the sheet in this part
    bool active = false;
};

// The cells a part writes: those with a text, and those whose look differs
// from their column's (an empty cell with its column's look is no cell).
bool IsWritten(const TWorksheet& sheet, const TCell& cell) {
    if (cell.text != TTextPool::kNone)
        return true;
    const auto column = sheet.Columns().find(cell.column);
    const std::uint32_t columnStyle = column == sheet.Columns().end() ? TCellStylePool::kDefault : column->second.style;
    return cell.style != columnStyle;
}

std::string FitSheetName(const std::string& base, const std::string& suffix) {
    const std::size_t room = 31 - suffix.size();
    return (core::Utf8Length(base) > room ? core::Utf8Copy(base, 0, room) : base) + suffix;
}

class TWorkbookWriter {
public:
    explicit TWorkbookWriter(const TWorkbook& workbook) : workbook_(workbook), w_(out_) {}

    std::string Write() {
        SplitSheets();
        CollectFormats();
        CollectTexts();
        out_.reserve(EstimatedSize());

        WriteGlobals();
        for (std::size_t i = 0; i < parts_.size(); ++i) {
            w_.Patch32(boundSheetPositions_[i], static_cast<std::uint32_t>(w_.Position()));
            WriteSheet(parts_[i]);
        }
        return std::move(out_);
    }

private:
    // Sheets longer than the format allows go on in continuation sheets.
    void SplitSheets() {
        const TWorkbook& book = workbook_;
        std::vector<std::string> taken;
        for (int i = 1; i <= book.Worksheets().Count(); ++i)
            taken.push_back(book.Worksheets(i).Name());
        auto isTaken = [&taken](const std::string& name) {
            return std::any_of(taken.begin(), taken.end(),
                               [&name](const std::string& other) { return core::AnsiSameText(other, name); });
        };

        const TWorksheet* activeSheet = &book.ActiveSheet();
        for (int i = 1; i <= book.Worksheets().Count(); ++i) {
            const TWorksheet& sheet = book.Worksheets(i);
            for (const auto& [row, data] : sheet.Rows())
                for (const TCell& cell : data.cells)
                    if (cell.column >= kFileMaxColumns && cell.text != TTextPool::kNone)
                        throw EOleException("The sheet \"" + sheet.Name() +
                                            "\" has texts past the 256th column, which the file format cannot hold");

            const std::uint32_t lastRow = sheet.Rows().empty() ? 0 : sheet.Rows().rbegin()->first;
            const std::uint32_t partCount = lastRow / kFileMaxRows + 1;
            parts_.push_back(TSheetPart{&sheet, sheet.Name(), 0, &sheet == activeSheet});
            int number = 2;
            for (std::uint32_t p = 1; p < partCount; ++p) {
                std::string name;
                do
                    name = FitSheetName(sheet.Name(), " (" + std::to_string(number++) + ")");
                while (isTaken(name));
                taken.push_back(name);
                parts_.push_back(TSheetPart{&sheet, name, p * kFileMaxRows, false});
            }
        }
    }

    // Cell formats for the looks in use, and the fonts and number formats they need.
    void CollectFormats() {
        const TCellStylePool& styles = workbook_.Styles();
        xfOfStyle_.assign(styles.Count(), 0);
        xfOfStyle_[TCellStylePool::kDefault] = kDefaultCellXf;
        auto use = [&](std::uint32_t style) {
            if (xfOfStyle_[style] != 0)
                return;
            if (kFirstOwnXf + usedStyles_.size() >= kMaxXfs)
                throw EOleException("The workbook has more different cell formats than the file format can hold");
            xfOfStyle_[style] = static_cast<std::uint16_t>(kFirstOwnXf + usedStyles_.size());
            usedStyles_.push_back(style);
            const TCellStyle& look = styles[style];
            boldFont_ = boldFont_ || look.bold;
            if (look.numberFormat != "General" && !formatIndex_.count(look.numberFormat)) {
                const std::uint16_t index =
                    look.numberFormat == "@" ? kTextFormatIndex : static_cast<std::uint16_t>(nextFormat_++);
                formatIndex_.emplace(look.numberFormat, index);
            }
        };
        for (const TSheetPart& part : parts_) {
            if (part.firstRow != 0)
                continue;  // every part of a sheet has the same cells' looks
            for (const auto& [column, info] : part.sheet->Columns())
                if (column < kFileMaxColumns)
                    use(info.style);
            for (const auto& [row, data] : part.sheet->Rows())
                for (const TCell& cell : data.cells)
                    if (cell.column < kFileMaxColumns)
                        use(cell.style);
        }
    }

    // The shared text table: each text once, in the order of first use.
    void CollectTexts() {
        const TTextPool& texts = workbook_.Texts();
        sstOfText_.assign(texts.Count(), UINT32_MAX);
        for (const TSheetPart& part : parts_) {
            if (part.firstRow != 0)
                continue;
            for (const auto& [row, data] : part.sheet->Rows()) {
                for (const TCell& cell : data.cells) {
                    if (cell.text == TTextPool::kNone || cell.column >= kFileMaxColumns)
                        continue;
                    ++textCells_;
                    if (sstOfText_[cell.text] == UINT32_MAX) {
                        sstOfText_[cell.text] = static_cast<std::uint32_t>(sstTexts_.size());
                        sstTexts_.push_back(cell.text);
                    }
                }
            }
        }
    }

    std::size_t EstimatedSize() const {
        std::size_t size = 4096 + 16 * sstTexts_.size();
        for (const std::uint32_t id : sstTexts_)
            size += 2 * workbook_.Texts()[id].size();
        for (const TSheetPart& part : parts_)
            if (part.firstRow == 0)
                for (const auto& [row, data] : part.sheet->Rows())
                    size += kRowRecordSize + 4 + 14 * data.cells.size();
        return size;
    }

    void WriteGlobals() {
        WriteBof(0x0005);
        w_.Begin(rtCODEPAGE);
        w_.U16(1200);  // texts are UTF-16
        w_.End();

        w_.Begin(rtWINDOW1);
        w_.U16(0);       // left
        w_.U16(0);       // top
        w_.U16(0x4000);  // width (twips)
        w_.U16(0x2000);  // height
        w_.U16(0x0038);  // horizontal and vertical scroll bars, sheet tabs
        const auto active = std::find_if(parts_.begin(), parts_.end(), [](const TSheetPart& p) { return p.active; });
        w_.U16(static_cast<std::uint16_t>(active == parts_.end() ? 0 : active - parts_.begin()));
        w_.U16(0);    // first visible tab
        w_.U16(1);    // selected tabs
        w_.U16(600);  // tab bar width, per mille
        w_.End();

        w_.Begin(rtDATEMODE);
        w_.U16(0);  // dates count from 1900
        w_.End();

        for (int i = 0; i < 4; ++i)
            WriteFont(false);
        if (boldFont_)
            WriteFont(true);

        for (const auto& [code, index] : formatIndex_) {
            w_.Begin(rtFORMAT);
            w_.U16(index);
            w_.LongString(code);
            w_.End();
        }

        WriteStyleXf(false);
        for (int i = 1; i < kDefaultCellXf; ++i)
            WriteStyleXf(true);
        WriteCellXf(TCellStyle{}, false);
        for (const std::uint32_t style : usedStyles_)
            WriteCellXf(workbook_.Styles()[style], true);

        w_.Begin(rtSTYLE);
        w_.U16(0x8000);  // built-in style of cell format 0
        w_.U8(0);        // "Normal"
        w_.U8(0xFF);
        w_.End();

        for (const TSheetPart& part : parts_) {
            w_.Begin(rtBOUNDSHEET);
            boundSheetPositions_.push_back(w_.Position());
            w_.U32(0);  // the sheet's position, filled in when it is written
            w_.U8(0);   // visible
            w_.U8(0);   // worksheet
            w_.ShortString(part.name);
            w_.End();
        }

        WriteSharedTexts();
        w_.Begin(rtEOF);
        w_.End();
    }

    void WriteBof(std::uint16_t kind) {
        w_.Begin(rtBOF);
        w_.U16(0x0600);  // BIFF8
        w_.U16(kind);
        w_.U16(0x0DBB);  // build
        w_.U16(0x07CC);  // build year
        w_.U32(0);       // file history
        w_.U32(0x0006);  // lowest version that reads the file: BIFF8
        w_.End();
    }

    void WriteFont(bool bold) {
        w_.Begin(rtFONT);
        w_.U16(kDefaultFontHeight);
        // Bit 0 repeats the bold weight for readers of the older versions; not
        // italic, struck out, outlined or shadowed.
        w_.U16(bold ? 0x0001 : 0);
        w_.U16(0x7FFF);  // automatic colour
        w_.U16(bold ? 700 : 400);
        w_.U16(0);  // neither superscript nor subscript
        w_.U8(0);   // not underlined
        w_.U8(2);   // family: sans serif
        w_.U8(kCentralEuropeanCharset);
        w_.U8(0);
        w_.ShortString(kDefaultFontName);
        w_.End();
    }

    // Cell formats 0 (the "Normal" style) to 14.
    void WriteStyleXf(bool inherited) {
        w_.Begin(rtXF);
        w_.U16(0);       // font
        w_.U16(0);       // number format
        w_.U16(0xFFF5);  // locked, a style format, no parent
        w_.U8(0x20);     // general, bottom-aligned
        w_.U8(0);        // no rotation
        w_.U8(0);        // no indent
        w_.U8(inherited ? 0xF4 : 0x00);
        w_.U32(0);       // no borders
        w_.U32(0);
        w_.U16(0x20C0);  // pattern colours: automatic
        w_.End();
    }

    void WriteCellXf(const TCellStyle& look, bool own) {
        std::uint16_t format = 0;
        if (look.numberFormat != "General")
            format = formatIndex_.at(look.numberFormat);
        auto line = [&look](TEdge edge) -> std::uint32_t { return look.borders[edge].style & 0x0F; };
        auto colour = [&look](TEdge edge) -> std::uint32_t {
            const TBorderLine& border = look.borders[edge];
            return border.style == 0 ? 0 : ThemePaletteIndex(border.theme);
        };

        w_.Begin(rtXF);
        w_.U16(look.bold ? kBoldFontIndex : 0);
        w_.U16(format);
        w_.U16(0x0001);  // locked; parent: the "Normal" style
        w_.U8(static_cast<std::uint8_t>((look.horizontal & 0x07) | (look.wrap ? 0x08 : 0) | (look.vertical & 0x07) << 4));
        w_.U8(0);
        w_.U8(0);
        // Which groups this format sets itself: number format, font, alignment, borders.
        w_.U8(own ? 0x3C : 0x00);
        w_.U32(line(edgeLeft) | line(edgeRight) << 4 | line(edgeTop) << 8 | line(edgeBottom) << 12 |
               colour(edgeLeft) << 16 | colour(edgeRight) << 23);
        w_.U32(colour(edgeTop) | colour(edgeBottom) << 7);
        w_.U16(0x20C0);
        w_.End();
    }

    void WriteSharedTexts() {
        const std::size_t unique = sstTexts_.size();
        // Every dsst-th text is indexed in EXTSST; at most 128 index entries as a
        // rule, and the entry count must fit its record.
        std::size_t perBucket = std::max<std::size_t>(8, (unique + 127) / 128);
        perBucket = std::min<std::size_t>(perBucket, 0xFFFF);
        std::vector<std::pair<std::uint32_t, std::uint16_t>> buckets;

        w_.Begin(rtSST);
        w_.U32(textCells_);
        w_.U32(static_cast<std::uint32_t>(unique));
        for (std::size_t i = 0; i < unique; ++i) {
            const std::u16string text = core::Utf8ToUtf16(workbook_.Texts()[sstTexts_[i]]);
            const bool wide = TByteWriter::IsWide(text);
            const std::size_t unit = wide ? 2 : 1;
            // The length and flags stay in one record with at least one character.
            const std::size_t firstCharacter = text.empty() ? 0 : IsHighSurrogate(text[0]) ? 2 : 1;
            if (w_.Room() < 3 + firstCharacter * unit) {
                w_.End();
                w_.Begin(rtCONTINUE);
            }
            if (i % perBucket == 0 && buckets.size() < (kMaxRecordData - 2) / 8)
                buckets.emplace_back(static_cast<std::uint32_t>(w_.Position()),
                                     static_cast<std::uint16_t>(w_.Position() - w_.RecordStart()));
            w_.U16(static_cast<std::uint16_t>(text.size()));
            w_.U8(wide ? 1 : 0);
            std::size_t done = 0;
            for (;;) {
                std::size_t count = std::min(text.size() - done, w_.Room() / unit);
                // Readers decode each record's part of a text on its own: a
                // character of two UTF-16 units stays in one record.
                if (done + count < text.size() && count > 0 && IsHighSurrogate(text[done + count - 1]))
                    --count;
                w_.Characters(text, wide, done, count);
                done += count;
                if (done == text.size())
                    break;
                // A text split between records goes on after a byte of its flags.
                w_.End();
                w_.Begin(rtCONTINUE);
                w_.U8(wide ? 1 : 0);
            }
        }
        w_.End();

        w_.Begin(rtEXTSST);
        w_.U16(static_cast<std::uint16_t>(perBucket));
        for (const auto& [position, offset] : buckets) {
            w_.U32(position);
            w_.U16(offset);
            w_.U16(0);
        }
        w_.End();
    }

    struct TRowOut {
        std::uint32_t row;  // in the part
        const TRow* data;
        std::uint16_t firstColumn;
        std::uint16_t endColumn;
        bool hasCells;
    };

    void WriteSheet(const TSheetPart& part) {
        const TWorksheet& sheet = *part.sheet;
        const std::uint32_t endRow = part.firstRow + kFileMaxRows;

        std::vector<TRowOut> rows;
        std::uint16_t firstColumn = UINT16_MAX;
        std::uint16_t endColumn = 0;
        std::uint32_t firstCellRow = UINT32_MAX;
        std::uint32_t endCellRow = 0;
        for (auto it = sheet.Rows().lower_bound(part.firstRow); it != sheet.Rows().end() && it->first < endRow; ++it) {
            TRowOut out{it->first - part.firstRow, &it->second, 0, 0, false};
            for (const TCell& cell : it->second.cells) {
                if (cell.column >= kFileMaxColumns || !IsWritten(sheet, cell))
                    continue;
                if (!out.hasCells)
                    out.firstColumn = static_cast<std::uint16_t>(cell.column);
                out.endColumn = static_cast<std::uint16_t>(cell.column + 1);
                out.hasCells = true;
            }
            if (!out.hasCells && it->second.height < 0)
                continue;
            if (out.hasCells) {
                firstColumn = std::min(firstColumn, out.firstColumn);
                endColumn = std::max(endColumn, out.endColumn);
                firstCellRow = std::min(firstCellRow, out.row);
                endCellRow = out.row + 1;
            }
            rows.push_back(out);
        }
        std::size_t blockCount = 0;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (i == 0 || rows[i].row / kRowsPerBlock != rows[i - 1].row / kRowsPerBlock)
                ++blockCount;

        WriteBof(0x0010);

        // INDEX: where DEFCOLWIDTH and each block's DBCELL stand, filled in below.
        w_.Begin(rtINDEX);
        w_.U32(0);
        w_.U32(rows.empty() ? 0 : rows.front().row);
        w_.U32(rows.empty() ? 0 : rows.back().row + 1);
        const std::size_t defColWidthField = w_.Position();
        w_.U32(0);
        const std::size_t blockFields = w_.Position();
        for (std::size_t i = 0; i < blockCount; ++i)
            w_.U32(0);
        w_.End();

        w_.Begin(rtDEFAULTROWHEIGHT);
        const bool standardHeight = sheet.StandardHeight() == kStandardHeight;
        w_.U16(standardHeight ? 0 : 1);  // 1: the height was set, not taken from the font
        w_.U16(Twips(sheet.StandardHeight()));
        w_.End();

        w_.Patch32(defColWidthField, static_cast<std::uint32_t>(w_.Position()));
        w_.Begin(rtDEFCOLWIDTH);
        w_.U16(8);
        w_.End();
        WriteColumns(sheet);

        w_.Begin(rtDIMENSIONS);
        const bool anyCell = firstCellRow != UINT32_MAX;
        w_.U32(anyCell ? firstCellRow : 0);
        w_.U32(anyCell ? endCellRow : 0);
        w_.U16(anyCell ? firstColumn : 0);
        w_.U16(anyCell ? endColumn : 0);
        w_.U16(0);
        w_.End();

        std::size_t block = 0;
        for (std::size_t first = 0; first < rows.size();) {
            std::size_t end = first;
            while (end < rows.size() && rows[end].row / kRowsPerBlock == rows[first].row / kRowsPerBlock)
                ++end;
            w_.Patch32(blockFields + 4 * block++, static_cast<std::uint32_t>(WriteBlock(sheet, rows, first, end)));
            first = end;
        }

        w_.Begin(rtWINDOW2);
        // Gridlines, headers, zeros, automatic grid colour, outline symbols; the
        // active sheet is also selected and shown.
        w_.U16(part.active ? 0x06B6 : 0x00B6);
        w_.U16(0);  // top row
        w_.U16(0);  // left column
        w_.U32(kAutomaticColour);
        w_.U16(0);
        w_.U16(0);
        w_.U32(0);
        w_.End();

        w_.Begin(rtEOF);
        w_.End();
    }

    static std::uint16_t Twips(double points) { return static_cast<std::uint16_t>(std::lround(points * 20)); }

    void WriteColumns(const TWorksheet& sheet) {
        struct TRun {
            std::uint16_t first, last, width, xf, flags;
        };
        std::vector<TRun> runs;
        for (const auto& [column, info] : sheet.Columns()) {
            if (column >= kFileMaxColumns || (info.width < 0 && info.style == TCellStylePool::kDefault))
                continue;
            const double characters = info.width < 0 ? kStandardWidth : info.width;
            const std::uint16_t width = characters == 0 ? 0 : StoredColumnWidth(characters);
            const std::uint16_t flags = characters == 0 ? 0x0001 : 0;  // hidden
            const std::uint16_t xf = xfOfStyle_[info.style];
            if (!runs.empty() && runs.back().last + 1u == column && runs.back().width == width &&
                runs.back().xf == xf && runs.back().flags == flags)
                runs.back().last = static_cast<std::uint16_t>(column);
            else
                runs.push_back(TRun{static_cast<std::uint16_t>(column), static_cast<std::uint16_t>(column), width, xf,
                                    flags});
        }
        for (const TRun& run : runs) {
            w_.Begin(rtCOLINFO);
            w_.U16(run.first);
            w_.U16(run.last);
            w_.U16(run.width);
            w_.U16(run.xf);
            w_.U16(run.flags);
            w_.U16(0);
            w_.End();
        }
    }

    // One block of rows: their ROW records, their cells, a DBCELL. Returns the
    // DBCELL's position.
    std::size_t WriteBlock(const TWorksheet& sheet, const std::vector<TRowOut>& rows, std::size_t first,
                           std::size_t end) {
        const std::size_t firstRowRecord = w_.Position();
        for (std::size_t i = first; i < end; ++i) {
            const TRowOut& row = rows[i];
            const bool ownHeight = row.data->height >= 0;
            w_.Begin(rtROW);
            w_.U16(static_cast<std::uint16_t>(row.row));
            w_.U16(row.firstColumn);
            w_.U16(row.endColumn);
            w_.U16(Twips(ownHeight ? row.data->height : sheet.StandardHeight()));
            w_.U16(0);
            w_.U16(0);
            // Always-set bit 8; bit 6: height set by hand; bit 5: hidden (height 0).
            std::uint16_t flags = 0x0100;
            if (ownHeight)
                flags |= 0x0040;
            if (ownHeight && row.data->height == 0)
                flags |= 0x0020;
            w_.U16(flags);
            w_.U16(kDefaultCellXf);
            w_.End();
        }

        std::vector<std::size_t> cellStarts;
        for (std::size_t i = first; i < end; ++i) {
            cellStarts.push_back(w_.Position());
            const auto row = static_cast<std::uint16_t>(rows[i].row);
            for (const TCell& cell : rows[i].data->cells) {
                if (cell.column >= kFileMaxColumns || !IsWritten(sheet, cell))
                    continue;
                const bool text = cell.text != TTextPool::kNone;
                w_.Begin(text ? rtLABELSST : rtBLANK);
                w_.U16(row);
                w_.U16(static_cast<std::uint16_t>(cell.column));
                w_.U16(xfOfStyle_[cell.style]);
                if (text)
                    w_.U32(sstOfText_[cell.text]);
                w_.End();
            }
        }

        // DBCELL: back to the first ROW record, then from the second ROW record
        // to the first row's cells, and from each row's cells to the next one's.
        const std::size_t dbCell = w_.Position();
        w_.Begin(rtDBCELL);
        w_.U32(static_cast<std::uint32_t>(dbCell - firstRowRecord));
        std::size_t from = firstRowRecord + kRowRecordSize;
        for (const std::size_t start : cellStarts) {
            w_.U16(static_cast<std::uint16_t>(start - from));
            from = start;
        }
        w_.End();
        return dbCell;
    }

    const TWorkbook& workbook_;
    std::string out_;
    TByteWriter w_;

    std::vector<TSheetPart> parts_;
    std::vector<std::uint16_t> xfOfStyle_;
    std::vector<std::uint32_t> usedStyles_;
    std::map<std::string, std::uint16_t> formatIndex_;
    std::uint32_t nextFormat_ = kFirstOwnFormat;
    bool boldFont_ = false;
    std::vector<std::uint32_t> sstOfText_;
    std::vector<std::uint32_t> sstTexts_;
    std::uint32_t textCells_ = 0;
    std::vector<std::size_t> boundSheetPositions_;
};

} // namespace

std::uint16_t StoredColumnWidth(double characters) {
    const double pixels = std::floor(characters * 7 + 5);
    return static_cast<std::uint16_t>(std::min(65535.0, std::floor(pixels / 7 * 256)));
}

std::uint8_t ThemePaletteIndex(int themeColor) {
    // Palette colours close to each theme colour: dark and light text and
    // background, the six accents, and the two link colours.
    static constexpr std::uint8_t kPalette[13] = {kAutomaticColour, 8, 9, 18, 22, 12, 16, 17, 20, 21, 52, 12, 20};
    return themeColor >= 0 && themeColor <= 12 ? kPalette[themeColor] : kAutomaticColour;
}

std::string WriteBiff8Workbook(const TWorkbook& workbook) { return TWorkbookWriter(workbook).Write(); }

} // namespace office
