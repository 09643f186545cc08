#include "report/layout/RpBandSize.h"

#include "platform/ui/kernel/Control.h"
#include "report/layout/RpMath.h"

namespace report {

TRpBandSize::TRpBandSize(ui::TControl* parent) : parent_(parent) {}

long double TRpBandSize::GetValue(int index) const
{
    if (index == 0)
        return FromNative(Units(), false, length_);
    return FromNative(Units(), true, width_);
}

void TRpBandSize::SetValue(int index, long double value)
{
    if (index == 0)
        length_ = ToNative(Units(), false, value);
    else if (index == 1)
        width_ = ToNative(Units(), true, value);
    ApplySizes();
}

void TRpBandSize::ApplySizes()
{
    if (parent_ == nullptr)
        return;
    parentUpdating_ = true;
    try {
        parent_->SetBounds(parent_->Left(), parent_->Top(), RpRound(FromNative(TRpUnit::Pixels, true, width_)),
                           RpRound(FromNative(TRpUnit::Pixels, false, length_)));
    } catch (...) {
        parentUpdating_ = false;
        throw;
    }
    parentUpdating_ = false;
}

void TRpBandSize::ReadValues(core::TReader& reader)
{
    // Nothing changes unless the whole list reads.
    reader.ReadListBegin();
    long double length = reader.ReadFloat();
    long double width = reader.ReadFloat();
    reader.ReadListEnd();
    length_ = length;
    width_ = width;
}

void TRpBandSize::WriteValues(core::TWriter& writer)
{
    writer.WriteListBegin();
    writer.WriteFloat(length_);
    writer.WriteFloat(width_);
    writer.WriteListEnd();
}

} // namespace report
