#pragma once
// A report and a band as controls, for printables placed on them, and a run
// of the report printer whose recorded pages a test looks at as images.

#include "platform/gfx/Metafile.h"
#include "platform/gfx/MetafilePlayer.h"
#include "platform/ui/controls/ExtCtrls.h"
#include "report/layout/RpReportSite.h"
#include "report/printer/RpPrinter.h"
#include "tests/report/FakeReport.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>

namespace report::fakes {

class PanelReport : public ui::TPanel, public FakeReportSite, public TRpPanelSite {
public:
    PanelReport() : ui::TPanel(nullptr) { SetBounds(0, 0, 800, 1100); }
    std::int32_t PanelZoom() const override { return Zoom; }
};

// A band of a report (or of none); it grows by what stretching labels ask
// until Room is used up.
class FakeBand : public ui::TPanel, public TRpBandSite, public TRpPanelSite {
public:
    explicit FakeBand(TRpReportSite* report = nullptr, ui::TWinControl* parent = nullptr) : ui::TPanel(nullptr), Report(report)
    {
        if (parent != nullptr)
            SetParent(parent);
        SetBounds(0, 0, 400, 100);
    }
    TRpReportSite* PartReport() const override { return Report; }
    TRpUnit BandUnits() const override { return Units; }
    bool CanExpand(long double amount) override { return Expanded + amount <= Room; }
    bool Expand(long double amount, long double& extra, bool& started) override
    {
        if (!CanExpand(amount))
            return false;
        ++ExpandCalls;
        if (!started && amount < Expanded) {
            extra = Expanded;
            started = true;
            return true;
        }
        Expanded += amount;
        extra = Expanded;
        started = true;
        return false;
    }
    std::int32_t PanelZoom() const override { return Zoom; }

    TRpReportSite* Report;
    TRpUnit Units = TRpUnit::Native;
    std::int32_t Zoom = 100;
    long double Room = 0;
    long double Expanded = 0;
    int ExpandCalls = 0;
};

// A report printer keeping its pages, for a report whose printer it becomes;
// Begin starts a run with its first page.
class PageRun {
public:
    explicit PageRun(FakeReportSite& site, core::TComponent* report = nullptr)
        : site_(site), printer_(std::make_unique<TRpPrinter>(report))
    {
        site_.Printer = printer_.get();
    }
    ~PageRun() { site_.Printer = nullptr; }
    void Begin()
    {
        printer_->BeginDoc();
        printer_->NewPage();
    }
    void NewPage() { printer_->NewPage(); }
    void End() { printer_->EndDoc(); }
    TRpPrinter& Printer() { return *printer_; }
    gfx::TCanvas& Canvas() { return *printer_->Canvas(); }

    // Page n as an image in the printer's device pixels (a page is there once
    // the next one began or the run ended).
    QImage Page(int n)
    {
        std::unique_ptr<gfx::TMetafile> page = printer_->GetPage(n);
        if (page == nullptr) {
            ADD_FAILURE() << "no page " << n;
            return {};
        }
        QImage image(page->Width(), page->Height(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        gfx::PlayEnhMetafile(painter, *page, QRectF(0, 0, page->Width(), page->Height()));
        return image;
    }
    std::vector<std::string> Texts(int n)
    {
        std::unique_ptr<gfx::TMetafile> page = printer_->GetPage(n);
        if (page == nullptr) {
            ADD_FAILURE() << "no page " << n;
            return {};
        }
        return gfx::MetafileTexts(*page);
    }

private:
    FakeReportSite& site_;
    std::unique_ptr<TRpPrinter> printer_;
};

inline bool IsColor(const QImage& image, int x, int y, QColor color) { return image.pixelColor(x, y) == color; }

// Whether any pixel in the rectangle (right and bottom excluded) is not white.
inline bool AnyInk(const QImage& image, int left, int top, int right, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
                image.pixelColor(x, y) != QColor(Qt::white))
                return true;
    return false;
}

} // namespace report::fakes
