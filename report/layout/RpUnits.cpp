#include "report/layout/RpUnits.h"

#include "platform/gfx/Screen.h"
#include "report/layout/RpReportSite.h"

#include <cmath>

namespace report {

bool UseUSUnits = false;

long double CharWidth(long double size)
{
    return 80.0L / size / 2.54L;
}

long double CharHeight(long double size)
{
    return 145.3L / size / 2.54L;
}

TRpUnitBase::TRpUnitBase()
    : resolution_(gfx::ScreenPixelsPerInch()), units_(UseUSUnits ? TRpUnit::Inches : TRpUnit::MM),
      savedUnits_(units_)
{
}

long double TRpUnitBase::CharacterSize(bool horizontal) const
{
    // Without a report (or with a font of no size) a character is measured
    // by the report font's default size.
    long double size = parentReport_ != nullptr ? std::fabs(static_cast<long double>(parentReport_->ReportFontSize()))
                                                : kDefaultFontSize;
    if (size == 0)
        size = kDefaultFontSize;
    return horizontal ? CharWidth(size) : CharHeight(size);
}

long double TRpUnitBase::FromNative(TRpUnit unit, bool horizontal, long double value) const
{
    switch (unit) {
    case TRpUnit::MM: return value / 10;
    case TRpUnit::Inches: return value / 254;
    case TRpUnit::Pixels: return value / (254.0L / resolution_) * zoom_ / 100;
    case TRpUnit::Characters: return value / CharacterSize(horizontal) / 10;
    default: return value;
    }
}

long double TRpUnitBase::ToNative(TRpUnit unit, bool horizontal, long double value) const
{
    switch (unit) {
    case TRpUnit::MM: return value * 10;
    case TRpUnit::Inches: return value * 254;
    case TRpUnit::Pixels: return value * (254.0L / resolution_) / zoom_ * 100;
    case TRpUnit::Characters: return value * CharacterSize(horizontal) * 10;
    default: return value;
    }
}

void TRpUnitBase::DefineProperties(core::TFiler& filer)
{
    filer.DefineProperty(
        "Values", [this](core::TReader& reader) { ReadValues(reader); },
        [this](core::TWriter& writer) { WriteValues(writer); }, true);
}

void TRpUnitBase::SwitchToPixels()
{
    savedUnits_ = GetUnits();
    units_ = TRpUnit::Pixels;
}

} // namespace report
