#pragma once
// A report as far as its printer, sizes and frames ask of it, counting what
// they ask it to do.

#include "platform/core/Component.h"
#include "report/RpReportPrinterSettings.h"
#include "report/RpReportSite.h"

namespace report::fakes {

class FakeReport : public core::TComponent, public TRpReportSite {
public:
    FakeReport() : core::TComponent(nullptr) {}
    const TRpReportPrinterSettings& ReportPrinterSettings() const override { return Settings; }
    TRpExportFilter* ExportingFilter() const override { return Filter; }
    int ReportFontSize() const override { return FontSize; }
    long double ReportPageWidth() const override { return 2100; }
    long double ReportPageLength() const override { return 2970; }
    ui::TControl* ReportControl() override { return Control; }
    void ArrangeDesignBands() override { ++Arranged; }
    void RepaintReport() override { ++Repainted; }
    void ApplyReportUnits() override { ++UnitsApplied; }

    TRpReportPrinterSettings Settings;
    TRpExportFilter* Filter = nullptr;
    int FontSize = 10;
    ui::TControl* Control = nullptr;
    int Arranged = 0;
    int Repainted = 0;
    int UnitsApplied = 0;
};

} // namespace report::fakes
