#pragma once
// The texts of the preview window and its search dialog.

#include <string_view>

namespace report::msg {

inline constexpr std::string_view PreviewCaption = "Print Preview";
inline constexpr std::string_view PreviewTitlePrefix = "Report Preview : ";
inline constexpr std::string_view ThumbNails = "ThumbNails";
inline constexpr std::string_view SearchResults = "Search Results";
inline constexpr std::string_view SearchTextTitle = "Search Text";
inline constexpr std::string_view HintZoomFit = "Zoom to fit";
inline constexpr std::string_view HintZoomToWidth = "Zoom to width";
inline constexpr std::string_view HintZoom100 = "100% Size";
inline constexpr std::string_view HintFirstPage = "First page";
inline constexpr std::string_view HintNextPage = "Next page";
inline constexpr std::string_view HintPreviousPage = "Previous page";
inline constexpr std::string_view HintLastPage = "Last page";
inline constexpr std::string_view HintGotoPage = "Select a Page";
inline constexpr std::string_view HintFind = "Search for Text";
inline constexpr std::string_view HintPrintSetup = "Printer setup";
inline constexpr std::string_view HintPrint = "Print";
inline constexpr std::string_view HintSaveReport = "Save report";
inline constexpr std::string_view HintLoadReport = "Load report";
inline constexpr std::string_view HintClosePreview = "Close Preview";
inline constexpr std::string_view CloseCaption = "&Close";
inline constexpr std::string_view Page = "Page";
inline constexpr std::string_view Of = "of";
inline constexpr std::string_view SelectPageCaption = "Select a page from 1 to %d";
inline constexpr std::string_view EnterPageNumber = "Enter page number";
inline constexpr std::string_view NoMatchingText = "No matching text";
inline constexpr std::string_view SaveReportTitle = "Save report";
inline constexpr std::string_view LoadReportTitle = "Load report";
inline constexpr std::string_view ReportFile = "Report file";
inline constexpr std::string_view ReportFileExtension = "RPF";
inline constexpr std::string_view FileDoesNotExist = "File does not exist";

// The search dialog.
inline constexpr std::string_view SearchDlgCaption = "Report Preview : Text Search";
inline constexpr std::string_view SearchText = "Search Text";
inline constexpr std::string_view MatchCase = "Match case";
inline constexpr std::string_view Search = "Search";
inline constexpr std::string_view Cancel = "Cancel";
inline constexpr std::string_view SearchForText = "Search for Text";

} // namespace report::msg
