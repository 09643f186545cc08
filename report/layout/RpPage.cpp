#include "report/layout/RpPage.h"

#include "platform/ui/kernel/Control.h"
#include "report/layout/RpMath.h"
#include "report/layout/RpReportSite.h"

namespace report {

TRpPage::TRpPage(TRpReportSite* report)
{
    parentReport_ = report;
    long double margin;
    if (UseUSUnits) {
        units_ = TRpUnit::Inches;
        SetPaperSize(TRpPaperSize::Letter);
        margin = 0.5L;
    } else {
        units_ = TRpUnit::MM;
        SetPaperSize(TRpPaperSize::A4);
        margin = 10;
    }
    savedUnits_ = units_;
    SetTopMargin(margin);
    SetBottomMargin(margin);
    SetRightMargin(margin);
    SetLeftMargin(margin);
    ruler_ = true;
    columns_ = 1;
}

void TRpPage::Arrange()
{
    if (parentReport_ != nullptr)
        parentReport_->ArrangeDesignBands();
}

void TRpPage::Repaint()
{
    if (parentReport_ != nullptr)
        parentReport_->RepaintReport();
}

long double TRpPage::NativeValue(int index) const
{
    return values_[index >= 0 && index < kValueCount ? index : kColumnSpace];
}

long double TRpPage::GetValue(int index) const
{
    return FromNative(Units(), Horizontal(index), NativeValue(index));
}

void TRpPage::SetValue(int index, long double value)
{
    if (index < 0 || index >= kValueCount)
        return;
    long double native = ToNative(Units(), Horizontal(index), value);
    switch (index) {
    case kBottomMargin:
        values_[index] = native;
        ApplySizes();
        Arrange();
        break;
    case kLength:
    case kWidth:
        if (paperSize_ != TRpPaperSize::Custom)
            return;
        values_[index] = native;
        ApplySizes();
        Arrange();
        break;
    default:
        values_[index] = native;
        Arrange();
        Repaint();
        break;
    }
}

void TRpPage::ApplySizes()
{
    if (parentUpdating_ || parentReport_ == nullptr)
        return;
    ui::TControl* control = parentReport_->ReportControl();
    if (control == nullptr)
        return;
    parentUpdating_ = true;
    try {
        control->SetWidth(RpRound(FromNative(TRpUnit::Pixels, true, values_[kWidth])));
        control->SetHeight(RpRound(FromNative(TRpUnit::Pixels, false, values_[kLength])));
    } catch (...) {
        parentUpdating_ = false;
        throw;
    }
    parentUpdating_ = false;
}

void TRpPage::SetColumns(std::int32_t columns)
{
    if (columns == columns_ || columns <= 0)
        return;
    columns_ = columns;
    Arrange();
    Repaint();
}

void TRpPage::SetOrientation(print::TPrinterOrientation orientation)
{
    orientation_ = orientation;
    SetPaperSize(paperSize_);
}

void TRpPage::SetPaperSize(TRpPaperSize paper)
{
    if (IsTablePaper(paper)) {
        SwitchToPixels();
        SetUnits(TRpUnit::MM);
        paperSize_ = TRpPaperSize::Custom;
        TRpPaperDimensions size = PaperDimensions(paper);
        if (orientation_ == print::TPrinterOrientation::poPortrait) {
            SetValue(kWidth, size.Width);
            SetValue(kLength, size.Length);
        } else {
            SetValue(kWidth, size.Length);
            SetValue(kLength, size.Width);
        }
        RestoreUnits();
        Arrange();
    }
    paperSize_ = paper;
}

void TRpPage::SetRuler(bool ruler)
{
    if (ruler == ruler_)
        return;
    ruler_ = ruler;
    if (parentReport_ != nullptr) {
        parentReport_->RepaintReport();
        parentReport_->ApplyReportUnits();
    }
}

void TRpPage::SetUnits(TRpUnit unit)
{
    units_ = unit;
    Repaint();
}

void TRpPage::ReadValues(core::TReader& reader)
{
    // Nothing changes unless the whole list reads.
    long double values[kValueCount];
    reader.ReadListBegin();
    for (long double& value : values)
        value = reader.ReadFloat();
    reader.ReadListEnd();
    std::copy(std::begin(values), std::end(values), std::begin(values_));
    ApplySizes();
}

void TRpPage::WriteValues(core::TWriter& writer)
{
    writer.WriteListBegin();
    for (long double value : values_)
        writer.WriteFloat(value);
    writer.WriteListEnd();
}

} // namespace report
