#pragma once
// Named values of the spreadsheet automation, as the program passes them:
// border edges, line styles, alignments, theme colours and file formats.

namespace office {

// Border edges (Borders.Item).
inline constexpr int xlEdgeLeft = 7;
inline constexpr int xlEdgeTop = 8;
inline constexpr int xlEdgeBottom = 9;
inline constexpr int xlEdgeRight = 10;
inline constexpr int xlInsideVertical = 11;
inline constexpr int xlInsideHorizontal = 12;

// Line styles (Border.LineStyle).
inline constexpr int xlContinuous = 1;
inline constexpr int xlDashDot = 4;
inline constexpr int xlDashDotDot = 5;
inline constexpr int xlSlantDashDot = 13;
inline constexpr int xlDash = -4115;
inline constexpr int xlDot = -4118;
inline constexpr int xlDouble = -4119;
inline constexpr int xlLineStyleNone = -4142;
inline constexpr int xlNone = -4142;

// Alignments (HorizontalAlignment, VerticalAlignment).
inline constexpr int xlGeneral = 1;
inline constexpr int xlFill = 5;
inline constexpr int xlCenterAcrossSelection = 7;
inline constexpr int xlBottom = -4107;
inline constexpr int xlCenter = -4108;
inline constexpr int xlDistributed = -4117;
inline constexpr int xlJustify = -4130;
inline constexpr int xlLeft = -4131;
inline constexpr int xlRight = -4152;
inline constexpr int xlTop = -4160;

// Theme colours (ThemeColor).
inline constexpr int xlThemeColorDark1 = 1;
inline constexpr int xlThemeColorLight1 = 2;
inline constexpr int xlThemeColorDark2 = 3;
inline constexpr int xlThemeColorLight2 = 4;
inline constexpr int xlThemeColorAccent1 = 5;
inline constexpr int xlThemeColorAccent2 = 6;
inline constexpr int xlThemeColorAccent3 = 7;
inline constexpr int xlThemeColorAccent4 = 8;
inline constexpr int xlThemeColorAccent5 = 9;
inline constexpr int xlThemeColorAccent6 = 10;
inline constexpr int xlThemeColorHyperlink = 11;
inline constexpr int xlThemeColorFollowedHyperlink = 12;

// File formats (SaveAs). Both write the 97-2003 workbook; no other is written.
inline constexpr int xlExcel8 = 56;
inline constexpr int xlWorkbookNormal = -4143;

} // namespace office
