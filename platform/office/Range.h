#pragma once
// A range of cells of a sheet and the objects reached through it: its
// borders, one border edge, its font. All are handles: copying one copies
// the reference, and every setter changes the sheet at once.
//
// Getters of a range of several cells answer for its first cell (the border
// getters for the first cell the edge belongs to).

#include "platform/office/CellAddress.h"

#include <string>

namespace office {

class TWorksheet;
class TBorders;
class TFont;

class TRange {
public:
    TRange(TWorksheet& sheet, const TCellRect& rect) : sheet_(&sheet), rect_(rect) {}

    TWorksheet& Worksheet() const { return *sheet_; }
    const TCellRect& Rect() const { return rect_; }
    // "$A$4:$D$4".
    std::string Address() const;

    // Text values, stored as given (never read as a number, a date or a
    // formula). Setting writes every cell of the range; the empty text
    // clears the value and keeps the look.
    std::string Value() const;
    void SetValue(const std::string& value);

    // Makes this range the selection of its sheet and the sheet the active
    // one of its workbook, and the workbook the application's active one.
    void Select();

    TBorders Borders();
    TFont Font();

    // Points, 0 to 409.5; sets the height of every row of the range (of all
    // rows when the range is whole columns).
    double RowHeight() const;
    void SetRowHeight(double height);
    // Characters of the default font, 0 to 255; sets every column of the range.
    double ColumnWidth() const;
    void SetColumnWidth(double width);

    int HorizontalAlignment() const;
    void SetHorizontalAlignment(int alignment);
    int VerticalAlignment() const;
    void SetVerticalAlignment(int alignment);
    bool WrapText() const;
    void SetWrapText(bool wrap);
    // "General", "@" (text) or any other format code.
    std::string NumberFormat() const;
    void SetNumberFormat(const std::string& format);

private:
    TWorksheet* sheet_;
    TCellRect rect_;
};

// One edge of a range: xlEdgeLeft, xlEdgeTop, xlEdgeBottom, xlEdgeRight,
// xlInsideVertical or xlInsideHorizontal.
class TBorder {
public:
    TBorder(const TRange& range, int index) : range_(range), index_(index) {}

    int LineStyle() const;
    void SetLineStyle(int lineStyle);
    // 0 when the edge has the automatic colour.
    int ThemeColor() const;
    void SetThemeColor(int themeColor);

private:
    TRange range_;
    int index_;
};

// All edges of a range: its outline and the edges between its cells.
class TBorders {
public:
    explicit TBorders(const TRange& range) : range_(range) {}

    TBorder Item(int index);
    void SetLineStyle(int lineStyle);
    // Colours every edge of the range; an edge without a line shows its
    // colour once it gets one.
    void SetThemeColor(int themeColor);

private:
    TRange range_;
};

class TFont {
public:
    explicit TFont(const TRange& range) : range_(range) {}

    bool Bold() const;
    void SetBold(bool bold);

private:
    TRange range_;
};

} // namespace office
