#include "report/bands/RpReport.h"

#include "platform/data/DataSet.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Metafile.h"
#include "platform/gfx/PainterCanvas.h"
#include "platform/gfx/Screen.h"
#include "report/bands/RpBand.h"
#include "report/bands/RpControllerBand.h"
#include "report/bands/RpDesignColors.h"
#include "report/layout/RpMath.h"
#include "report/printables/RpPrintable.h"
#include "report/printer/RpPrinter.h"
#include "report/printer/RpTextMeasure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace report {

namespace {

// Bands as wide as the page between its margins; the others take a column.
bool FullWidthType(TRpBandType type)
{
    return type == TRpBandType::rbTitle || type == TRpBandType::rbPageHeader || type == TRpBandType::rbPageFooter ||
           type == TRpBandType::rbSummary || type == TRpBandType::rbOverlay;
}

// The page's values in screen pixels at the page's zoom.
struct PixelPage {
    long double Width, Length, Left, Right, Top, Bottom, ColumnSpace;
    std::int32_t Columns;
};

PixelPage PagePixels(const TRpPage& page)
{
    // Converted here rather than by switching the page's unit, which a
    // change of paper may have switched already.
    auto px = [&page](int index, bool horizontal) {
        return page.FromNative(TRpUnit::Pixels, horizontal, page.NativeValue(index));
    };
    return PixelPage{px(TRpPage::kWidth, true),       px(TRpPage::kLength, false),     px(TRpPage::kLeftMargin, true),
                     px(TRpPage::kRightMargin, true), px(TRpPage::kTopMargin, false),  px(TRpPage::kBottomMargin, false),
                     px(TRpPage::kColumnSpace, true), page.Columns()};
}

} // namespace

// --- construction

TCustomRpReport::TCustomRpReport(core::TComponent* owner)
    : TRpBasePanel(owner), referenceDC_(std::make_unique<TRpTextMeasure>())
{
    rulerLabels_ = true;
    controller_ = std::make_unique<TRpCustomController>(this);
    controller_->SetParentReport(this);
    controller_->SetSelfCheck(this);
    functions_ = std::make_unique<TRpEvEnvironment>();
    functions_->DefineVariable("PAGENUMBER", "0");
    functions_->DefineVariable("COLUMNNUMBER", "0");
    functions_->DefineVariable("REPORTTITLE", "''");
    printerSettings_ = std::make_unique<TRpReportPrinterSettings>();
    runSettings_ = std::make_unique<TRpReportPrinterSettings>();
    bands_ = std::make_unique<TRpReportBands>(this);
    SetColor(gfx::clWhite);
    SetBounds(0, 0, Width(), Height());
    Font().SetName("Arial");
    Font().SetSize(10);
    page_ = std::make_unique<TRpPage>(this);
    page_->ApplySizes();
    {
        // The paper the default printer starts with.
        TRpPrinter printer(this);
        page_->SetPaperSize(printer.PaperSize());
    }
    StoredReportLoaded = false;
}

TCustomRpReport::~TCustomRpReport()
{
    Destroying();
    // Bands may outlive the report (the form owns them): they let go of it now.
    for (TRpCustomBand* band : std::vector<TRpCustomBand*>(bandList_)) {
        band->DetachFromReport();
        band->SetParent(nullptr);
    }
    bandList_.clear();
    ownPrinter_.reset();
    referenceDC_.reset();
    functions_.reset();
    printerSettings_.reset();
    runSettings_.reset();
    page_.reset();
    bands_.reset();
    controller_.reset();
}

void TCustomRpReport::SetController(std::unique_ptr<TRpCustomController> controller)
{
    controller_ = std::move(controller);
    controller_->SetParentReport(this);
    controller_->SetSelfCheck(this);
}

long double TCustomRpReport::ReportPageWidth() const { return page_ ? page_->NativeValue(TRpPage::kWidth) : 0; }
long double TCustomRpReport::ReportPageLength() const { return page_ ? page_->NativeValue(TRpPage::kLength) : 0; }

void TCustomRpReport::SetZoom(std::int32_t zoom)
{
    if (zoom < 1 || zoom > 300)
        return;
    TRpBasePanel::SetZoom(zoom);
    if (page_) {
        page_->SetZoom(zoom);
        page_->ApplySizes();
    }
    ArrangeBands();
}

void TCustomRpReport::SetUnits(TRpUnit unit)
{
    page_->SetUnits(unit);
    for (TRpCustomBand* band : bandList_)
        band->SetBandUnits(unit);
    for (TRpPrintable* printable : ReportPrintables())
        printable->Size().SetUnits(unit);
}

void TCustomRpReport::AddNotifyExpr(TRpPrintable* expression) { controller_->AddNotify(expression); }

std::vector<TRpPrintable*> TCustomRpReport::ReportPrintables() const
{
    std::vector<TRpPrintable*> printables;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* printable = dynamic_cast<TRpPrintable*>(Controls(i)))
            printables.push_back(printable);
    return printables;
}

std::vector<core::TComponent*> TCustomRpReport::GetChildren() const
{
    std::vector<core::TComponent*> children;
    for (int i = 0; i < ControlCount(); ++i)
        children.push_back(Controls(i));
    for (int i = 0; i < ComponentCount(); ++i) {
        core::TComponent* component = Components(i);
        auto* control = dynamic_cast<ui::TControl*>(component);
        if (control == nullptr || control->Parent() == nullptr)
            children.push_back(component);
    }
    return children;
}

void TCustomRpReport::Notification(core::TComponent* component, core::TOperation operation)
{
    TRpBasePanel::Notification(component, operation);
    if (operation == core::TOperation::opRemove && component == backImage_)
        backImage_ = nullptr;
}

// --- bands and their order

TRpCustomBand* TCustomRpReport::BandOfType(TRpBandType type) const
{
    for (TRpCustomBand* band : bandList_)
        if (band->BandType() == type)
            return band;
    return nullptr;
}

void TCustomRpReport::AddBand(TRpCustomBand* band)
{
    if (band == nullptr || std::find(bandList_.begin(), bandList_.end(), band) != bandList_.end())
        return;
    bandList_.push_back(band);
    RebuildBandOrder();
    ArrangeBands();
}

void TCustomRpReport::RemoveBand(TRpCustomBand* band)
{
    bandList_.erase(std::remove(bandList_.begin(), bandList_.end(), band), bandList_.end());
    orderList_.erase(std::remove(orderList_.begin(), orderList_.end(), band), orderList_.end());
    if (HasState(core::csDestroying))
        return;
    RebuildBandOrder();
    ArrangeBands();
}

void TCustomRpReport::AddToBandOrder(TRpCustomBand* band)
{
    if (band == nullptr || std::find(orderList_.begin(), orderList_.end(), band) != orderList_.end())
        return;
    if (std::find(bandList_.begin(), bandList_.end(), band) == bandList_.end())
        return;
    orderList_.push_back(band);
    // The child bands follow their band; a circle was refused when linked.
    for (TRpCustomBand* candidate : bandList_) {
        auto* child = dynamic_cast<TRpChildBand*>(candidate);
        if (child != nullptr && child->ParentBand() == band)
            AddToBandOrder(child);
    }
}

void TCustomRpReport::RebuildBandOrder()
{
    if (HasState(core::csLoading) || HasState(core::csDestroying) || ordering_ || !controller_)
        return;
    ordering_ = true;
    try {
        AssignControllerBands();
        controller_->CollectTree();
        orderList_.clear();
        auto addType = [this](TRpBandType type) {
            for (TRpCustomBand* band : std::vector<TRpCustomBand*>(bandList_))
                if (band->BandType() == type)
                    AddToBandOrder(band);
        };
        addType(TRpBandType::rbPageHeader);
        addType(TRpBandType::rbTitle);
        addType(TRpBandType::rbColumnHeader);
        controller_->AddBandsInOrder();
        addType(TRpBandType::rbPageFooter);
        for (TRpCustomBand* band : std::vector<TRpCustomBand*>(bandList_))
            AddToBandOrder(band);
        bandList_.swap(orderList_);
        orderList_.clear();
    } catch (...) {
        ordering_ = false;
        throw;
    }
    ordering_ = false;
}

void TCustomRpReport::ArrangeBands()
{
    if (!page_ || arranging_ || HasState(core::csLoading) || HasState(core::csDestroying))
        return;
    arranging_ = true;
    try {
        const PixelPage p = PagePixels(*page_);
        const std::int32_t usable = Width() - RpRound(p.Left + p.Right);
        const std::int32_t columns = std::max<std::int32_t>(1, p.Columns);
        const std::int32_t columnWidth = (usable - RpRound(p.ColumnSpace) * (columns - 1)) / columns;
        std::int32_t y = RpRound(p.Top);
        const std::int32_t left = RpRound(p.Left);
        for (TRpCustomBand* band : std::vector<TRpCustomBand*>(bandList_)) {
            TRpCustomBand* rule = band;
            for (int guard = 0; guard < 1000; ++guard) {
                auto* child = dynamic_cast<TRpChildBand*>(rule);
                if (child == nullptr || child->ParentBand() == nullptr)
                    break;
                rule = child->ParentBand();
            }
            const std::int32_t width = FullWidthType(rule->BandType()) ? usable : columnWidth;
            band->SetParentUpdating(true);
            try {
                TRpBandSize& size = band->Size();
                size.SwitchToPixels();
                if (RpRound(size.Width()) != width)
                    size.SetWidth(width);
                size.RestoreUnits();
                band->SetBounds(left, y, band->Width(), band->Height());
            } catch (...) {
                band->SetParentUpdating(false);
                throw;
            }
            band->SetParentUpdating(false);
            y += band->Height();
        }
    } catch (...) {
        arranging_ = false;
        throw;
    }
    arranging_ = false;
}

TRpBand* TCustomRpReport::CreateBand(TRpBandType type)
{
    core::TComponent* owner = Owner() != nullptr ? Owner() : this;
    auto* band = new TRpBand(owner);
    band->SetParent(this);
    band->SetBandType(type);
    band->SetName(UniqueName(owner, std::string(BandTypeNameText(type))));
    return band;
}

// --- design surface

void TCustomRpReport::InvalidateDesignImage()
{
    if (designInvalidPending_)
        return;
    designInvalidPending_ = true;
    designImage_.reset();
    Invalidate();
}

void TCustomRpReport::SetDesignImage(std::unique_ptr<gfx::TMetafile> image)
{
    designImage_ = std::move(image);
    Invalidate();
}

void TCustomRpReport::SetBounds(int left, int top, int width, int height)
{
    const bool resized = width != Width() || height != Height();
    TRpBasePanel::SetBounds(left, top, width, height);
    if (!page_ || !resized || page_->ParentUpdating())
        return;
    if (page_->PaperSize() == TRpPaperSize::Custom) {
        page_->SwitchToPixels();
        page_->SetWidth(Width());
        page_->SetLength(Height());
        page_->RestoreUnits();
    }
    ArrangeBands();
}

void TCustomRpReport::Loaded()
{
    TRpBasePanel::Loaded();
    RebuildBandOrder();
    ArrangeBands();
}

void TCustomRpReport::DrawRuler(gfx::TCanvas& canvas, TRpUnit unit)
{
    SetFontSize(std::abs(Font().Size()));
    TRpBasePanel::DrawRuler(canvas, unit);
}

void TCustomRpReport::DrawMarginFrame(gfx::TCanvas& canvas)
{
    const TRpDesignColors& colors = DesignColors();
    const PixelPage p = PagePixels(*page_);
    canvas.Pen().SetStyle(colors.GuidePenStyle);
    canvas.Pen().SetColor(colors.GuideColor);
    canvas.Pen().SetWidth(1);
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    canvas.Rectangle(RpRound(p.Left), RpRound(p.Top), RpRound(Width() - p.Right), RpRound(Height() - p.Bottom));
    canvas.Pen().SetStyle(gfx::TPenStyle::psSolid);
}

void TCustomRpReport::DrawReportFrame(gfx::TCanvas& canvas)
{
    const TRpFrame& frame = Frame();
    if (!frame.AnySide())
        return;
    const PixelPage p = PagePixels(*page_);
    frame.SetPenFromFrame(canvas.Pen());
    const int left = RpRound(p.Left);
    const int top = RpRound(p.Top);
    const int right = RpRound(p.Width - p.Right - 1);
    const int bottom = RpRound(p.Length - p.Bottom - 1);
    auto line = [&](int x1, int y1, int x2, int y2) {
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    if (frame.DrawTop())
        line(left, top, right, top);
    if (frame.DrawBottom())
        line(left, bottom, right, bottom);
    if (frame.DrawLeft())
        line(left, top, left, bottom);
    if (frame.DrawRight())
        line(right, top, right, bottom);
}

void TCustomRpReport::DrawColumnGuides(gfx::TCanvas& canvas)
{
    const PixelPage p = PagePixels(*page_);
    if (p.Columns < 2)
        return;
    const TRpDesignColors& colors = DesignColors();
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetStyle(colors.GuidePenStyle);
    canvas.Pen().SetColor(colors.GuideColor);
    const long double g = RpRound((p.Width - p.Left - p.Right - p.ColumnSpace * (p.Columns - 1)) / p.Columns);
    const int top = RpRound(p.Top);
    for (int f = 1; f < p.Columns; ++f) {
        const int end = RpRound(p.Left + g * f + p.ColumnSpace * (f - 1));
        const int start = RpRound(p.Left + (p.ColumnSpace + g) * f);
        canvas.MoveTo(end, 0);
        canvas.LineTo(end, top);
        canvas.MoveTo(start, 0);
        canvas.LineTo(start, top);
    }
    canvas.Pen().SetStyle(gfx::TPenStyle::psSolid);
}

void TCustomRpReport::PaintPanel(gfx::TCanvas& canvas)
{
    TRpBasePanel::PaintPanel(canvas);
    designInvalidPending_ = false;
    if (designImage_)
        canvas.DrawMetafile(gfx::Rect(0, 0, Width(), Height()), *designImage_);
    if (page_->Ruler())
        DrawRuler(canvas, Units());
    DrawMarginFrame(canvas);
    DrawReportFrame(canvas);
    DrawColumnGuides(canvas);
}

// --- measuring text

// Text is laid out in native units, whatever device the page goes to, so the
// preview, the stored pages and every printer break lines and pages alike.
long double TCustomRpReport::ReportTextHeight(const ui::TFont& font, const std::string& text)
{
    try {
        return referenceDC_->TextHeight(font, text);
    } catch (...) {
        return 0;
    }
}

long double TCustomRpReport::ReportTextWidth(const ui::TFont& font, const std::string& text)
{
    try {
        return referenceDC_->TextWidth(font, text);
    } catch (...) {
        return 0;
    }
}

std::vector<long double> TCustomRpReport::ReportTextPositions(const ui::TFont& font, std::u16string_view text)
{
    try {
        return referenceDC_->CharacterPositions(font, text);
    } catch (...) {
        return {};
    }
}

// --- TRpReport

TRpReport::TRpReport(core::TComponent* owner) : TCustomRpReport(owner)
{
    SetController(std::make_unique<TRpController>(this));
}

data::TDataSet* TRpReport::DataSet() const
{
    return static_cast<const TRpController*>(controller_.get())->DataSet();
}

void TRpReport::SetDataSet(data::TDataSet* dataSet) { DataController().SetDataSet(dataSet); }

void TRpReport::AssignControllerBands()
{
    TRpController& controller = DataController();
    controller.SetDetail(BandOfType(TRpBandType::rbDetail));
    controller.SetHeader(BandOfType(TRpBandType::rbTitle));
    controller.SetFooter(BandOfType(TRpBandType::rbSummary));
}

void TRpReport::RunController()
{
    AssignControllerBands();
    DataController().OnNeedData = OnNeedData;
    controller_->Execute();
}

std::int32_t TRpReport::RecordCount()
{
    try {
        data::TDataSet* dataSet = DataSet();
        if (dataSet != nullptr && dataSet->Active())
            return dataSet->RecordCount();
    } catch (...) {
        // A count that cannot be had reads as one record.
    }
    return 1;
}

} // namespace report
