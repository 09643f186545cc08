#include "report/bands/RpBand.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Screen.h"
#include "platform/ui/kernel/Dialogs.h"
#include "platform/ui/kernel/Forms.h"
#include "report/bands/RpController.h"
#include "report/bands/RpDesignColors.h"
#include "report/bands/RpReport.h"
#include "report/layout/RpMath.h"
#include "report/printables/RpPrintable.h"
#include "report/printables/RpShape.h"
#include "report/printer/RpExportFilter.h"
#include "report/printer/RpPrinter.h"
#include "report/printer/RpWindowMessages.h"

#include <cmath>
#include <cstdlib>

namespace report {

bool BreakInProgress = false;

namespace {

// Bands that belong to the page itself and never force a break.
bool PageBand(TRpBandType type)
{
    return type == TRpBandType::rbTitle || type == TRpBandType::rbPageHeader || type == TRpBandType::rbPageFooter ||
           type == TRpBandType::rbOverlay;
}

constexpr int kDefaultHeight = 40;

} // namespace

std::string UniqueName(const core::TComponent* owner, const std::string& stem)
{
    for (int n = 1;; ++n) {
        std::string name = stem + std::to_string(n);
        if (owner == nullptr || owner->FindComponent(name) == nullptr)
            return name;
    }
}

// --- construction

TRpCustomBand::TRpCustomBand(core::TComponent* owner) : TRpBasePanel(owner)
{
    size_ = std::make_unique<TRpBandSize>(this);
    SetParentReport(nullptr);
    SetCaption("");
    SetColor(gfx::clWhite);
    bandEnabled_ = true;
    SetHeight(kDefaultHeight);
    loadedHeight_ = kDefaultHeight;
}

TRpCustomBand::~TRpCustomBand()
{
    Destroying();
    if (parentReport_ != nullptr) {
        TCustomRpReport* report = parentReport_;
        parentReport_ = nullptr;
        report->RemoveBand(this);
    }
    if (notifyController_ != nullptr)
        notifyController_ = nullptr;
    // The size must not push values to a band that is going away.
    size_->SetParent(nullptr);
}

void TRpCustomBand::DetachFromReport()
{
    parentReport_ = nullptr;
    size_->SetParentReport(nullptr);
    notifyController_ = nullptr;
    ForEachPrintable(*this, [](TRpPrintable& printable) { printable.SetParentReport(nullptr); });
}

TRpReportSite* TRpCustomBand::PartReport() const { return parentReport_; }

void TRpCustomBand::SetParentReport(TCustomRpReport* report) { parentReport_ = report; }

void TRpCustomBand::SetSize(TRpBandSize* size)
{
    if (size == nullptr || size == size_.get())
        return;
    const TRpUnit unit = size_->Units();
    size_->SetUnits(TRpUnit::Native);
    const TRpUnit otherUnit = size->Units();
    size->SetUnits(TRpUnit::Native);
    const long double height = size->Height();
    const long double width = size->Width();
    size->SetUnits(otherUnit);
    size_->SetValue(1, width);
    size_->SetValue(0, height);
    size_->SetUnits(unit);
}

void TRpCustomBand::RefuseCircularLink() const
{
    if (Designing())
        ui::ShowMessage(std::string(msg::CircularLinking));
}

// --- properties

void TRpCustomBand::SetEnabled(bool enabled)
{
    bandEnabled_ = enabled;
    TRpBasePanel::SetEnabled(enabled);
    Invalidate();
}

void TRpCustomBand::SetLinkBand(TRpCustomBand* band)
{
    for (TRpCustomBand* b = band; b != nullptr; b = b->LinkBand()) {
        if (b == this) {
            RefuseCircularLink();
            return;
        }
    }
    if (linkBand_ != nullptr)
        linkBand_->RemoveFreeNotification(this);
    linkBand_ = band;
    if (band != nullptr)
        band->FreeNotification(this);
}

void TRpCustomBand::Notification(core::TComponent* component, core::TOperation operation)
{
    TRpBasePanel::Notification(component, operation);
    if (operation != core::TOperation::opRemove)
        return;
    if (component == linkBand_)
        linkBand_ = nullptr;
}

TRpChildBand* TRpCustomBand::ChildBand() const
{
    if (parentReport_ == nullptr)
        return nullptr;
    for (TRpCustomBand* band : parentReport_->BandList()) {
        auto* child = dynamic_cast<TRpChildBand*>(band);
        if (child != nullptr && child->BandType() == TRpBandType::rbChild && child->ParentBand() == this)
            return child;
    }
    return nullptr;
}

void TRpCustomBand::SetHasChild(bool hasChild)
{
    if (hasChild == HasChild())
        return;
    if (hasChild) {
        // Only a designer names a new child; at run time it stays unnamed.
        std::string name;
        if (Designing()) {
            core::TComponent* form = Owner();
            while (form != nullptr && dynamic_cast<ui::TCustomForm*>(form) == nullptr)
                form = form->Owner();
            if (form != nullptr)
                name = UniqueName(form, "ChildBand");
        }
        auto* child = new TRpChildBand(Owner());
        if (!name.empty())
            child->SetName(name);
        child->SetParent(Parent());
        child->SetParentBand(this);
        return;
    }
    TRpChildBand* child = ChildBand();
    if (child == nullptr)
        return;
    if (TRpChildBand* grandChild = child->ChildBand())
        grandChild->SetParentBand(this);
    delete child;
}

void TRpCustomBand::SetBandUnits(TRpUnit unit)
{
    size_->SetUnits(unit);
    Invalidate();
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* printable = dynamic_cast<TRpPrintable*>(Controls(i)))
            printable->Size().SetUnits(unit);
}

// --- geometry

long double TRpCustomBand::HeightWithLinks(bool follow) const
{
    // The link band's control height in screen pixels is not added: it is
    // in another unit than the rest of the sum.
    long double height = size_->NativeLength();
    if (follow && linkBand_ != nullptr)
        height += linkBand_->HeightWithLinks(true);
    return height;
}

bool TRpCustomBand::CanExpand(long double amount)
{
    if (parentReport_ == nullptr)
        return false;
    return parentReport_->AvailableSpace() >= RpRound(size_->NativeLength() + expanded_ + amount);
}

bool TRpCustomBand::Expand(long double amount, long double& extra, bool& started)
{
    if (!CanExpand(amount))
        return false;
    if (!started && amount < expanded_) {
        extra = expanded_;
        started = true;
        return true;
    }
    expanded_ += amount;
    extra = expanded_;
    started = true;
    return false;
}

void TRpCustomBand::AdvancePosition()
{
    if (parentReport_ != nullptr)
        parentReport_->SetCurrentY(parentReport_->CurrentY() + RpRound(size_->NativeLength() + expanded_));
}

void TRpCustomBand::SetNativeHeight(long double height)
{
    if (size_->NativeLength() == height)
        return;
    const TRpUnit unit = size_->Units();
    size_->SetUnits(TRpUnit::Native);
    size_->SetHeight(height);
    size_->SetUnits(unit);
}

// --- the control

void TRpCustomBand::SetParent(ui::TWinControl* parent)
{
    if (auto* report = dynamic_cast<TCustomRpReport*>(Parent()); report != nullptr && report != parent) {
        parentReport_ = nullptr;
        report->RemoveBand(this);
    }
    if (auto* band = dynamic_cast<TRpCustomBand*>(parent))
        parent = band->Parent();
    TRpBasePanel::SetParent(parent);
    if (auto* report = dynamic_cast<TCustomRpReport*>(parent)) {
        SetParentReport(report);
        report->AddBand(this);
        size_->SetParentReport(report);
        SetZoom(report->Zoom());
        // Printables placed on the band before it joined the report print for it.
        ForEachPrintable(*this, [report](TRpPrintable& printable) { printable.AttachToReport(report); });
    } else if (parentReport_ == nullptr && !HasState(core::csDestroying)) {
        ForEachPrintable(*this, [](TRpPrintable& printable) { printable.SetParentReport(nullptr); });
    }
}

void TRpCustomBand::SetBounds(int left, int top, int width, int height)
{
    if (!size_ || HasState(core::csLoading)) {
        if (height != kDefaultHeight)
            loadedHeight_ = height;
        return;
    }
    if (parentReport_ == nullptr)
        TRpBasePanel::SetBounds(left, top, width, height);
    if (size_->ParentUpdating()) {
        TRpBasePanel::SetBounds(left, top, width, height);
        if (!parentUpdating_ && parentReport_ != nullptr)
            parentReport_->ArrangeBands();
        for (int i = 0; i < ControlCount(); ++i)
            if (auto* printable = dynamic_cast<TRpPrintable*>(Controls(i)); printable && printable->AlignToBand())
                printable->BandNotify(this, 2);
        return;
    }
    // A user or the layout moved or resized the band: the height goes to the
    // size, the width stays the report's.
    // Compared as the control shows it, so a move keeps the native height.
    size_->SwitchToPixels();
    if (RpRound(size_->Height()) != height)
        size_->SetHeight(height);
    if (top != Top() || left != Left()) {
        TRpBasePanel::SetBounds(left, top, Width(), Height());
        if (!parentUpdating_ && parentReport_ != nullptr)
            parentReport_->ArrangeBands();
    }
    size_->RestoreUnits();
    if (parentReport_ != nullptr)
        parentReport_->InvalidateDesignImage();
}

void TRpCustomBand::SetZoom(std::int32_t zoom)
{
    TRpBasePanel::SetZoom(zoom);
    size_->SetZoom(Zoom());
    size_->ApplySizes();
}

void TRpCustomBand::Loaded()
{
    TRpBasePanel::Loaded();
    size_->Loaded();
    if (loadedHeight_ != kDefaultHeight && Height() == kDefaultHeight)
        SetHeight(loadedHeight_);
}

void TRpCustomBand::DrawRuler(gfx::TCanvas& canvas, TRpUnit unit)
{
    if (parentReport_ != nullptr)
        SetFontSize(std::abs(parentReport_->Font().Size()));
    TRpBasePanel::DrawRuler(canvas, unit);
}

void TRpCustomBand::PaintPanel(gfx::TCanvas& canvas)
{
    TRpBasePanel::PaintPanel(canvas);
    if (parentReport_ != nullptr && parentReport_->Page().Ruler())
        DrawRuler(canvas, parentReport_->Units());
    const TRpDesignColors& colors = DesignColors();
    canvas.Pen().SetStyle(colors.BandPenStyle);
    canvas.Pen().SetColor(colors.BandColor);
    canvas.Pen().SetWidth(1);
    const int w = Width();
    const int h = Height();
    canvas.MoveTo(0, 0);
    canvas.LineTo(w, 0);
    canvas.MoveTo(0, h - 1);
    canvas.LineTo(w, h - 1);
    canvas.MoveTo(0, 0);
    canvas.LineTo(0, h);
    canvas.MoveTo(w - 1, 0);
    canvas.LineTo(w - 1, h);
    canvas.Pen().SetStyle(gfx::TPenStyle::psSolid);
    const long double factor = gfx::ScreenPixelsPerInch() / 254.0L;
    Frame().DrawFrame(canvas, gfx::Rect(0, 0, w - 1, h - 1), factor, factor);
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    canvas.Font().SetName(colors.CaptionFontName);
    canvas.Font().SetSize(colors.CaptionFontSize);
    canvas.Font().SetColor(colors.CaptionFontColor);
    canvas.TextOut(2, h - canvas.TextHeight("W") - 4, BandTypeCaption());
}

// --- printing

void TRpCustomBand::SpaceCheck()
{
    TCustomRpReport& report = *parentReport_;
    const std::int32_t h = RpRound(HeightWithLinks(true));
    const TRpPage& page = report.Page();
    const long double usable = page.NativeValue(TRpPage::kLength) - page.NativeValue(TRpPage::kTopMargin) -
                               page.NativeValue(TRpPage::kBottomMargin);
    // The page's header and footer gain nothing from a new page (and would
    // print again in it). A band higher than the usable page gets a column
    // of its own: it prints where it is only at the start of a column.
    const bool ofThePage = bandType_ == TRpBandType::rbPageHeader || bandType_ == TRpBandType::rbPageFooter ||
                           bandType_ == TRpBandType::rbOverlay;
    const bool tooHigh = h > usable;
    const bool needed = report.PageCount() == 0 || (!ofThePage && h > report.AvailableSpace() &&
                                                    (!tooHigh || !report.AtColumnStart()));
    if (needed) {
        BreakInProgress = bandType_ == TRpBandType::rbDetail;
        report.NewColumn();
    } else if (bandType_ == TRpBandType::rbDetail) {
        BreakInProgress = false;
    }
}

void TRpCustomBand::ExportBackground()
{
    TRpExportFilter* filter = parentReport_->ExportingFilter();
    if (filter == nullptr)
        return;
    TRpShape shape(this);
    shape.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    shape.Brush().SetColor(Color());
    shape.Pen().SetStyle(gfx::TPenStyle::psClear);
    const gfx::TRect& r = bandFrameRect_;
    shape.SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    filter->ExportShape(shape, r.Left, r.Top);
}

void TRpCustomBand::PrintPrintables(bool first, bool& done, bool& advanced)
{
    TCustomRpReport& report = *parentReport_;
    for (int i = 0; i < ControlCount(); ++i) {
        auto* printable = dynamic_cast<TRpPrintable*>(Controls(i));
        if (printable == nullptr || !printable->ShouldPrint())
            continue;
        if (first || !printable->PrintFinished()) {
            printable->PrintAt(report.CurrentX(), report.CurrentY());
            if (!printable->PrintFinished() && printable->OutputAdvanced())
                advanced = true;
        }
        done = done && printable->PrintFinished();
    }
}

void TRpCustomBand::DropOutputLeft()
{
    for (int i = 0; i < ControlCount(); ++i) {
        auto* printable = dynamic_cast<TRpPrintable*>(Controls(i));
        if (printable != nullptr && !printable->PrintFinished())
            printable->DropOutputLeft();
    }
}

long double TRpCustomBand::OutputLimit() const
{
    if (parentReport_ == nullptr || parentReport_->Available())
        return TRpBandSite::OutputLimit();
    const long double top = parentReport_->CurrentY();
    // A page footer keeps to its strip; other bands to the page's room, so
    // that nothing prints past the paper's printable part.
    if (bandType_ == TRpBandType::rbPageFooter)
        return top + size_->NativeLength() + expanded_;
    return top + parentReport_->AvailableSpace();
}

void TRpCustomBand::Print()
{
    if (parentReport_ == nullptr)
        return;
    TCustomRpReport& report = *parentReport_;
    // A cancelled run stops at the next band. A band that a break of its own
    // asks for again (a header of the page or column it opens) is already
    // printing there.
    if (report.RunCancelled() || printing_)
        return;
    printing_ = true;
    struct PrintingEnd {
        bool& flag;
        ~PrintingEnd() { flag = false; }
    } printingEnd{printing_};

    bool printBand = bandEnabled_;
    if (bandEnabled_ && BeforePrint && !Designing())
        BeforePrint(this, printBand);

    if (printBand) {
        if (forceNewPage_ && !BreakInProgress && !PageBand(bandType_) && report.PageCount() > 0) {
            report.ForcedNewPage();
            BreakInProgress = false;
        } else if (forceNewColumn_ && !PageBand(bandType_) && report.PageCount() > 0) {
            report.ForcedNewColumn();
        } else {
            SpaceCheck();
        }
        // A cancel heard during the break ends the band here.
        if (report.RunCancelled()) {
            BreakInProgress = false;
            return;
        }
        if (notifyController_ != nullptr)
            notifyController_->Notify(0);
        // At the start of a column a new one has no more room to offer.
        if (keepOnOnePage_ && NeededHeight() > report.AvailableSpace() && !report.AtColumnStart())
            report.NewColumn();
        // An export filter hears where the output begins, after any break.
        const std::int32_t startX = report.CurrentX();
        const std::int32_t startY = report.CurrentY();

        TRpPrinter* printer = report.RpPrinter();
        auto frameRect = [&](long double extra) {
            return gfx::Rect(printer->XPos(report.CurrentX()), printer->YPos(report.CurrentY()),
                             printer->XPos(report.CurrentX() + size_->NativeWidth()),
                             printer->YPos(report.CurrentY() + size_->NativeLength() + extra));
        };
        if (!transparentBand_ && bandEnabled_ && printer != nullptr) {
            const long double h0 = size_->NativeLength();
            if (preCalculate_)
                SetNativeHeight(NeededHeight());
            bandFrameRect_ = frameRect(0);
            ExportBackground();
            SetNativeHeight(h0);
        }
        if (Height() != 0 && bandEnabled_ && printer != nullptr) {
            if (!transparentBand_ && printer->Canvas() != nullptr) {
                printer->Canvas()->Brush().SetStyle(gfx::TBrushStyle::bsSolid);
                printer->Canvas()->Brush().SetColor(Color());
                printer->Canvas()->FillRect(bandFrameRect_);
            }
            expanded_ = 0;
            const long double h0 = size_->NativeLength();
            // A band that starts a column finds no more room in the next one.
            const bool atColumnStart = report.AtColumnStart();
            bool first = true;
            bool done;
            do {
                done = true;
                bool advanced = false;
                PrintPrintables(first, done, advanced);
                bandFrameRect_ = frameRect(expanded_ + 1);
                if (printer->Canvas() != nullptr)
                    Frame().DrawFrame(*printer->Canvas(), bandFrameRect_, printer->XFactor(), printer->YFactor());
                if (!done) {
                    // Output is left over. It goes on in the next column or page,
                    // unless the band cannot move on from where it stands (a page
                    // footer), it got no further on a fresh column, or the run
                    // was cancelled: then what did not fit is given up.
                    const bool goOn = bandType_ != TRpBandType::rbPageFooter &&
                                      (advanced || (first && !atColumnStart)) && !report.RunCancelled();
                    if (goOn) {
                        // The cancel button is heard while a long text continues.
                        RpProcessMessages();
                        BreakInProgress = true;
                        report.NewColumn();
                        BreakInProgress = false;
                        SetNativeHeight(h0);
                        expanded_ = 0;
                    }
                    if (!goOn || report.RunCancelled()) {
                        DropOutputLeft();
                        done = true;
                    }
                }
                first = false;
            } while (!done);
            AdvancePosition();
            SetNativeHeight(h0);
        }
        if (TRpExportFilter* filter = report.ExportingFilter())
            filter->ExportBand(*this, startX, startY, expanded_ != 0);
    } else if (notifyController_ != nullptr && !bandEnabled_) {
        notifyController_->Notify(0);
    }
    expanded_ = 0;
    if (AfterPrint && !Designing())
        AfterPrint(this, printBand);
    if (TRpChildBand* child = ChildBand()) {
        if (bandType_ == TRpBandType::rbPageFooter)
            child->SetPrintingType(TRpBandType::rbPageFooter);
        report.PrintReportBand(child);
        child->SetPrintingType(TRpBandType::rbChild);
    }
    BreakInProgress = false;
}

// --- band type

void TRpCustomBand::SetBandType(TRpBandType type)
{
    SetBandTypeValue(type);
    if (TCustomRpReport* report = ParentReport()) {
        report->RebuildBandOrder();
        report->ArrangeBands();
    }
}

// --- TRpChildBand

TRpChildBand::TRpChildBand(core::TComponent* owner) : TRpCustomBand(owner)
{
    SetBandTypeValue(TRpBandType::rbChild);
}

void TRpChildBand::SetParentBand(TRpCustomBand* band)
{
    for (TRpCustomBand* b = band; b != nullptr;) {
        if (b == this) {
            RefuseCircularLink();
            return;
        }
        auto* child = dynamic_cast<TRpChildBand*>(b);
        b = child != nullptr ? child->ParentBand() : nullptr;
    }
    // Letting go of a band always clears the link, so nothing dangles.
    if (band != nullptr && ParentReport() == nullptr)
        return;
    if (parentBand_ != nullptr)
        parentBand_->RemoveFreeNotification(this);
    parentBand_ = band;
    if (band != nullptr)
        band->FreeNotification(this);
    TCustomRpReport* report = ParentReport();
    if (report != nullptr && !report->HasState(core::csDestroying)) {
        report->RebuildBandOrder();
        report->ArrangeBands();
    }
}

void TRpChildBand::Notification(core::TComponent* component, core::TOperation operation)
{
    TRpCustomBand::Notification(component, operation);
    if (operation == core::TOperation::opRemove && component == parentBand_)
        SetParentBand(nullptr);
}

} // namespace report
