#include "report/printables/RpPrintable.h"

#include "platform/gfx/Screen.h"
#include "report/layout/RpMath.h"
#include "report/printer/RpPrinter.h"

namespace report {

// ---- TRpPrintableSize ----

TRpPrintableSize::TRpPrintableSize(TRpPrintable* printable) : printable_(printable) {}

long double TRpPrintableSize::NativeValue(int index) const
{
    return index >= 0 && index < 4 ? values_[index] : 0;
}

long double TRpPrintableSize::GetValue(int index) const
{
    const bool horizontal = index == LeftIndex || index == WidthIndex;
    const long double value = NativeValue(index);
    if (GetUnits() == TRpUnit::Pixels && printable_ != nullptr) {
        // The panel's zoom takes the place of the object's own, so that the
        // design view's pixels are counted once with the zoom and a bounds
        // change compares like with like.
        if (auto* panel = dynamic_cast<TRpPanelSite*>(printable_->Parent()))
            return value / (254.0L / resolution_) * panel->PanelZoom() / 100;
    }
    return FromNative(GetUnits(), horizontal, value);
}

void TRpPrintableSize::SetValue(int index, long double value)
{
    if (index >= 0 && index < 4) {
        const bool horizontal = index == LeftIndex || index == WidthIndex;
        values_[index] = ToNative(GetUnits(), horizontal, value);
    }
    ApplySizes();
}

void TRpPrintableSize::SetNativeValue(int index, long double value)
{
    if (index >= 0 && index < 4)
        values_[index] = value;
    ApplySizes();
}

void TRpPrintableSize::ApplySizes()
{
    if (printable_ == nullptr)
        return;
    const std::int32_t left = RpRound(FromNative(TRpUnit::Pixels, true, values_[LeftIndex]));
    const std::int32_t top = RpRound(FromNative(TRpUnit::Pixels, false, values_[TopIndex]));
    const std::int32_t width = RpRound(FromNative(TRpUnit::Pixels, true, values_[WidthIndex]));
    const std::int32_t height = RpRound(FromNative(TRpUnit::Pixels, false, values_[HeightIndex]));
    parentUpdating_ = true;
    try {
        printable_->SetBounds(left, top, width, height);
    } catch (...) {
        parentUpdating_ = false;
        throw;
    }
    parentUpdating_ = false;
}

void TRpPrintableSize::ReadValues(core::TReader& reader)
{
    // Nothing changes unless the whole list reads.
    long double values[4];
    reader.ReadListBegin();
    for (long double& value : values)
        value = reader.ReadFloat();
    reader.ReadListEnd();
    std::copy(std::begin(values), std::end(values), std::begin(values_));
}

void TRpPrintableSize::WriteValues(core::TWriter& writer)
{
    writer.WriteListBegin();
    for (long double value : values_)
        writer.WriteFloat(value);
    writer.WriteListEnd();
}

// ---- TRpPrintable ----

namespace {

TRpPrintable* NewPrintable(core::TComponent* owner)
{
    return new TRpPrintable(owner);
}

} // namespace

const TRpPrintableClass& TRpPrintable::StaticClass()
{
    static const TRpPrintableClass printableClass{"TRpPrintable", &NewPrintable};
    return printableClass;
}

const TRpPrintableEditorClass& TRpPrintableEditor::StaticClass()
{
    // Its colour, font and text writers and its dialog are its descendants'.
    static const TRpPrintableEditorClass editorClass{"TRpPrintableEditor", nullptr};
    return editorClass;
}

TRpPrintable::TRpPrintable(core::TComponent* owner)
    : ui::TCustomControl(owner), frame_(std::make_unique<TRpFrame>(this)),
      size_(std::make_unique<TRpPrintableSize>(this))
{
    SetColor(gfx::RGBToColor(255, 255, 255));
    SetBounds(Left(), Top(), 10, 10);
}

TRpPrintable::~TRpPrintable()
{
    Destroying();
    // The control goes from its parent while the frame and size still exist.
    SetParent(nullptr);
}

bool TRpPrintable::ShouldPrint()
{
    return Enabled() || !Visible();
}

const TRpPrintableEditorClass& TRpPrintable::EditorClass() const
{
    return TRpPrintableEditor::StaticClass();
}

void TRpPrintable::AlignInBand()
{
    if (!alignToBand_)
        return;
    alignUpdating_ = true;
    try {
        auto* band = dynamic_cast<TRpBandSite*>(Parent());
        switch (alignment_) {
        case ui::TAlignment::taLeftJustify: SetLeft(0); break;
        case ui::TAlignment::taRightJustify:
            if (band != nullptr)
                SetLeft(Parent()->Width() - Width());
            break;
        case ui::TAlignment::taCenter:
            // Integer division cuts toward zero, also for a printable wider than its band.
            if (band != nullptr)
                SetLeft((Parent()->Width() - Width()) / 2);
            break;
        }
    } catch (...) {
        alignUpdating_ = false;
        throw;
    }
    alignUpdating_ = false;
}

void TRpPrintable::BeginRun()
{
    isPrinting_ = true;
    rpPrinter_ = parentReport_ != nullptr ? parentReport_->ReportRpPrinter() : nullptr;
    // Output a cancelled run left over does not reach into this one.
    printFinished_ = true;
}

void TRpPrintable::EndRun()
{
    isPrinting_ = false;
}

void TRpPrintable::PrintAt(std::int32_t ofsX, std::int32_t ofsY)
{
    if (!frame_->AnySide())
        return;
    TRpPrinter* printer = rpPrinter_;
    if (printer == nullptr && parentReport_ != nullptr)
        printer = parentReport_->ReportRpPrinter();
    if (printer == nullptr || printer->Canvas() == nullptr)
        return;
    const long double left = ofsX + size_->NativeLeft();
    const long double top = ofsY + size_->NativeTop();
    const gfx::TRect rect = gfx::Rect(printer->XPos(left), printer->YPos(top),
                                      printer->XPos(left + size_->NativeWidth()),
                                      printer->YPos(top + size_->NativeHeight()));
    frame_->DrawFrame(*printer->Canvas(), rect, printer->XFactor(), printer->YFactor());
}

void TRpPrintable::BandNotify(core::TObject* sender, int operation)
{
    (void)sender;
    if (operation == kBandBoundsChanged)
        AlignInBand();
}

void TRpPrintable::SetAlignment(ui::TAlignment value)
{
    alignment_ = value;
    if (alignToBand_)
        AlignInBand();
    Invalidate();
}

void TRpPrintable::SetAlignToBand(bool value)
{
    alignToBand_ = value;
    AlignInBand();
}

void TRpPrintable::SetFrame(TRpFrame* frame)
{
    if (frame != nullptr && frame != frame_.get())
        frame_->Assign(frame);
    Invalidate();
}

void TRpPrintable::SetTransparent(bool value)
{
    if (value == Transparent())
        return;
    const ui::TControlStyle style = ControlStyle();
    SetControlStyle(value ? style & ~static_cast<ui::TControlStyle>(ui::csOpaque) : style | ui::csOpaque);
    Invalidate();
}

void TRpPrintable::SetParentReport(TRpReportSite* report)
{
    parentReport_ = report;
    size_->SetParentReport(report);
}

TRpBandSite* TRpPrintable::ParentBand() const
{
    return dynamic_cast<TRpBandSite*>(Parent());
}

void TRpPrintable::AttachToReport(TRpReportSite* report)
{
    SetParentReport(report);
    const int top = Top();
    const int left = Left();
    SetPrintableZoom(*this, report->ReportZoom());
    SetTop(top);
    SetLeft(left);
}

void TRpPrintable::SetParent(ui::TWinControl* parent)
{
    ui::TCustomControl::SetParent(parent);
    if (parent == nullptr || HasState(core::csDestroying))
        return;
    if (auto* report = dynamic_cast<TRpReportSite*>(parent)) {
        size_->SetUnits(report->ReportUnits());
        AttachToReport(report);
    } else if (auto* band = dynamic_cast<TRpBandSite*>(parent)) {
        size_->SetUnits(band->BandUnits());
        if (TRpReportSite* report = band->PartReport())
            AttachToReport(report);
        SetTop(Top());
        SetLeft(Left());
    }
}

void TRpPrintable::SetBounds(int left, int top, int width, int height)
{
    if (size_ != nullptr && size_->ParentUpdating()) {
        ui::TCustomControl::SetBounds(left, top, width, height);
        if (parentReport_ != nullptr)
            parentReport_->DesignBoundsChanged();
    } else if (HasState(core::csLoading)) {
        if (left != 0)
            loadedLeft_ = left;
        if (top != 0)
            loadedTop_ = top;
        if (width != 0)
            loadedWidth_ = width;
        if (height != 0)
            loadedHeight_ = height;
    } else if (size_ != nullptr) {
        // The size object takes every value that differs in whole pixels;
        // storing one applies all of them to the control.
        size_->SwitchToPixels();
        try {
            using I = TRpPrintableSize;
            const int values[4] = {height, width, top, left};
            const int indexes[4] = {I::HeightIndex, I::WidthIndex, I::TopIndex, I::LeftIndex};
            for (int i = 0; i < 4; ++i)
                if (RpRound(size_->GetValue(indexes[i])) != values[i])
                    size_->SetValue(indexes[i], values[i]);
        } catch (...) {
            size_->RestoreUnits();
            throw;
        }
        size_->RestoreUnits();
    }
    if (alignToBand_ && !alignUpdating_)
        AlignInBand();
}

void TRpPrintable::Loaded()
{
    ui::TCustomControl::Loaded();
    size_->Loaded();
    if (Left() == 0 && loadedLeft_ != 0)
        SetLeft(loadedLeft_);
    if (Top() == 0 && loadedTop_ != 0)
        SetTop(loadedTop_);
    if (Width() == 0 && loadedWidth_ != 0)
        SetWidth(loadedWidth_);
    if (Height() == 0 && loadedHeight_ != 0)
        SetHeight(loadedHeight_);
}

void TRpPrintable::DrawCornerMarks()
{
    gfx::TCanvas& canvas = Canvas();
    canvas.Pen().SetColor(gfx::clBlack);
    canvas.Pen().SetStyle(gfx::TPenStyle::psSolid);
    canvas.Pen().SetWidth(1);
    const int w = Width();
    const int h = Height();
    canvas.MoveTo(0, 3);
    canvas.LineTo(0, 0);
    canvas.LineTo(3, 0);
    canvas.MoveTo(0, h - 4);
    canvas.LineTo(0, h - 1);
    canvas.LineTo(3, h - 1);
    canvas.MoveTo(w - 4, 0);
    canvas.LineTo(w - 1, 0);
    canvas.LineTo(w - 1, 3);
    canvas.MoveTo(w - 4, h - 1);
    canvas.LineTo(w - 1, h - 1);
    canvas.LineTo(w - 1, h - 4);
}

void TRpPrintable::PaintBase()
{
    gfx::TCanvas& canvas = Canvas();
    if (!Transparent()) {
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
        canvas.Brush().SetColor(gfx::clWhite);
        canvas.FillRect(gfx::Rect(0, 0, Width(), Height()));
    }
    PaintMarksAndFrame();
}

void TRpPrintable::PaintMarksAndFrame()
{
    gfx::TCanvas& canvas = Canvas();
    DrawCornerMarks();
    const long double factor = Zoom() * (size_->Resolution() / 254.0L) / 100;
    frame_->DrawFrame(canvas, gfx::Rect(0, 0, Width() - 1, Height() - 1), factor, factor);
}

void TRpPrintable::Paint()
{
    if (isPrinting_)
        return;
    PaintBase();
}

void SetPrintableZoom(TRpPrintable& printable, std::int32_t zoom)
{
    printable.Size().SetZoom(zoom);
    printable.Size().ApplySizes();
}

} // namespace report
