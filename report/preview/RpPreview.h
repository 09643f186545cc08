#pragma once
// The preview control: a scroll box that shows one page of a report printer
// at a zoom factor. It follows the printer's posted messages, so pages appear
// while the report is still generated, and tells its owner of progress, of
// pages that became available and of hyperlinks under the mouse. Inside it
// the preview image paints the page on a white sheet with a black border and
// a shadow.

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Metafile.h"
#include "platform/ui/controls/ScrollBox.h"
#include "platform/ui/kernel/GraphicControl.h"
#include "report/printer/RpPrinter.h"

#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {
class TTreeView;
}

namespace report {

enum class TRpZoomState { rpZoomToFit, rpZoomToWidth, rpZoomOther };

enum class TRpHyperlinkEventType { heCursorMoveOver, heCursorMoveAway, heGoto, heGotoNewWindow };

// Handled (in-out): a handler that sets it keeps the printer from following the link.
using TRpPreviewHyperlinkEvent = std::function<void(core::TObject* sender, TRpHyperlinkEventType eventType,
                                                    const std::string& link, bool& handled)>;
using TRpPageAvailableEvent = std::function<void(core::TObject* sender, int pageNum)>;
using TRpProgressUpdateEvent = std::function<void(core::TObject* sender, int progress)>;

// A link area of a page, in page pixels at 100 % zoom (edges included).
struct TRpHyperlinkArea {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    std::string Link;
};

class TRpPreviewImage : public ui::TGraphicControl {
public:
    explicit TRpPreviewImage(core::TComponent* owner);
    ~TRpPreviewImage() override;
    std::string ClassName() const override { return "TRpPreviewImage"; }

    // Percent.
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom);
    // Not owned.
    TRpPrinter* RpPrinter() const { return rpPrinter_; }
    void SetRpPrinter(TRpPrinter* printer) { rpPrinter_ = printer; }
    // The page shown; none until the printer has it.
    gfx::TMetafile* Metafile() const { return metafile_.get(); }
    int PageNumber() const { return pageNumber_; }
    // Drops the page shown, takes page n from the printer (none while it is
    // not generated yet) and repaints at once.
    void SetPageNumber(int n);
    bool HasPage() const { return metafile_ != nullptr; }

    // The link areas of the page; empty when there are none.
    const std::vector<TRpHyperlinkArea>& Hyperlinks() const { return hyperlinks_; }
    void SetHyperlinks(std::vector<TRpHyperlinkArea> areas) { hyperlinks_ = std::move(areas); }
    // The link at (x, y) of the image; it also becomes LastLink. Empty for none.
    std::string LinkAt(int x, int y);
    bool IsLink() const { return isLink_; }
    // Only a change tells OnHyperlink (Sender: the printer) that the mouse
    // moved over a link or away from it.
    void SetIsLink(bool value);
    const std::string& LastLink() const { return lastLink_; }

    // Paints a page on a white sheet with a black border and a shadow into
    // the rectangle (0, 0, width, height) of the canvas.
    static void PaintPage(gfx::TCanvas& canvas, int width, int height, const gfx::TMetafile* metafile);

    TRpPreviewHyperlinkEvent OnHyperlink;

protected:
    void Paint(QPainter& painter) override;
    void MouseMove(ui::TShiftState shift, int x, int y) override;
    void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int x, int y) override;

private:
    int zoom_ = 100;
    TRpPrinter* rpPrinter_ = nullptr;
    std::unique_ptr<gfx::TMetafile> metafile_;
    std::vector<TRpHyperlinkArea> hyperlinks_;
    int pageNumber_ = 1;
    bool isLink_ = false;
    std::string lastLink_;
};

class TRpPreview : public ui::TScrollBox, public TRpPrinterView {
public:
    explicit TRpPreview(core::TComponent* owner);
    ~TRpPreview() override;
    std::string ClassName() const override { return "TRpPreview"; }

    TRpPreviewImage* PreviewImage() const { return previewImage_; }

    TRpPrinter* RpPrinter() const { return rpPrinter_; }
    // Detaches the printer shown before (it hears that it is no longer
    // shown), attaches this one and shows its first page.
    void SetRpPrinter(TRpPrinter* printer) override;

    int PageNumber() const { return pageNumber_; }
    // Ignored when n is the page shown, below 1, beyond the printer's pages
    // or without a printer.
    void SetPageNumber(int n);
    int Zoom() const { return zoom_; }
    // 2 to 2000 percent; other values are ignored.
    void SetZoom(int zoom);
    TRpZoomState ZoomState() const { return zoomState_; }

    void ZoomToFit();
    void ZoomToWidth();
    // Sizes and places the image for the zoom.
    void UpdateZoom();
    // Shows the image's page once the printer has it.
    void UpdateImage();
    // The preview's resize and focus: fits the page again as the zoom state says.
    void Resized(core::TObject* Sender);

    // The tree view for the printer's outline (not owned), or none; a printer
    // attached now or later fills it.
    ui::TTreeView* Outline() const;
    void SetOutline(ui::TTreeView* view);

    TRpPreviewHyperlinkEvent OnHyperlink() const { return previewImage_->OnHyperlink; }
    void SetOnHyperlink(TRpPreviewHyperlinkEvent handler) { previewImage_->OnHyperlink = std::move(handler); }

    TRpPageAvailableEvent OnPageAvailable;
    TRpProgressUpdateEvent OnProgressUpdate;
    // The preview's mouse events; attaching a printer gives them to the image,
    // so that clicks on the page reach the preview's owner.
    core::TNotifyEvent OnDblClick;
    ui::TMouseEvent OnMouseDown;
    ui::TMouseEvent OnMouseUp;
    ui::TMouseMoveEvent OnMouseMove;

protected:
    void WndProc(ui::TMessage& message) override;
    // A new size fits the page again.
    void BoundsChanged() override;

private:
    TRpPreviewImage* previewImage_;
    ui::TTreeView* outline_ = nullptr;
    QPointer<QWidget> outlineWindow_;
    int zoom_ = 100;
    TRpPrinter* rpPrinter_ = nullptr;
    TRpZoomState zoomState_ = TRpZoomState::rpZoomOther;
    int pageNumber_ = 1;
    int fittedWidth_ = -1;
    int fittedHeight_ = -1;
};

} // namespace report
