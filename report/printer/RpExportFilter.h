#pragma once
// An export filter: an object to which a running report hands its page
// content, so that the report is written in another file format. Filters are
// created with the name of the file they write; the report reaches one only
// through its report printer. The operations are called in this order of a
// run: ExportStart once (unless the filter has started already), then per
// page ExportNewPage, the page's bands, shapes and texts, ExportEndPage, and
// ExportFinish after the last page.

#include "platform/core/Component.h"
#include "platform/gfx/Color.h"
#include "platform/ui/kernel/Graphics.h"

#include <cstdint>
#include <string>

namespace report {

class TRpCustomBand;
class TRpShape;

class TRpExportFilter : public core::TObject {
public:
    explicit TRpExportFilter(const std::string& fileName) : fileName_(fileName) {}
    std::string ClassName() const override { return "TRpExportFilter"; }

    const std::string& FileName() const { return fileName_; }
    // True once the filter has begun its output; the report then does not
    // start it again.
    bool Started() const { return started_; }

    // True makes the whole paper length count as available space on a page.
    virtual bool ExportSpaceQuery() { return false; }
    // Page width and length in native units (0.1 mm), and the report's font.
    // The base marks the filter started; filters that override it call it.
    virtual void ExportStart(std::int32_t pageWidth, std::int32_t pageLength, const ui::TFont& font)
    {
        (void)pageWidth;
        (void)pageLength;
        (void)font;
        started_ = true;
    }
    // Every end of a page, also of one that was never begun.
    virtual void ExportEndPage() {}
    // After the last page.
    virtual void ExportFinish() {}
    // Every new page.
    virtual void ExportNewPage() {}
    // A shape (rectangle or line) at left, top in device units; the shape is
    // valid only during the call.
    virtual void ExportShape(TRpShape& shape, long double left, long double top)
    {
        (void)shape;
        (void)left;
        (void)top;
    }
    // Every printed band, with where it starts and whether it was expanded.
    virtual void ExportBand(TRpCustomBand& band, long double startX, long double startY, bool expanded)
    {
        (void)band;
        (void)startX;
        (void)startY;
        (void)expanded;
    }
    // Every printed text line of a label.
    virtual void ExportText(const ui::TFont& font, gfx::TColor color, long double x, long double y,
                            ui::TAlignment alignment, const std::string& text)
    {
        (void)font;
        (void)color;
        (void)x;
        (void)y;
        (void)alignment;
        (void)text;
    }

protected:
    void SetStarted(bool started) { started_ = started; }

private:
    std::string fileName_;
    bool started_ = false;
};

} // namespace report
