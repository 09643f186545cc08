#pragma once
// What the pieces of a report (its printer, page and band sizes, frames) ask
// of the report that owns them. The report component implements it; bands
// and printables implement TRpReportPart to lead to their report.

#include "report/expr/RpEvElements.h"
#include "report/layout/RpUnits.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace ui {
class TControl;
class TFont;
}

namespace report {

class TRpEvEnvironment;
class TRpExportFilter;
class TRpPrintable;
class TRpPrinter;
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

    // --- what its printables ask
    // The printer of the run in progress; none outside a run.
    virtual TRpPrinter* ReportRpPrinter() const = 0;
    // The unit in which the report's sizes are read and written.
    virtual TRpUnit ReportUnits() const = 0;
    // The design view's zoom in percent.
    virtual std::int32_t ReportZoom() const = 0;
    // Extent of a text in a font, in native units, as the report lays text
    // out for every device alike (0 when measuring fails).
    virtual long double ReportTextWidth(const ui::TFont& font, const std::string& text) = 0;
    virtual long double ReportTextHeight(const ui::TFont& font, const std::string& text) = 0;
    // The boundary before every UTF-16 unit of text and after the last, in
    // native units, as ReportTextWidth lays it out; none when the report
    // does not tell (the device then places the characters itself).
    virtual std::vector<long double> ReportTextPositions(const ui::TFont& font, std::u16string_view text)
    {
        (void)font;
        (void)text;
        return {};
    }
    // A part moved or was resized: the cached design image is outdated.
    virtual void DesignBoundsChanged() = 0;
    // The data sets and the variables of the run that expressions see.
    virtual TRpDataSetList* ReportDataSets() const = 0;
    virtual TRpEvEnvironment* ReportFunctions() const = 0;
};

// What registers expression labels for the notifications of its printed
// bands (one aggregate step per printed detail): the report and the
// sub-detail bands.
class TRpExprNotifyHost {
public:
    virtual ~TRpExprNotifyHost() = default;
    virtual void AddNotifyExpr(TRpPrintable* expression) = 0;
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

// A panel of the design surface (a band or the report) with its zoom.
class TRpPanelSite {
public:
    virtual ~TRpPanelSite() = default;
    virtual std::int32_t PanelZoom() const = 0;
};

// What printables ask of the band they stand on.
class TRpBandSite : public TRpReportPart {
public:
    // The unit of the band's size (native without one).
    virtual TRpUnit BandUnits() const = 0;
    // Whether the band may grow by amount (native units) on the current page.
    virtual bool CanExpand(long double amount) = 0;
    // Grows the band by amount for a stretching label (nothing changes when
    // it cannot): extra becomes the band's whole growth and started is set.
    // True when a label's first line fitted into growth already there.
    virtual bool Expand(long double amount, long double& extra, bool& started) = 0;
    // The lowest page position (native units) that the band's output may
    // reach where it prints now; without a limit, infinity.
    virtual long double OutputLimit() const { return std::numeric_limits<long double>::infinity(); }
};

} // namespace report
