#pragma once
// What the pieces of a report (its printer, page and band sizes, frames) ask
// of the report that owns them. The report component implements it; bands
// and printables implement TRpReportPart to lead to their report.

#include <cstdint>

namespace ui {
class TControl;
}

namespace report {

class TRpExportFilter;
class TRpReportPrinterSettings;

class TRpReportSite {
public:
    virtual ~TRpReportSite() = default;

    // The printer options the report stores.
    virtual const TRpReportPrinterSettings& ReportPrinterSettings() const = 0;
    // The filter the report is producing output for now; none otherwise.
    virtual TRpExportFilter* ExportingFilter() const = 0;
    // The size of the report's font in points, as the font holds it.
    virtual int ReportFontSize() const = 0;
    // The page of the report in native units (0.1 mm).
    virtual long double ReportPageWidth() const = 0;
    virtual long double ReportPageLength() const = 0;
    // The control that shows the report on the design surface.
    virtual ui::TControl* ReportControl() = 0;
    // Lays the design bands out again (margins, columns or paper changed).
    virtual void ArrangeDesignBands() = 0;
    virtual void RepaintReport() = 0;
    // Gives the ruler the report's own unit again.
    virtual void ApplyReportUnits() = 0;
};

// A band or a printable.
class TRpReportPart {
public:
    virtual ~TRpReportPart() = default;
    // The report the part belongs to; none while it is not placed in one.
    virtual TRpReportSite* PartReport() const = 0;
    // Printables with a background of their own answer false.
    virtual bool PartTransparent() const { return true; }
};

} // namespace report
