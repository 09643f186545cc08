#include "report/preview/RpStandardPreview.h"

#include "platform/core/Files.h"
#include "platform/gfx/PainterCanvas.h"
#include "platform/ui/controls/ComCtrls.h"
#include "platform/ui/controls/DrawGrid.h"
#include "platform/ui/controls/ImgList.h"
#include "platform/ui/controls/ListBox.h"
#include "platform/ui/controls/SpeedButton.h"
#include "platform/ui/controls/Splitter.h"
#include "platform/ui/controls/StatusBar.h"
#include "platform/ui/controls/StdCtrls.h"
#include "platform/ui/controls/ToolBar.h"
#include "platform/ui/controls/TreeView.h"
#include "platform/ui/dialogs/FileDialogs.h"
#include "platform/ui/kernel/Application.h"
#include "platform/ui/kernel/Dialogs.h"
#include "report/expr/RpMessages.h"
#include "report/layout/RpMath.h"
#include "report/layout/RpPage.h"
#include "report/pages/RpPageSearch.h"
#include "report/preview/RpExportFilterLibrary.h"
#include "report/preview/RpPreviewGlyphs.h"
#include "report/preview/RpPreviewReport.h"
#include "report/preview/RpPreviewTexts.h"
#include "report/preview/RpSearchDlg.h"
#include "report/printer/RpExportFilter.h"
#include "report/printer/RpReportPrinterSettings.h"
#include "report/printer/RpWindowMessages.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <charconv>
#include <memory>

namespace report {

std::string PreviewTitle;
bool ThumbSync = false;

namespace {

std::string Str(std::string_view text) { return std::string(text); }

// A whole decimal number, or nothing.
bool ParsePageNumber(const std::string& text, int& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    while (first < last && *first == ' ')
        ++first;
    while (last > first && last[-1] == ' ')
        --last;
    auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last;
}

// Lets ThumbSync be true only while the form moves the selection itself.
class ThumbSyncScope {
public:
    ThumbSyncScope() { ThumbSync = true; }
    ~ThumbSyncScope() { ThumbSync = false; }
    ThumbSyncScope(const ThumbSyncScope&) = delete;
    ThumbSyncScope& operator=(const ThumbSyncScope&) = delete;
};

} // namespace

TRpStandardPreview::TRpStandardPreview(core::TComponent* owner, TRpPrinter* printer)
    : ui::TForm(owner)
{
    BuildForm();

    // 1. The texts.
    TabThumbs->SetCaption(Str(msg::ThumbNails));
    TabSearchResult->SetCaption(Str(msg::SearchResults));
    GroupBox1->SetCaption(Str(msg::SearchTextTitle));
    ZoomFit->SetHint(Str(msg::HintZoomFit));
    ZoomToWidth->SetHint(Str(msg::HintZoomToWidth));
    Zoom100->SetHint(Str(msg::HintZoom100));
    FirstPage->SetHint(Str(msg::HintFirstPage));
    nextPage->SetHint(Str(msg::HintNextPage));
    PreviousPage->SetHint(Str(msg::HintPreviousPage));
    LastPage->SetHint(Str(msg::HintLastPage));
    GotoPageButton->SetHint(Str(msg::HintGotoPage));
    FindButton->SetHint(Str(msg::HintFind));
    PrintSetup->SetHint(Str(msg::HintPrintSetup));
    Print->SetHint(Str(msg::HintPrint));
    SaveReport->SetHint(Str(msg::HintSaveReport));
    LoadReport->SetHint(Str(msg::HintLoadReport));
    ExitButton->SetHint(Str(msg::HintClosePreview));
    SetCaption(Str(msg::PreviewTitlePrefix));
    ExitButton->SetCaption(Str(msg::CloseCaption));

    // 2. What the report wants of its preview.
    int zoom = 100;
    auto* report = printer != nullptr ? dynamic_cast<TRpPreviewReport*>(printer->ParentReport()) : nullptr;
    if (report != nullptr) {
        SetFormStyle(report->PrevFormStyle());
        SetWidth(report->PreviewWidth());
        SetHeight(report->PreviewHeight());
        SetWindowState(report->PreviewInitialState());
        showThumbs_ = report->PrevShowThumbs();
        showSearch_ = report->PrevShowSearch();
        initialZoom_ = report->PrevInitialZoom();
        PreviewTitle = report->ReportTitle();
        if (printer != nullptr)
            printer->SetTitle(PreviewTitle);
        landscape_ = report->Page().Orientation() == print::TPrinterOrientation::poLandscape;
        zoom = report->ReportZoom();
    } else {
        SetWindowState(ui::TWindowState::wsMaximized);
        showThumbs_ = true;
        showSearch_ = true;
        initialZoom_ = TRpZoomState::rpZoomToFit;
    }

    // 3. The printer.
    RpPreview->SetRpPrinter(printer);
    if (printer != nullptr)
        printer->SetOrientation(landscape_ ? print::TPrinterOrientation::poLandscape
                                              : print::TPrinterOrientation::poPortrait);

    // 4. The title.
    if (printer != nullptr && !printer->Title().empty())
        SetCaption(Str(msg::PreviewTitlePrefix) + printer->Title());

    // 5. The thumbnails and the search.
    lastProgress_ = 0;
    Tabs->SetVisible(showThumbs_ || showSearch_);
    Splitter1->SetVisible(Tabs->Visible());
    try {
        if (Tabs->Visible() && PageCount() > 0)
            ThumbGrid->SetRowCount(PageCount());
        TabThumbs->SetTabVisible(showThumbs_);
        FindButton->SetVisible(showSearch_);
        if (!showSearch_)
            TabSearchResult->SetTabVisible(false);
    } catch (...) {
        // The tabs are a convenience; the preview works without them.
    }

    // 6. The first zoom.
    switch (initialZoom_) {
    case TRpZoomState::rpZoomToFit:
        RpPreview->ZoomToFit();
        ZoomFit->SetDown(true);
        break;
    case TRpZoomState::rpZoomToWidth:
        RpPreview->ZoomToWidth();
        ZoomToWidth->SetDown(true);
        break;
    case TRpZoomState::rpZoomOther:
        RpPreview->SetZoom(zoom);
        RpPreview->UpdateZoom();
        Zoom100->SetDown(true);
        break;
    }

    // 7. A finished run can be printed (and set up) at once: no further
    // page message will come to enable the buttons.
    if (printer != nullptr && printer->Status() == TRpPrinterStatus::Finished) {
        Print->SetEnabled(true);
        PrintSetup->SetEnabled(true);
    }
}

void TRpStandardPreview::BuildForm()
{
    SetName("RpStandardPreview");
    SetCaption(Str(msg::PreviewCaption));
    SetBounds(0, 0, 800, 639);
    SetPosition(ui::TPosition::poScreenCenter);
    SetKeyPreview(true);
    SetShowHint(true);

    Images = new ui::TImageList(this);
    Images->SetName("Images");
    Images->SetSize(kRpPreviewGlyphSize, kRpPreviewGlyphSize);
    for (int i = 0; i < kRpPreviewGlyphCount; ++i)
        Images->Add(RpPreviewGlyph(static_cast<TRpPreviewGlyph>(i)));

    ToolBar1 = new ui::TToolBar(this);
    ToolBar1->SetName("ToolBar1");
    ToolBar1->SetParent(this);
    ToolBar1->SetFlat(true);
    ToolBar1->SetAutoSize(true);
    ToolBar1->SetImages(Images);

    auto handler = [this](void (TRpStandardPreview::*method)(core::TObject*)) {
        return [this, method](core::TObject* sender) { (this->*method)(sender); };
    };
    ZoomFit = AddButton("ZoomFit", static_cast<int>(TRpPreviewGlyph::ZoomFit),
                        handler(&TRpStandardPreview::ZoomToFitClick));
    ZoomToWidth = AddButton("ZoomToWidth", static_cast<int>(TRpPreviewGlyph::ZoomToWidth),
                            handler(&TRpStandardPreview::ZoomToWidthClick));
    Zoom100 = AddButton("Zoom100", static_cast<int>(TRpPreviewGlyph::Zoom100),
                        handler(&TRpStandardPreview::ZoomTo100Click));
    for (ui::TToolButton* button : {ZoomFit, ZoomToWidth, Zoom100}) {
        button->SetStyle(ui::TToolButtonStyle::tbsCheck);
        button->SetGrouped(true);
    }
    AddSpacer("ToolButton1");
    FirstPage = AddButton("FirstPage", static_cast<int>(TRpPreviewGlyph::FirstPage),
                          handler(&TRpStandardPreview::FirstPageClick));
    PreviousPage = AddButton("PreviousPage", static_cast<int>(TRpPreviewGlyph::PreviousPage),
                             handler(&TRpStandardPreview::PrevPageClick));
    nextPage = AddButton("nextPage", static_cast<int>(TRpPreviewGlyph::NextPage),
                         handler(&TRpStandardPreview::NextPageClick));
    LastPage = AddButton("LastPage", static_cast<int>(TRpPreviewGlyph::LastPage),
                         handler(&TRpStandardPreview::LastPageClick));
    AddSpacer("ToolButton2");
    GotoPageButton = AddButton("GotoPageButton", static_cast<int>(TRpPreviewGlyph::GotoPage),
                               handler(&TRpStandardPreview::GotoPageButtonClick));
    FindButton = AddButton("FindButton", static_cast<int>(TRpPreviewGlyph::Find),
                           handler(&TRpStandardPreview::FindButtonClick));
    AddSpacer("ToolButton3");
    PrintSetup = AddButton("PrintSetup", static_cast<int>(TRpPreviewGlyph::PrintSetup),
                           handler(&TRpStandardPreview::PrintSetupClick));
    Print = AddButton("Print", static_cast<int>(TRpPreviewGlyph::Print), handler(&TRpStandardPreview::PrintClick));
    // Printing and its setup wait for the end of the run.
    PrintSetup->SetEnabled(false);
    Print->SetEnabled(false);
    AddSpacer("ToolButton4");
    SaveReport = AddButton("SaveReport", static_cast<int>(TRpPreviewGlyph::Save),
                           handler(&TRpStandardPreview::SaveClick));
    LoadReport = AddButton("LoadReport", static_cast<int>(TRpPreviewGlyph::Load),
                           handler(&TRpStandardPreview::LoadClick));
    AddSpacer("ToolButton5");
    ExitButton = new ui::TSpeedButton(this);
    ExitButton->SetName("ExitButton");
    ExitButton->SetFlat(true);
    ExitButton->SetBounds(0, 0, 40, 22);
    ExitButton->SetShowHint(true);
    ExitButton->SetParent(ToolBar1);
    ExitButton->OnClick = handler(&TRpStandardPreview::ExitClick);

    StatusBar = new ui::TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetParent(this);
    ui::TStatusPanel& progress = StatusBar->Panels().Add();
    progress.SetWidth(40);
    progress.SetAlignment(ui::TAlignment::taRightJustify);
    progress.SetText("0%");
    ui::TStatusPanel& page = StatusBar->Panels().Add();
    page.SetWidth(120);
    page.SetText(Str(msg::Page));
    ui::TStatusPanel& title = StatusBar->Panels().Add();
    title.SetWidth(50);
    title.SetText(" ");

    Tabs = new ui::TPageControl(this);
    Tabs->SetName("Tabs");
    Tabs->SetWidth(193);
    Tabs->SetAlign(ui::TAlign::alLeft);
    Tabs->SetParent(this);

    TabThumbs = new ui::TTabSheet(this);
    TabThumbs->SetName("TabThumbs");
    TabThumbs->SetPageControl(Tabs);
    ThumbGrid = new ui::TDrawGrid(this);
    ThumbGrid->SetName("ThumbGrid");
    ThumbGrid->SetColCount(1);
    ThumbGrid->SetFixedCols(0);
    ThumbGrid->SetFixedRows(0);
    ThumbGrid->SetRowCount(0);
    ThumbGrid->SetDefaultColWidth(90);
    ThumbGrid->SetDefaultRowHeight(90);
    ThumbGrid->SetOptions(ui::goRowSelect);
    ThumbGrid->SetAlign(ui::TAlign::alClient);
    ThumbGrid->SetParent(TabThumbs);
    ThumbGrid->OnDrawCell = [this](core::TObject* sender, int col, int row, const QRect& rect, unsigned state) {
        ThumbGridDrawCell(sender, col, row, rect, state);
    };
    ThumbGrid->OnSelectCell = [this](core::TObject* sender, int col, int row, bool& canSelect) {
        ThumbGridSelectCell(sender, col, row, canSelect);
    };

    TabSearchResult = new ui::TTabSheet(this);
    TabSearchResult->SetName("TabSearchResult");
    TabSearchResult->SetPageControl(Tabs);
    GroupBox1 = new ui::TGroupBox(this);
    GroupBox1->SetName("GroupBox1");
    GroupBox1->SetHeight(45);
    GroupBox1->SetAlign(ui::TAlign::alTop);
    GroupBox1->SetParent(TabSearchResult);
    SearchTextLabel = new ui::TLabel(this);
    SearchTextLabel->SetName("SearchTextLabel");
    SearchTextLabel->SetBounds(8, 20, 160, 13);
    SearchTextLabel->SetCaption("");
    SearchTextLabel->SetParent(GroupBox1);
    SearchResultBox = new ui::TListBox(this);
    SearchResultBox->SetName("SearchResultBox");
    SearchResultBox->SetAlign(ui::TAlign::alClient);
    SearchResultBox->SetParent(TabSearchResult);
    SearchResultBox->SetEnabled(false);
    SearchResultBox->OnClick = handler(&TRpStandardPreview::SearchResultBoxClick);
    Tabs->SetActivePage(TabThumbs);

    Splitter1 = new ui::TSplitter(this);
    Splitter1->SetName("Splitter1");
    Splitter1->SetAlign(ui::TAlign::alLeft);
    Splitter1->SetLeft(193);
    Splitter1->SetParent(this);

    RpPreview = new TRpPreview(this);
    RpPreview->SetName("RpPreview");
    RpPreview->SetAlign(ui::TAlign::alClient);
    RpPreview->SetParent(this);
    RpPreview->OnPageAvailable = [this](core::TObject* sender, int n) { RpPreviewPageAvailable(sender, n); };
    RpPreview->OnProgressUpdate = [this](core::TObject* sender, int p) { RpPreviewProgressUpdate(sender, p); };
    RpPreview->SetZoom(70);
    RpPreview->SetPageNumber(1);

    OnCreate = handler(&TRpStandardPreview::FormCreate);
    OnResize = handler(&TRpStandardPreview::FormResize);
    OnClose = [this](core::TObject* sender, ui::TCloseAction& action) { FormClose(sender, action); };
    OnKeyDown = [this](core::TObject* sender, ui::WORD& key, ui::TShiftState shift) {
        FormKeyDown(sender, key, shift);
    };
}

ui::TToolButton* TRpStandardPreview::AddButton(const char* name, int imageIndex, core::TNotifyEvent onClick)
{
    auto* button = new ui::TToolButton(this);
    button->SetName(name);
    button->SetParent(ToolBar1);
    button->SetImageIndex(imageIndex);
    button->SetShowHint(true);
    button->OnClick = std::move(onClick);
    return button;
}

void TRpStandardPreview::AddSpacer(const char* name)
{
    auto* spacer = new ui::TToolButton(this);
    spacer->SetName(name);
    spacer->SetStyle(ui::TToolButtonStyle::tbsSeparator);
    spacer->SetEnabled(false);
    spacer->SetParent(ToolBar1);
}

TRpPrinter* TRpStandardPreview::RpPrinter() const
{
    return RpPreview != nullptr ? RpPreview->RpPrinter() : nullptr;
}

TRpPreviewReport* TRpStandardPreview::Report() const
{
    return RpPrinter() != nullptr ? dynamic_cast<TRpPreviewReport*>(RpPrinter()->ParentReport()) : nullptr;
}

int TRpStandardPreview::PageCount() const
{
    return RpPrinter() != nullptr ? RpPrinter()->PageCount() : 0;
}

// ---- showing and paging

void TRpStandardPreview::FormCreate(core::TObject* /*Sender*/)
{
    // The scroll bars follow the thumb as it is dragged (Qt's own way); the
    // thumbnails follow the grid's width.
    ThumbGrid->OnResize = [this](core::TObject*) { LayoutThumbs(); };
    LayoutThumbs();
}

void TRpStandardPreview::ShowPreview()
{
    Show();
    UpdateStatus();
}

void TRpStandardPreview::UpdateStatus()
{
    // Without pages there is no page 1 to show either.
    const int shown = std::min(RpPreview->PageNumber(), PageCount());
    StatusBar->Panels()[1].SetText(Str(msg::Page) + " " + std::to_string(shown) + " " + Str(msg::Of) + " " +
                                   std::to_string(PageCount()));
    StatusBar->Panels()[2].SetText(PreviewTitle);
}

void TRpStandardPreview::GoToPage(int n)
{
    RpPreview->SetPageNumber(n);
    UpdateStatus();
    if (n >= 1 && n <= PageCount() && n <= ThumbGrid->RowCount()) {
        ThumbSyncScope sync;
        ThumbGrid->SetRow(n - 1);
    }
}

void TRpStandardPreview::FirstPageClick(core::TObject* /*Sender*/) { GoToPage(1); }
void TRpStandardPreview::PrevPageClick(core::TObject* /*Sender*/) { GoToPage(RpPreview->PageNumber() - 1); }
void TRpStandardPreview::NextPageClick(core::TObject* /*Sender*/) { GoToPage(RpPreview->PageNumber() + 1); }
void TRpStandardPreview::LastPageClick(core::TObject* /*Sender*/) { GoToPage(PageCount()); }

void TRpStandardPreview::ThumbGridSelectCell(core::TObject* /*Sender*/, int /*ACol*/, int ARow, bool& /*CanSelect*/)
{
    if (ThumbSync)
        return;
    RpPreview->SetPageNumber(ARow + 1);
    UpdateStatus();
}

void TRpStandardPreview::FormKeyDown(core::TObject* /*Sender*/, ui::WORD& Key, ui::TShiftState Shift)
{
    // Ctrl alone, no other shift key.
    bool ctrlOnly = (Shift & (ui::ssShift | ui::ssAlt | ui::ssCtrl)) == ui::ssCtrl;
    ui::TControlScrollBar& bar = RpPreview->VertScrollBar();
    switch (Key) {
    case ui::VK_ESCAPE:
        Close();
        break;
    case ui::VK_PRIOR:
        if (ctrlOnly)
            FirstPageClick(this);
        else
            PrevPageClick(this);
        break;
    case ui::VK_HOME:
        FirstPageClick(this);
        break;
    case ui::VK_NEXT:
        if (ctrlOnly)
            LastPageClick(this);
        else
            NextPageClick(this);
        break;
    case ui::VK_END:
        LastPageClick(this);
        break;
    case ui::VK_UP:
        if (bar.Position() - bar.Increment() <= 0) {
            int shown = RpPreview->PageNumber();
            PrevPageClick(this);
            // At the top of the first page there is nothing above to go to.
            if (RpPreview->PageNumber() != shown)
                bar.SetPosition(bar.Range() - RpPreview->Height() - bar.Increment());
            else
                bar.SetPosition(0);
        } else {
            bar.SetPosition(bar.Position() - bar.Increment());
        }
        break;
    case ui::VK_DOWN:
        if (bar.Position() + bar.Increment() >= bar.Range() - RpPreview->Height())
            NextPageClick(this);
        else
            bar.SetPosition(bar.Position() + bar.Increment());
        break;
    default:
        return;
    }
    // The key moved the preview; the control with the focus must not move too.
    Key = 0;
}

void TRpStandardPreview::RpPreviewPageAvailable(core::TObject* /*Sender*/, int /*PageNum*/)
{
    UpdateStatus();
    ThumbGrid->SetRowCount(PageCount());
    ThumbGrid->Invalidate();
    if (QWidget* grid = ThumbGrid->Widget())
        grid->update();
    if (RpPrinter() != nullptr && RpPrinter()->Status() == TRpPrinterStatus::Finished) {
        PrintSetup->SetEnabled(true);
        Print->SetEnabled(true);
    }
}

void TRpStandardPreview::RpPreviewProgressUpdate(core::TObject* /*Sender*/, int Progress)
{
    if (Progress >= lastProgress_ + 5) {
        StatusBar->Panels()[0].SetText(std::to_string(Progress) + "%");
        lastProgress_ = Progress;
    }
    if (Progress == 0 || Progress == 100)
        StatusBar->Panels()[0].SetText("");
}

// ---- zoom

void TRpStandardPreview::ZoomToFitClick(core::TObject* /*Sender*/)
{
    RpProcessMessages();
    RpPreview->ZoomToFit();
}

void TRpStandardPreview::ZoomTo100Click(core::TObject* /*Sender*/)
{
    RpProcessMessages();
    RpPreview->SetZoom(100);
    RpPreview->UpdateZoom();
}

void TRpStandardPreview::ZoomToWidthClick(core::TObject* /*Sender*/)
{
    RpProcessMessages();
    RpPreview->ZoomToWidth();
}

void TRpStandardPreview::FormResize(core::TObject* /*Sender*/)
{
    RpPreview->UpdateZoom();
}

// ---- thumbnails

void TRpStandardPreview::LayoutThumbs()
{
    QFontMetrics metrics(ThumbGrid->Widget() != nullptr ? ThumbGrid->Widget()->font() : QFont());
    thumbTextHeight_ = metrics.height();
    int columnWidth = ThumbGrid->Width() - 4;
    ThumbGrid->SetColWidths(0, columnWidth);
    thumbWidth_ = columnWidth - 20;
    long double paperWidth = RpPrinter() != nullptr ? RpPrinter()->Settings().PaperWidth() : 2159;
    long double paperLength = RpPrinter() != nullptr ? RpPrinter()->Settings().PaperLength() : 2794;
    if (landscape_)
        std::swap(paperWidth, paperLength);
    // A paper without a size leaves the rows as they are.
    if (paperWidth <= 0 || paperLength <= 0)
        return;
    thumbHeight_ = RpRound(thumbWidth_ / paperWidth * paperLength - thumbTextHeight_);
    int rowHeight = std::max(1, thumbHeight_);
    ThumbGrid->SetDefaultRowHeight(rowHeight);
    thumbOffsetX_ = RpRound(static_cast<long double>(columnWidth - thumbWidth_) / 2);
    thumbOffsetY_ = RpRound(static_cast<long double>(rowHeight - thumbHeight_) / 2);
}

void TRpStandardPreview::ThumbGridDrawCell(core::TObject* /*Sender*/, int /*ACol*/, int ARow, const QRect& Rect,
                                           unsigned /*State*/)
{
    QPainter* painter = ThumbGrid->Painter();
    if (painter == nullptr || RpPrinter() == nullptr)
        return;
    std::unique_ptr<gfx::TMetafile> page = RpPrinter()->GetPage(ARow + 1);
    if (page == nullptr)
        return;
    // The cell's right and bottom edges as the class library counts them.
    int left = Rect.left() + thumbOffsetX_;
    int top = Rect.top() + 10;
    int right = Rect.left() + Rect.width() - 30;
    int bottom = Rect.top() + Rect.height() - 10;
    if (right > left && bottom > top) {
        painter->save();
        painter->translate(left, top);
        {
            gfx::TPainterCanvas canvas(painter);
            TRpPreviewImage::PaintPage(canvas, right - left, bottom - top, page.get());
        }
        painter->restore();
    }
    QString number = QString::number(ARow + 1);
    QFontMetrics metrics(painter->font());
    QRect box(Rect.topLeft(), QSize(metrics.horizontalAdvance(number) + 2, metrics.height()));
    painter->fillRect(box, ui::ColorToQColor(ui::clBtnFace));
    painter->setPen(ui::ColorToQColor(ui::clBtnText));
    painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter, number);
}

// ---- go to a page, search

void TRpStandardPreview::GotoPageButtonClick(core::TObject* /*Sender*/)
{
    std::string caption = FormatMessage(msg::SelectPageCaption, {std::to_string(PageCount())});
    std::string answer = ui::InputBox(caption, Str(msg::EnterPageNumber), std::to_string(RpPreview->PageNumber()));
    int page = 0;
    if (!ParsePageNumber(answer, page) || page < 1 || page > PageCount())
        page = 1;
    GoToPage(page);
}

bool TRpStandardPreview::AskSearchText(std::string& text, bool& matchCase)
{
    auto* dialog = ui::CreateComponent<TSearchDlg>(this);
    struct Release {
        TSearchDlg* Dialog;
        ~Release() { ui::FreeComponent(Dialog); }
    } release{dialog};
    dialog->SetSearchText(text);
    dialog->SetMatchCase(matchCase);
    // Closed any other way than by its Search button, the dialog cancels.
    if (dialog->ShowModal() != ui::mrOk || dialog->Cancelled())
        return false;
    text = dialog->SearchText();
    matchCase = dialog->MatchCase();
    return true;
}

void TRpStandardPreview::FindButtonClick(core::TObject* /*Sender*/)
{
    std::string text = SearchTextLabel->Caption();
    bool matchCase = false;
    if (!AskSearchText(text, matchCase))
        return;
    SearchResultBox->SetEnabled(true);
    SearchTextLabel->SetCaption(text);
    SearchResultBox->Clear();
    searchResultPages_.clear();
    for (int n = 1; n <= PageCount(); ++n) {
        std::unique_ptr<gfx::TMetafile> page = RpPrinter()->GetPage(n);
        if (page != nullptr && MetafileContainsText(text, *page, matchCase)) {
            SearchResultBox->Items().Add(Str(msg::Page) + " " + std::to_string(n));
            searchResultPages_.push_back(n);
        }
    }
    if (searchResultPages_.empty()) {
        SearchResultBox->Items().Add(Str(msg::NoMatchingText));
        SearchResultBox->SetEnabled(false);
    }
    // The results are what the user asked to see.
    if (TabSearchResult->TabVisible())
        Tabs->SetActivePage(TabSearchResult);
}

void TRpStandardPreview::SearchResultBoxClick(core::TObject* /*Sender*/)
{
    int index = SearchResultBox->ItemIndex();
    int page = 1;
    if (index >= 0 && index < static_cast<int>(searchResultPages_.size()))
        page = searchResultPages_[static_cast<std::size_t>(index)];
    GoToPage(page);
}

// ---- print, save, load

void TRpStandardPreview::PrintClick(core::TObject* /*Sender*/)
{
    if (RpPrinter() == nullptr)
        return;
    TRpPreviewReport* report = Report();
    if (!StoredReportLoaded && report != nullptr && report->PrintsItselfAgain())
        report->PrintReport();
    else
        RpPrinter()->Print();
}

void TRpStandardPreview::SaveClick(core::TObject* /*Sender*/)
{
    if (RpPrinter() == nullptr)
        return;
    ui::TSaveDialog dialog(nullptr);
    dialog.SetTitle(Str(msg::SaveReportTitle));
    dialog.SetFilter(ExportFilterLibrary().SaveDialogFilter());
    dialog.SetDefaultExt(Str(msg::ReportFileExtension));
    if (!dialog.Execute())
        return;
    int filter = dialog.FilterIndex();
    if (filter <= 1) {
        RpPrinter()->Save(dialog.FileName());
        return;
    }
    std::unique_ptr<TRpExportFilter> exporter =
        ExportFilterLibrary().CreateFilter(static_cast<std::size_t>(filter - 2), dialog.FileName());
    if (exporter != nullptr)
        RpPrinter()->ExportToFilter(exporter.get());
}

void TRpStandardPreview::LoadClick(core::TObject* /*Sender*/)
{
    if (RpPrinter() == nullptr)
        return;
    ui::TOpenDialog dialog(nullptr);
    dialog.SetTitle(Str(msg::LoadReportTitle));
    std::string extension = Str(msg::ReportFileExtension);
    dialog.SetFilter(Str(msg::ReportFile) + " (*." + extension + ")|*." + extension);
    if (!dialog.Execute())
        return;
    if (!core::FileExists(dialog.FileName())) {
        ui::ShowMessage(Str(msg::FileDoesNotExist));
        return;
    }
    RpPrinter()->Load(dialog.FileName());
    PreviewTitle = dialog.FileName();
    // The page shown comes from the loaded file, even when it is page 1 again.
    RpPreview->PreviewImage()->SetPageNumber(1);
    RpPreview->SetPageNumber(1);
    landscape_ = RpPrinter()->Orientation() == print::TPrinterOrientation::poLandscape;
    RpPreview->Resized(RpPreview);
    LayoutThumbs();
    RpPreviewPageAvailable(RpPreview, 1);
    if (ThumbGrid->RowCount() > 0) {
        ThumbSyncScope sync;
        ThumbGrid->SetRow(0);
    }
    StoredReportLoaded = true;
    Print->SetEnabled(true);
}

void TRpStandardPreview::PrintSetupClick(core::TObject* /*Sender*/)
{
    TRpPreviewReport* report = Report();
    if (report == nullptr || RpPrinter() == nullptr)
        return;
    report->PrintSetup();
    TRpReportPrinterSettings& run = report->RunSettings();
    TRpReportPrinterSettings& stored = report->PrinterSettings();

    RpPrinter()->SetPrinterIndex(stored.PrinterIndex());
    // The bin chosen in the dialog, by its code; none of that code keeps the bin.
    TRpBin bin = RpPrinter()->OutputBin();
    for (int b = 0; b < kBinCount; ++b)
        if (BinCode(static_cast<TRpBin>(b)) == run.CustomBinCode()) {
            bin = static_cast<TRpBin>(b);
            break;
        }
    RpPrinter()->SetOutputBin(bin);
    RpPrinter()->SetCollate(run.Collate());
    RpPrinter()->SetColorOption(run.ColorOption());
    RpPrinter()->SetPrintQuality(run.PrintQuality());
    RpPrinter()->SetCopies(run.Copies());
    RpPrinter()->SetCustomBinCode(run.CustomBinCode());
    RpPrinter()->SetFirstPage(run.FirstPage());
    RpPrinter()->SetLastPage(run.LastPage());
    RpPrinter()->SetDuplex(run.Duplex());
    RpPrinter()->SetExtendedDuplex(run.ExtendedDuplex());
    RpPrinter()->SetUseCustomBinCode(stored.UseCustomBinCode());

    if (StoredReportLoaded)
        return;
    stored.SetPrinterIndex(run.PrinterIndex());
    stored.SetOutputBin(bin);
    stored.SetCopies(run.Copies());
    stored.SetDuplex(run.Duplex());
    stored.SetFirstPage(run.FirstPage());
    stored.SetLastPage(run.LastPage());
    stored.SetUseStandardprinter(run.UseStandardprinter());
    stored.SetUseCustomBinCode(run.UseCustomBinCode());
    stored.SetCustomBinCode(run.CustomBinCode());
    stored.SetExtendedDuplex(run.ExtendedDuplex());
    stored.SetUseCustomPaperCode(run.UseCustomPaperCode());
    stored.SetCustomPaperCode(run.CustomPaperCode());
    stored.SetMemoryLimit(run.MemoryLimit());
    stored.SetPrintQuality(run.PrintQuality());
    stored.SetCollate(run.Collate());
    stored.SetColorOption(run.ColorOption());
    report->Page().SetOrientation(report->RunOrientation());
    report->Page().SetPaperSize(report->RunPaperSize());
}

// ---- links, outline, closing

void TRpStandardPreview::RpPreviewHyperlink(core::TObject* /*Sender*/, TRpHyperlinkEventType /*EventType*/,
                                            const std::string& Link, bool& /*Handled*/)
{
    StatusBar->Panels()[2].SetText(Link);
}

void TRpStandardPreview::OutlineViewChange(core::TObject* /*Sender*/, ui::TTreeNode* Node)
{
    if (RpPrinter() == nullptr || Node == nullptr)
        return;
    TRpOutlineArea area;
    std::int32_t page = 0;
    RpPrinter()->PageList().Outline().FindEntry(static_cast<std::int32_t>(Node->Data()), area, page);
    if (page > 0)
        GoToPage(page);
}

void TRpStandardPreview::FormClose(core::TObject* /*Sender*/, ui::TCloseAction& Action)
{
    if (RpPrinter() != nullptr)
        RpPrinter()->ClosePreview();
    RpProcessMessages();
    Action = ui::TCloseAction::caFree;
}

void TRpStandardPreview::ExitClick(core::TObject* /*Sender*/)
{
    Close();
}

} // namespace report
