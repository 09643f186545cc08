#pragma once
// The ready-made preview window of a report printer: a tool bar for zoom,
// paging, search, printer setup, print, save and load; the preview filling
// the window; at the left a page control with page thumbnails and the
// results of a page search; a status bar with progress, the page shown and
// the page count, and the report's title.

#include "platform/ui/kernel/Forms.h"
#include "report/preview/RpPreview.h"

#include <QRect>

#include <string>
#include <vector>

namespace ui {
class TDrawGrid;
class TGroupBox;
class TImageList;
class TLabel;
class TListBox;
class TPageControl;
class TSpeedButton;
class TSplitter;
class TStatusBar;
class TTabSheet;
class TToolBar;
class TToolButton;
class TTreeNode;
}

namespace report {

class TRpPreviewReport;
class TSearchDlg;

class TRpStandardPreview : public ui::TForm {
public:
    // Builds the window for the printer (not owned) and attaches the printer
    // to its preview. Create it with ui::CreateComponent, so that FormCreate runs.
    TRpStandardPreview(core::TComponent* owner, TRpPrinter* printer);
    std::string ClassName() const override { return "TRpStandardPreview"; }

    // The printer shown; none once another preview took it over.
    TRpPrinter* RpPrinter() const;
    bool Landscape() const { return landscape_; }
    bool ShowThumbs() const { return showThumbs_; }
    bool ShowSearch() const { return showSearch_; }
    TRpZoomState InitialZoom() const { return initialZoom_; }
    int LastProgress() const { return lastProgress_; }
    int ThumbTextHeight() const { return thumbTextHeight_; }
    int ThumbWidth() const { return thumbWidth_; }
    int ThumbHeight() const { return thumbHeight_; }
    int ThumbOffsetX() const { return thumbOffsetX_; }
    int ThumbOffsetY() const { return thumbOffsetY_; }

    // Shows the window modelessly with its status bar up to date.
    void ShowPreview();
    void UpdateStatus();
    void GoToPage(int n);
    void LayoutThumbs();
    // Asks the search text; false when the user cancelled.
    virtual bool AskSearchText(std::string& text, bool& matchCase);
    // The pages of the search results, in the order listed.
    const std::vector<int>& SearchResultPages() const { return searchResultPages_; }

    // --- published handlers
    void FormCreate(core::TObject* Sender);
    void FormClose(core::TObject* Sender, ui::TCloseAction& Action);
    void FormResize(core::TObject* Sender);
    void FormKeyDown(core::TObject* Sender, ui::WORD& Key, ui::TShiftState Shift);
    void ZoomToFitClick(core::TObject* Sender);
    void ZoomTo100Click(core::TObject* Sender);
    void ZoomToWidthClick(core::TObject* Sender);
    void FirstPageClick(core::TObject* Sender);
    void PrevPageClick(core::TObject* Sender);
    void NextPageClick(core::TObject* Sender);
    void LastPageClick(core::TObject* Sender);
    void GotoPageButtonClick(core::TObject* Sender);
    void FindButtonClick(core::TObject* Sender);
    void PrintSetupClick(core::TObject* Sender);
    void PrintClick(core::TObject* Sender);
    void SaveClick(core::TObject* Sender);
    void LoadClick(core::TObject* Sender);
    void ExitClick(core::TObject* Sender);
    void RpPreviewPageAvailable(core::TObject* Sender, int PageNum);
    void RpPreviewProgressUpdate(core::TObject* Sender, int Progress);
    void ThumbGridDrawCell(core::TObject* Sender, int ACol, int ARow, const QRect& Rect, unsigned State);
    void ThumbGridSelectCell(core::TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void SearchResultBoxClick(core::TObject* Sender);
    // Left unconnected by the form: a program may wire them.
    void RpPreviewHyperlink(core::TObject* Sender, TRpHyperlinkEventType EventType, const std::string& Link,
                            bool& Handled);
    void OutlineViewChange(core::TObject* Sender, ui::TTreeNode* Node);

    ui::TImageList* Images;
    ui::TToolBar* ToolBar1;
    ui::TToolButton* ZoomFit;
    ui::TToolButton* ZoomToWidth;
    ui::TToolButton* Zoom100;
    ui::TToolButton* FirstPage;
    ui::TToolButton* PreviousPage;
    ui::TToolButton* nextPage;
    ui::TToolButton* LastPage;
    ui::TToolButton* GotoPageButton;
    ui::TToolButton* FindButton;
    ui::TToolButton* PrintSetup;
    ui::TToolButton* Print;
    ui::TToolButton* SaveReport;
    ui::TToolButton* LoadReport;
    ui::TSpeedButton* ExitButton;
    ui::TStatusBar* StatusBar;
    ui::TPageControl* Tabs;
    ui::TTabSheet* TabThumbs;
    ui::TDrawGrid* ThumbGrid;
    ui::TTabSheet* TabSearchResult;
    ui::TGroupBox* GroupBox1;
    ui::TLabel* SearchTextLabel;
    ui::TListBox* SearchResultBox;
    ui::TSplitter* Splitter1;
    TRpPreview* RpPreview;

private:
    void BuildForm();
    ui::TToolButton* AddButton(const char* name, int imageIndex, core::TNotifyEvent onClick);
    void AddSpacer(const char* name);
    TRpPreviewReport* Report() const;
    int PageCount() const;

    bool landscape_ = false;
    bool showThumbs_ = true;
    bool showSearch_ = true;
    TRpZoomState initialZoom_ = TRpZoomState::rpZoomToFit;
    std::int32_t lastProgress_ = 0;
    int thumbTextHeight_ = 0;
    int thumbWidth_ = 0;
    int thumbHeight_ = 0;
    int thumbOffsetX_ = 0;
    int thumbOffsetY_ = 0;
    std::vector<int> searchResultPages_;
};

// The text of the status bar's last panel; emptied at shut-down.
extern std::string PreviewTitle;
// True while the window itself moves the thumbnail selection.
extern bool ThumbSync;

} // namespace report
