#pragma once
// A report as far as its printer, sizes, frames and printables ask of it,
// counting what they ask it to do. FakeReportSite is the report's side alone,
// for test reports that are controls.

#include "platform/core/Component.h"
#include "platform/core/Unicode.h"
#include "platform/ui/kernel/Graphics.h"
#include "report/layout/RpReportSite.h"
#include "report/printer/RpReportPrinterSettings.h"
#include <cmath>

#include <string>
#include <vector>

namespace report::fakes {

class FakeReportSite : public TRpReportSite, public TRpExprNotifyHost {
public:
    const TRpReportPrinterSettings& ReportPrinterSettings() const override { return Settings; }
    TRpExportFilter* ExportingFilter() const override { return Filter; }
    int ReportFontSize() const override { return FontSize; }
    long double ReportPageWidth() const override { return 2100; }
    long double ReportPageLength() const override { return 2970; }
    ui::TControl* ReportControl() override { return Control; }
    void ArrangeDesignBands() override { ++Arranged; }
    void RepaintReport() override { ++Repainted; }
    void ApplyReportUnits() override { ++UnitsApplied; }
    TRpPrinter* ReportRpPrinter() const override { return Printer; }
    TRpUnit ReportUnits() const override { return Units; }
    std::int32_t ReportZoom() const override { return Zoom; }
    // Fixed metrics in native units: every character TextWidthPerChar wide, a
    // tab to the next stop eight characters apart, a line TextHeight high.
    long double ReportTextWidth(const ui::TFont&, const std::string& text) override
    {
        const long double stop = 8 * TextWidthPerChar;
        long double width = 0;
        std::size_t start = 0;
        for (std::size_t tab; (tab = text.find('\t', start)) != std::string::npos; start = tab + 1)
            width = (std::floor((width + WidthOfChars(text.substr(start, tab - start))) / stop) + 1) * stop;
        return width + WidthOfChars(text.substr(start));
    }
    long double WidthOfChars(const std::string& text) const
    {
        return static_cast<long double>(core::Utf8Length(text)) * TextWidthPerChar;
    }
    long double ReportTextHeight(const ui::TFont&, const std::string&) override { return TextHeight; }
    void DesignBoundsChanged() override { ++DesignInvalidations; }
    TRpDataSetList* ReportDataSets() const override { return DataSets; }
    TRpEvEnvironment* ReportFunctions() const override { return Functions; }
    void AddNotifyExpr(TRpPrintable* expression) override { NotifyExprs.push_back(expression); }

    TRpReportPrinterSettings Settings;
    TRpExportFilter* Filter = nullptr;
    int FontSize = 10;
    ui::TControl* Control = nullptr;
    TRpPrinter* Printer = nullptr;
    TRpUnit Units = TRpUnit::MM;
    std::int32_t Zoom = 100;
    long double TextWidthPerChar = 7;
    long double TextHeight = 16;
    TRpDataSetList* DataSets = nullptr;
    TRpEvEnvironment* Functions = nullptr;
    std::vector<TRpPrintable*> NotifyExprs;
    int Arranged = 0;
    int Repainted = 0;
    int UnitsApplied = 0;
    int DesignInvalidations = 0;
};

class FakeReport : public core::TComponent, public FakeReportSite {
public:
    FakeReport() : core::TComponent(nullptr) {}
};

} // namespace report::fakes
