#pragma once
// The page of a report: paper size and orientation, margins, columns and the
// space between them, all lengths in native units and read and written in
// the object's unit. A named paper gives the page its width and length; only
// a custom paper takes them as typed.

#include "platform/print/Printer.h"
#include "report/layout/RpPaperSizes.h"
#include "report/layout/RpUnits.h"

namespace report {

class TRpPage : public TRpUnitBase {
public:
    // Indices of the published lengths, also their order in "Values".
    enum : int {
        kBottomMargin = 0,
        kLength = 1,
        kTopMargin = 2,
        kWidth = 3,
        kLeftMargin = 4,
        kRightMargin = 5,
        kColumnSpace = 6,
    };
    static constexpr int kValueCount = 7;

    // With the defaults of the measurement system (UseUSUnits): Letter
    // with half-inch margins, else A4 with 10 mm margins.
    explicit TRpPage(TRpReportSite* report = nullptr);
    std::string ClassName() const override { return "TRpPage"; }

    // In Units; 0 to 2 are vertical, the others horizontal (any other index reads the column space).
    long double GetValue(int index) const;
    void SetValue(int index, long double value);
    long double NativeValue(int index) const;

    long double BottomMargin() const { return GetValue(kBottomMargin); }
    void SetBottomMargin(long double v) { SetValue(kBottomMargin, v); }
    long double Length() const { return GetValue(kLength); }
    void SetLength(long double v) { SetValue(kLength, v); }
    long double TopMargin() const { return GetValue(kTopMargin); }
    void SetTopMargin(long double v) { SetValue(kTopMargin, v); }
    long double Width() const { return GetValue(kWidth); }
    void SetWidth(long double v) { SetValue(kWidth, v); }
    long double LeftMargin() const { return GetValue(kLeftMargin); }
    void SetLeftMargin(long double v) { SetValue(kLeftMargin, v); }
    long double RightMargin() const { return GetValue(kRightMargin); }
    void SetRightMargin(long double v) { SetValue(kRightMargin, v); }
    long double ColumnSpace() const { return GetValue(kColumnSpace); }
    void SetColumnSpace(long double v) { SetValue(kColumnSpace, v); }

    std::int32_t Columns() const { return columns_; }
    // Ignored when unchanged or not positive.
    void SetColumns(std::int32_t columns);
    print::TPrinterOrientation Orientation() const { return orientation_; }
    // Turns a named paper with the page.
    void SetOrientation(print::TPrinterOrientation orientation);
    TRpPaperSize PaperSize() const { return paperSize_; }
    void SetPaperSize(TRpPaperSize paper);
    bool Ruler() const { return ruler_; }
    void SetRuler(bool ruler);

    void SetUnits(TRpUnit unit) override;
    void ApplySizes() override;
    void ReadValues(core::TReader& reader) override;
    void WriteValues(core::TWriter& writer) override;

private:
    static bool Horizontal(int index) { return index > kTopMargin; }
    void Arrange();
    void Repaint();

    // Native values in the order of "Values".
    long double values_[kValueCount] = {};
    std::int32_t columns_ = 1;
    print::TPrinterOrientation orientation_ = print::TPrinterOrientation::poPortrait;
    TRpPaperSize paperSize_ = TRpPaperSize::Default;
    bool ruler_ = true;
};

} // namespace report
