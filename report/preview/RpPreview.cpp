#include "report/preview/RpPreview.h"

#include "platform/gfx/PainterCanvas.h"
#include "platform/ui/controls/TreeView.h"
#include "report/layout/RpMath.h"
#include "report/printer/RpWindowMessages.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace report {

namespace {

// Without a printer the page is taken as a Letter sheet, its millimetres
// used as pixels.
constexpr long double kLetterWidth = 215.9L;
constexpr long double kLetterLength = 279.4L;

constexpr int kMinZoom = 2;
constexpr int kMaxZoom = 2000;

} // namespace

// ---- TRpPreviewImage ----

TRpPreviewImage::TRpPreviewImage(core::TComponent* owner) : ui::TGraphicControl(owner)
{
    SetBounds(0, 0, 100, 50);
}

TRpPreviewImage::~TRpPreviewImage() = default;

void TRpPreviewImage::SetZoom(int zoom)
{
    zoom_ = zoom;
    Invalidate();
}

void TRpPreviewImage::SetPageNumber(int n)
{
    pageNumber_ = n;
    metafile_.reset();
    if (rpPrinter_ != nullptr)
        metafile_ = rpPrinter_->GetPage(n);
    Repaint();
}

void TRpPreviewImage::PaintPage(gfx::TCanvas& canvas, int width, int height, const gfx::TMetafile* metafile)
{
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
    canvas.Brush().SetColor(gfx::clWhite);
    canvas.Pen().SetStyle(gfx::TPenStyle::psSolid);
    canvas.Pen().SetColor(gfx::clWhite);
    canvas.Pen().SetWidth(1);
    canvas.Rectangle(1, 1, width - 3, height - 3);
    if (metafile != nullptr)
        canvas.DrawMetafile(gfx::Rect(0, 0, width, height), *metafile);
    canvas.Pen().SetColor(gfx::clBlack);
    canvas.Pen().SetWidth(1);
    canvas.MoveTo(0, 0);
    canvas.LineTo(0, height - 3);
    canvas.LineTo(width - 3, height - 3);
    canvas.LineTo(width - 3, 0);
    canvas.LineTo(0, 0);
    canvas.Brush().SetColor(gfx::clBlack);
    canvas.Rectangle(width - 2, 2, width, height);
    canvas.Rectangle(2, height - 2, width, height);
}

void TRpPreviewImage::Paint(QPainter& painter)
{
    if (metafile_ == nullptr)
        return;
    gfx::TPainterCanvas canvas(&painter);
    PaintPage(canvas, Width(), Height(), metafile_.get());
}

std::string TRpPreviewImage::LinkAt(int x, int y)
{
    if (zoom_ <= 0)
        return {};
    std::int32_t px = RpRound(static_cast<long double>(x) / zoom_ * 100);
    std::int32_t py = RpRound(static_cast<long double>(y) / zoom_ * 100);
    for (const TRpHyperlinkArea& area : hyperlinks_) {
        if (area.Left <= px && px <= area.Right && area.Top <= py && py <= area.Bottom) {
            lastLink_ = area.Link;
            return area.Link;
        }
    }
    return {};
}

void TRpPreviewImage::SetIsLink(bool value)
{
    if (value == isLink_)
        return;
    isLink_ = value;
    if (!OnHyperlink)
        return;
    bool handled = false;
    if (value)
        OnHyperlink(rpPrinter_, TRpHyperlinkEventType::heCursorMoveOver, lastLink_, handled);
    else
        OnHyperlink(rpPrinter_, TRpHyperlinkEventType::heCursorMoveAway, std::string(), handled);
}

void TRpPreviewImage::MouseMove(ui::TShiftState shift, int x, int y)
{
    ui::TGraphicControl::MouseMove(shift, x, y);
    if (!LinkAt(x, y).empty()) {
        SetCursor(ui::TCursor::crHandPoint);
        SetIsLink(true);
    } else {
        SetCursor(ui::TCursor::crDefault);
        SetIsLink(false);
    }
}

void TRpPreviewImage::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int x, int y)
{
    ui::TGraphicControl::MouseDown(button, shift, x, y);
    if (!isLink_ || !OnHyperlink)
        return;
    bool handled = false;
    // The link is taken first: a handler may change what LastLink holds.
    std::string link = lastLink_;
    OnHyperlink(rpPrinter_, TRpHyperlinkEventType::heGoto, link, handled);
    if (!handled && rpPrinter_ != nullptr)
        rpPrinter_->FollowLink(link);
}

// ---- TRpPreview ----

TRpPreview::TRpPreview(core::TComponent* owner) : ui::TScrollBox(owner)
{
    previewImage_ = new TRpPreviewImage(this);
    previewImage_->SetParent(this);
    previewImage_->SetBounds(0, 0, previewImage_->Width(), previewImage_->Height());
    SetBounds(Left(), Top(), 250, 250);
    OnEnter = [this](core::TObject* sender) { Resized(sender); };
}

TRpPreview::~TRpPreview()
{
    Destroying();
    // The printer must not post to a preview that is gone.
    try {
        SetRpPrinter(nullptr);
    } catch (...) {
        // Nothing may escape a destructor; the printer's own handlers failed.
    }
}

void TRpPreview::SetRpPrinter(TRpPrinter* printer)
{
    if (rpPrinter_ != nullptr && rpPrinter_->Preview() == this) {
        rpPrinter_->SetShowingPreview(false);
        rpPrinter_->SetPreview(nullptr);
    }
    rpPrinter_ = printer;
    previewImage_->SetRpPrinter(printer);
    if (printer != nullptr) {
        // A printer reports to one preview: the one that showed it before lets it go.
        ui::TWinControl* former = printer->Preview();
        printer->SetPreview(this);
        if (former != nullptr && former != this)
            if (auto* view = dynamic_cast<TRpPrinterView*>(former))
                view->SetRpPrinter(nullptr);
        printer->SetShowingPreview(true);
    }
    pageNumber_ = 1;
    if (!HasState(core::csDestroying)) {
        previewImage_->SetPageNumber(1);
        Invalidate();
    }
    previewImage_->OnClick = OnClick;
    previewImage_->OnDblClick = OnDblClick;
    previewImage_->OnMouseDown = OnMouseDown;
    previewImage_->OnMouseUp = OnMouseUp;
    previewImage_->OnMouseMove = OnMouseMove;
    if (printer != nullptr)
        printer->SetOutline(Outline());
}

ui::TTreeView* TRpPreview::Outline() const
{
    return outlineWindow_ != nullptr ? outline_ : nullptr;
}

void TRpPreview::SetOutline(ui::TTreeView* view)
{
    outline_ = view;
    outlineWindow_ = view != nullptr ? view->Widget() : nullptr;
    if (rpPrinter_ != nullptr)
        rpPrinter_->SetOutline(view);
}

void TRpPreview::SetPageNumber(int n)
{
    if (n == pageNumber_ && previewImage_->HasPage())
        return;
    if (n <= 0 || rpPrinter_ == nullptr || n > rpPrinter_->PageCount())
        return;
    previewImage_->SetPageNumber(n);
    pageNumber_ = n;
    HorzScrollBar().SetPosition(0);
    VertScrollBar().SetPosition(0);
}

void TRpPreview::SetZoom(int zoom)
{
    if (zoom < kMinZoom || zoom > kMaxZoom)
        return;
    zoomState_ = TRpZoomState::rpZoomOther;
    zoom_ = zoom;
    UpdateZoom();
}

void TRpPreview::ZoomToFit()
{
    long double pageWidth = kLetterWidth;
    long double pageLength = kLetterLength;
    if (rpPrinter_ != nullptr) {
        pageWidth = rpPrinter_->XSize(rpPrinter_->PaperWidth());
        pageLength = rpPrinter_->YSize(rpPrinter_->PaperLength());
    }
    std::int32_t a = RpRound(Width() / pageWidth * 95);
    std::int32_t b = RpRound(Height() / pageLength * 95);
    SetZoom(std::min(a, b));
    UpdateZoom();
    zoomState_ = TRpZoomState::rpZoomToFit;
}

void TRpPreview::ZoomToWidth()
{
    if (rpPrinter_ != nullptr)
        SetZoom(RpRound(Width() / static_cast<long double>(rpPrinter_->XSize(rpPrinter_->PaperWidth())) * 90));
    else
        SetZoom(RpRound(Width() / kLetterWidth * 95));
    UpdateZoom();
    zoomState_ = TRpZoomState::rpZoomToWidth;
}

void TRpPreview::UpdateZoom()
{
    int width;
    int height;
    if (rpPrinter_ != nullptr) {
        width = rpPrinter_->XSize(static_cast<long double>(rpPrinter_->PaperWidth()) / 100 * zoom_) + 4;
        height = rpPrinter_->YSize(static_cast<long double>(rpPrinter_->PaperLength()) / 100 * zoom_) + 4;
    } else {
        width = RpRound(kLetterWidth / 100 * zoom_) + 4;
        height = RpRound(kLetterLength / 100 * zoom_) + 4;
    }
    // A page smaller than the preview sits in its middle.
    int left = width < Width() ? (Width() - width) / 2 : 0;
    int top = height < Height() ? (Height() - height) / 2 : 0;
    previewImage_->SetBounds(left, top, width, height);
    HorzScrollBar().SetRange(left + width);
    VertScrollBar().SetRange(top + height);
    HorzScrollBar().SetPosition(0);
    VertScrollBar().SetPosition(0);
    previewImage_->SetZoom(zoom_);
}

void TRpPreview::UpdateImage()
{
    if (previewImage_->HasPage() || rpPrinter_ == nullptr)
        return;
    if (rpPrinter_->AvailablePages() >= previewImage_->PageNumber())
        previewImage_->SetPageNumber(previewImage_->PageNumber());
}

void TRpPreview::Resized(core::TObject* /*Sender*/)
{
    switch (zoomState_) {
    case TRpZoomState::rpZoomToFit: ZoomToFit(); break;
    case TRpZoomState::rpZoomToWidth: ZoomToWidth(); break;
    case TRpZoomState::rpZoomOther: break;
    }
    UpdateZoom();
}

void TRpPreview::WndProc(ui::TMessage& message)
{
    if (message.Msg == WM_RPAVAILABLEPAGES) {
        int available = static_cast<int>(message.WParam);
        if (available == pageNumber_)
            UpdateImage();
        if (OnPageAvailable)
            OnPageAvailable(this, available);
        return;
    }
    if (message.Msg == WM_RPPROGRESS) {
        if (OnProgressUpdate)
            OnProgressUpdate(this, static_cast<int>(message.WParam));
        return;
    }
    ui::TScrollBox::WndProc(message);
}

void TRpPreview::BoundsChanged()
{
    ui::TScrollBox::BoundsChanged();
    if (HasState(core::csDestroying) || (Width() == fittedWidth_ && Height() == fittedHeight_))
        return;
    fittedWidth_ = Width();
    fittedHeight_ = Height();
    Fire([this] { Resized(this); });
}

} // namespace report
