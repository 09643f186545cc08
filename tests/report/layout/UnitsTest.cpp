// Units and sizes: conversions between native units and the designer's
// units, band and page sizes with their paper, orientation, margins and
// columns, what they push to their controls and report, and the exact bytes
// of their stored "Values".
#include "platform/core/Exceptions.h"
#include "platform/core/Filer.h"
#include "platform/ui/controls/ExtCtrls.h"
#include "report/layout/RpBandSize.h"
#include "report/layout/RpPage.h"
#include "report/layout/RpUnits.h"
#include "tests/report/FakeReport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace report;
using report::fakes::FakeReport;

namespace {

constexpr long double kTolerance = 1e-12L;

// The "Values" property of a size object as it stands in a form stream.
std::string StoredValues(TRpUnitBase& size)
{
    core::TMemoryStream stream;
    core::TWriter writer(stream);
    size.DefineProperties(writer);
    return stream.DataString();
}

void ReadValues(TRpUnitBase& size, const std::string& bytes)
{
    core::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    core::TReader reader(stream);
    reader.ReadProperty([&](core::TFiler& filer) { size.DefineProperties(filer); });
}

std::string Extended(long double value)
{
    std::string bytes(1, '\x05');
    char raw[sizeof(long double)] = {};
    std::memcpy(raw, &value, sizeof value);
    return bytes + std::string(raw, 10);
}

class ImperialScope {
public:
    ImperialScope() { UseUSUnits = true; }
    ~ImperialScope() { UseUSUnits = false; }
};

} // namespace

TEST(UnitsTest, NativeValuesInEveryUnit)
{
    TRpBandSize size;
    size.SetResolution(96);
    EXPECT_EQ(size.FromNative(TRpUnit::MM, true, 200), 20);
    EXPECT_NEAR(size.FromNative(TRpUnit::Inches, false, 200), 0.7874015748L, 1e-10L);
    EXPECT_NEAR(size.FromNative(TRpUnit::Pixels, true, 254), 96, kTolerance);
    size.SetZoom(200);
    EXPECT_NEAR(size.FromNative(TRpUnit::Pixels, true, 254), 192, kTolerance);
    EXPECT_NEAR(size.ToNative(TRpUnit::Pixels, true, 192), 254, kTolerance);
    size.SetZoom(100);
    EXPECT_EQ(size.FromNative(TRpUnit::Native, true, 12.5L), 12.5L);
    EXPECT_EQ(size.ToNative(TRpUnit::Inches, true, 1), 254);

    // A 10-point report font: a cell of 3.1496 mm, a line of 5.7205 mm.
    FakeReport report;
    size.SetParentReport(&report);
    EXPECT_NEAR(CharWidth(10), 3.1496062992L, 1e-10L);
    EXPECT_EQ(CharHeight(10), 145.3L / 10 / 2.54L);
    EXPECT_NEAR(size.ToNative(TRpUnit::Characters, true, 1), 31.496062992L, 1e-9L);
    EXPECT_NEAR(size.ToNative(TRpUnit::Characters, false, 1), 57.204724409L, 1e-9L);
    // The font's size is taken without its sign.
    report.FontSize = -20;
    EXPECT_NEAR(size.ToNative(TRpUnit::Characters, true, 2), 31.496062992L, 1e-9L);

    for (TRpUnit unit : {TRpUnit::MM, TRpUnit::Inches, TRpUnit::Pixels, TRpUnit::Characters, TRpUnit::Native})
        for (bool horizontal : {true, false})
            EXPECT_NEAR(size.ToNative(unit, horizontal, size.FromNative(unit, horizontal, 1234.5L)), 1234.5L, 1e-9L)
                << static_cast<int>(unit);
}

TEST(UnitsTest, UnitsFollowTheMeasurementSystem)
{
    EXPECT_EQ(TRpBandSize().Units(), TRpUnit::MM);
    ImperialScope imperial;
    TRpBandSize size;
    EXPECT_EQ(size.Units(), TRpUnit::Inches);
    size.SwitchToPixels();
    EXPECT_EQ(size.Units(), TRpUnit::Pixels);
    EXPECT_EQ(size.SavedUnits(), TRpUnit::Inches);
    size.RestoreUnits();
    EXPECT_EQ(size.Units(), TRpUnit::Inches);
}

TEST(BandSizeTest, HeightAndWidthInTheChosenUnit)
{
    TRpBandSize size;
    EXPECT_EQ(size.NativeWidth(), 40);
    EXPECT_EQ(size.NativeLength(), 20);
    size.SetHeight(20); // mm
    EXPECT_EQ(size.NativeLength(), 200);
    size.SetUnits(TRpUnit::Inches);
    EXPECT_NEAR(size.Height(), 200.0L / 254, kTolerance);
    size.SetWidth(1);
    EXPECT_EQ(size.NativeWidth(), 254);
    size.SetValue(2, 99); // no such size
    EXPECT_EQ(size.NativeWidth(), 254);
    EXPECT_EQ(size.NativeLength(), 200);
    EXPECT_EQ(size.GetValue(7), 1); // any other index reads the width
}

TEST(BandSizeTest, SizesGoToTheBandInScreenPixels)
{
    ui::TPanel band(nullptr);
    band.SetBounds(5, 7, 1, 1);
    TRpBandSize size(&band);
    size.SetResolution(96);
    size.SetUnits(TRpUnit::Native);
    size.SetWidth(2540);
    EXPECT_EQ(band.Width(), 960);
    EXPECT_EQ(band.Height(), 8); // 20 native: 7.56 pixels
    EXPECT_EQ(band.Left(), 5);
    EXPECT_EQ(band.Top(), 7);
    EXPECT_FALSE(size.ParentUpdating());
}

TEST(BandSizeTest, ValuesAreTwoNativeFloats)
{
    TRpBandSize size;
    size.SetUnits(TRpUnit::Inches);
    size.SetHeight(0.5L);
    std::string stored = StoredValues(size);
    EXPECT_EQ(stored, std::string("\x06Values\x01", 8) + Extended(127) + Extended(40) + std::string(1, '\0'));

    // The values are native: another unit reads them back the same.
    TRpBandSize copy;
    copy.SetUnits(TRpUnit::Pixels);
    ReadValues(copy, stored);
    EXPECT_EQ(copy.NativeLength(), 127);
    EXPECT_EQ(copy.NativeWidth(), 40);
    EXPECT_EQ(StoredValues(copy), stored);

    // A list cut short changes nothing.
    TRpBandSize damaged;
    std::string cut = std::string("\x06Values\x01", 8) + Extended(5) + std::string(1, '\0');
    EXPECT_THROW(ReadValues(damaged, cut), core::EReadError);
    EXPECT_EQ(damaged.NativeLength(), 20);
}

TEST(PageTest, MetricDefaults)
{
    FakeReport report;
    TRpPage page(&report);
    EXPECT_EQ(page.Units(), TRpUnit::MM);
    EXPECT_EQ(page.PaperSize(), TRpPaperSize::A4);
    EXPECT_EQ(page.Width(), 210);
    EXPECT_EQ(page.Length(), 297);
    EXPECT_EQ(page.NativeValue(TRpPage::kTopMargin), 100);
    EXPECT_EQ(page.LeftMargin(), 10);
    EXPECT_EQ(page.RightMargin(), 10);
    EXPECT_EQ(page.BottomMargin(), 10);
    EXPECT_EQ(page.ColumnSpace(), 0);
    EXPECT_EQ(page.Columns(), 1);
    EXPECT_TRUE(page.Ruler());
    EXPECT_EQ(page.Orientation(), print::TPrinterOrientation::poPortrait);
}

TEST(PageTest, ImperialDefaults)
{
    ImperialScope imperial;
    TRpPage page;
    EXPECT_EQ(page.Units(), TRpUnit::Inches);
    EXPECT_EQ(page.PaperSize(), TRpPaperSize::Letter);
    EXPECT_NEAR(page.Width(), 8.5L, kTolerance);
    EXPECT_NEAR(page.Length(), 11, kTolerance);
    EXPECT_EQ(page.NativeValue(TRpPage::kLeftMargin), 127);
    EXPECT_EQ(page.TopMargin(), 0.5L);
}

TEST(PageTest, OnlyACustomPaperTakesTypedSizes)
{
    FakeReport report;
    TRpPage page(&report);
    page.SetWidth(100);
    page.SetLength(100);
    EXPECT_EQ(page.Width(), 210);
    EXPECT_EQ(page.Length(), 297);

    page.SetPaperSize(TRpPaperSize::Custom);
    page.SetWidth(100);
    page.SetLength(150);
    EXPECT_EQ(page.NativeValue(TRpPage::kWidth), 1000);
    EXPECT_EQ(page.NativeValue(TRpPage::kLength), 1500);
    // Landscape turns named papers only.
    page.SetOrientation(print::TPrinterOrientation::poLandscape);
    EXPECT_EQ(page.Width(), 100);
    EXPECT_EQ(page.Length(), 150);

    page.SetPaperSize(TRpPaperSize::A4);
    EXPECT_EQ(page.Width(), 297);
    EXPECT_EQ(page.Length(), 210);
    EXPECT_EQ(page.PaperSize(), TRpPaperSize::A4);
    page.SetOrientation(print::TPrinterOrientation::poPortrait);
    EXPECT_EQ(page.Width(), 210);
    EXPECT_EQ(page.Length(), 297);
    // Default keeps the sizes it finds.
    page.SetPaperSize(TRpPaperSize::Default);
    EXPECT_EQ(page.Width(), 210);
    EXPECT_EQ(page.Units(), TRpUnit::MM);
}

TEST(PageTest, PaperSizeKeepsTheDesignersUnit)
{
    TRpPage page;
    page.SetUnits(TRpUnit::Inches);
    page.SetPaperSize(TRpPaperSize::A5);
    EXPECT_EQ(page.Units(), TRpUnit::Inches);
    EXPECT_EQ(page.NativeValue(TRpPage::kWidth), 1480);
    EXPECT_EQ(page.NativeValue(TRpPage::kLength), 2100);
}

TEST(PageTest, ColumnsRulerAndMarginsTellTheReport)
{
    FakeReport report;
    TRpPage page(&report);
    report.Arranged = report.Repainted = 0;
    page.SetColumns(0);
    page.SetColumns(-3);
    page.SetColumns(1);
    EXPECT_EQ(page.Columns(), 1);
    EXPECT_EQ(report.Arranged, 0);
    page.SetColumns(3);
    EXPECT_EQ(page.Columns(), 3);
    EXPECT_EQ(report.Arranged, 1);
    EXPECT_EQ(report.Repainted, 1);

    page.SetLeftMargin(15);
    EXPECT_EQ(page.NativeValue(TRpPage::kLeftMargin), 150);
    EXPECT_EQ(report.Arranged, 2);
    EXPECT_EQ(report.Repainted, 2);
    page.SetBottomMargin(12);
    EXPECT_EQ(report.Arranged, 3);
    EXPECT_EQ(report.Repainted, 2);

    page.SetRuler(true);
    EXPECT_EQ(report.UnitsApplied, 0);
    page.SetRuler(false);
    EXPECT_FALSE(page.Ruler());
    EXPECT_EQ(report.UnitsApplied, 1);
    EXPECT_EQ(report.Repainted, 3);
}

TEST(PageTest, ThePageSizesTheReportInScreenPixels)
{
    ui::TPanel control(nullptr);
    FakeReport report;
    report.Control = &control;
    TRpPage page(&report);
    page.SetResolution(96);
    page.SetPaperSize(TRpPaperSize::A4);
    EXPECT_EQ(control.Width(), 794);  // 793.7
    EXPECT_EQ(control.Height(), 1123); // 1122.5
    page.SetPaperSize(TRpPaperSize::A5);
    EXPECT_EQ(control.Width(), 559);
    EXPECT_EQ(control.Height(), 794);
}

TEST(PageTest, ValuesAreSevenNativeFloats)
{
    TRpPage page;
    page.SetColumnSpace(2.5L);
    std::string stored = StoredValues(page);
    std::string expected = std::string("\x06Values\x01", 8) + Extended(100) + Extended(2970) + Extended(100) +
                           Extended(2100) + Extended(100) + Extended(100) + Extended(25) + std::string(1, '\0');
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(stored.size(), 8u + 7 * 11 + 1);

    FakeReport report;
    ui::TPanel control(nullptr);
    report.Control = &control;
    TRpPage copy(&report);
    copy.SetResolution(96);
    copy.SetUnits(TRpUnit::Inches);
    copy.SetPaperSize(TRpPaperSize::Letter);
    ReadValues(copy, stored);
    EXPECT_EQ(copy.NativeValue(TRpPage::kColumnSpace), 25);
    EXPECT_EQ(copy.NativeValue(TRpPage::kWidth), 2100);
    EXPECT_EQ(control.Width(), 794); // read values are applied
    EXPECT_EQ(StoredValues(copy), stored);
}
