#include "platform/office/Range.h"

#include "platform/office/Constants.h"
#include "platform/office/ExcelApplication.h"
#include "platform/office/OleException.h"
#include "platform/office/Workbook.h"
#include "platform/office/Worksheet.h"

#include <array>

namespace office {

namespace {

// The sides of cell (row, column) that border item index of rect stands for.
// Row kNoRow is a row inside whole columns: neither their first nor their last.
std::array<bool, 4> EdgeSides(int index, const TCellRect& rect, std::uint32_t row, std::uint32_t column) {
    std::array<bool, 4> sides{};
    const bool firstRow = row == rect.firstRow;
    const bool lastRow = row == rect.lastRow;
    switch (index) {
    case xlEdgeLeft: sides[edgeLeft] = column == rect.firstColumn; break;
    case xlEdgeRight: sides[edgeRight] = column == rect.lastColumn; break;
    case xlEdgeTop: sides[edgeTop] = firstRow; break;
    case xlEdgeBottom: sides[edgeBottom] = lastRow; break;
    case xlInsideVertical:
        sides[edgeLeft] = column != rect.firstColumn;
        sides[edgeRight] = column != rect.lastColumn;
        break;
    case xlInsideHorizontal:
        sides[edgeTop] = !firstRow;
        sides[edgeBottom] = !lastRow;
        break;
    default: break;
    }
    return sides;
}

bool IsBorderIndex(int index) { return index >= xlEdgeLeft && index <= xlInsideHorizontal; }

void CheckThemeColor(int themeColor) {
    if (themeColor < xlThemeColorDark1 || themeColor > xlThemeColorFollowedHyperlink)
        throw EOleException("Invalid theme colour " + std::to_string(themeColor));
}

std::uint8_t CheckedLineStyle(int lineStyle) {
    const auto code = LineStyleCode(lineStyle);
    if (!code)
        throw EOleException("Invalid border line style " + std::to_string(lineStyle));
    return *code;
}

} // namespace

std::string TRange::Address() const { return CellRectAddress(rect_); }

std::string TRange::Value() const { return std::string(sheet_->Text(rect_.firstRow, rect_.firstColumn)); }

void TRange::SetValue(const std::string& value) { sheet_->SetText(rect_, value); }

void TRange::Select() {
    TWorkbook& workbook = sheet_->Parent();
    sheet_->SetSelection(rect_);
    workbook.Activate(*sheet_);
    workbook.Application().SetActiveWorkbook(&workbook);
}

TBorders TRange::Borders() { return TBorders(*this); }

TFont TRange::Font() { return TFont(*this); }

double TRange::RowHeight() const { return sheet_->RowHeight(rect_.firstRow); }

void TRange::SetRowHeight(double height) { sheet_->SetRowHeight(rect_, height); }

double TRange::ColumnWidth() const { return sheet_->ColumnWidth(rect_.firstColumn); }

void TRange::SetColumnWidth(double width) { sheet_->SetColumnWidth(rect_, width); }

int TRange::HorizontalAlignment() const {
    return HorizontalValue(sheet_->StyleAt(rect_.firstRow, rect_.firstColumn).horizontal);
}

void TRange::SetHorizontalAlignment(int alignment) {
    const auto code = HorizontalCode(alignment);
    if (!code)
        throw EOleException("Invalid horizontal alignment " + std::to_string(alignment));
    sheet_->Restyle(rect_, [&](TCellStyle& style, std::uint32_t, std::uint32_t) { style.horizontal = *code; });
}

int TRange::VerticalAlignment() const {
    return VerticalValue(sheet_->StyleAt(rect_.firstRow, rect_.firstColumn).vertical);
}

void TRange::SetVerticalAlignment(int alignment) {
    const auto code = VerticalCode(alignment);
    if (!code)
        throw EOleException("Invalid vertical alignment " + std::to_string(alignment));
    sheet_->Restyle(rect_, [&](TCellStyle& style, std::uint32_t, std::uint32_t) { style.vertical = *code; });
}

bool TRange::WrapText() const { return sheet_->StyleAt(rect_.firstRow, rect_.firstColumn).wrap; }

void TRange::SetWrapText(bool wrap) {
    sheet_->Restyle(rect_, [&](TCellStyle& style, std::uint32_t, std::uint32_t) { style.wrap = wrap; });
}

std::string TRange::NumberFormat() const { return sheet_->StyleAt(rect_.firstRow, rect_.firstColumn).numberFormat; }

void TRange::SetNumberFormat(const std::string& format) {
    if (format.size() > 255)
        throw EOleException("A number format has at most 255 characters");
    const std::string code = format.empty() ? "General" : format;
    sheet_->Restyle(rect_, [&](TCellStyle& style, std::uint32_t, std::uint32_t) { style.numberFormat = code; });
}

TBorder TBorders::Item(int index) {
    if (!IsBorderIndex(index))
        throw EOleException("Invalid border index " + std::to_string(index));
    return TBorder(range_, index);
}

void TBorders::SetLineStyle(int lineStyle) {
    const std::uint8_t code = CheckedLineStyle(lineStyle);
    range_.Worksheet().Restyle(range_.Rect(), [&](TCellStyle& style, std::uint32_t, std::uint32_t) {
        for (TBorderLine& line : style.borders)
            line.style = code;
    });
}

void TBorders::SetThemeColor(int themeColor) {
    CheckThemeColor(themeColor);
    range_.Worksheet().Restyle(range_.Rect(), [&](TCellStyle& style, std::uint32_t, std::uint32_t) {
        for (TBorderLine& line : style.borders)
            line.theme = static_cast<std::uint8_t>(themeColor);
    });
}

namespace {

// The first cell (among the corners) that edge index of rect touches, and its side.
const TBorderLine* FirstEdgeLine(const TWorksheet& sheet, const TCellRect& rect, int index) {
    const std::array<std::pair<std::uint32_t, std::uint32_t>, 4> corners{{{rect.firstRow, rect.firstColumn},
                                                                           {rect.firstRow, rect.lastColumn},
                                                                           {rect.lastRow, rect.firstColumn},
                                                                           {rect.lastRow, rect.lastColumn}}};
    for (const auto& [row, column] : corners) {
        const auto sides = EdgeSides(index, rect, row, column);
        for (std::size_t side = 0; side < sides.size(); ++side)
            if (sides[side])
                return &sheet.StyleAt(row, column).borders[side];
    }
    return nullptr;
}

} // namespace

int TBorder::LineStyle() const {
    const TBorderLine* line = FirstEdgeLine(range_.Worksheet(), range_.Rect(), index_);
    return LineStyleValue(line == nullptr ? 0 : line->style);
}

void TBorder::SetLineStyle(int lineStyle) {
    const std::uint8_t code = CheckedLineStyle(lineStyle);
    const TCellRect& rect = range_.Rect();
    range_.Worksheet().Restyle(rect, [&](TCellStyle& style, std::uint32_t row, std::uint32_t column) {
        const auto sides = EdgeSides(index_, rect, row, column);
        for (std::size_t side = 0; side < sides.size(); ++side)
            if (sides[side])
                style.borders[side].style = code;
    });
}

int TBorder::ThemeColor() const {
    const TBorderLine* line = FirstEdgeLine(range_.Worksheet(), range_.Rect(), index_);
    return line == nullptr ? 0 : line->theme;
}

void TBorder::SetThemeColor(int themeColor) {
    CheckThemeColor(themeColor);
    const TCellRect& rect = range_.Rect();
    range_.Worksheet().Restyle(rect, [&](TCellStyle& style, std::uint32_t row, std::uint32_t column) {
        const auto sides = EdgeSides(index_, rect, row, column);
        for (std::size_t side = 0; side < sides.size(); ++side)
            if (sides[side])
                style.borders[side].theme = static_cast<std::uint8_t>(themeColor);
    });
}

bool TFont::Bold() const {
    const TCellRect& rect = range_.Rect();
    return range_.Worksheet().StyleAt(rect.firstRow, rect.firstColumn).bold;
}

void TFont::SetBold(bool bold) {
    range_.Worksheet().Restyle(range_.Rect(), [&](TCellStyle& style, std::uint32_t, std::uint32_t) { style.bold = bold; });
}

} // namespace office
