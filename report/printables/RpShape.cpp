#include "report/printables/RpShape.h"

#include "report/layout/RpMath.h"
#include "report/printer/RpExportFilter.h"
#include "report/printer/RpPrinter.h"

namespace report {

namespace {

TRpPrintable* NewShape(core::TComponent* owner)
{
    return new TRpShape(owner);
}

// Frames hand their lines to an export filter as shapes of this kind.
const bool kFrameShapesExported = [] {
    SetFrameShapeExporter([](TRpExportFilter& filter, const TRpFrameShape& frameShape) {
        std::unique_ptr<TRpShape> shape = TRpShape::FromFrameShape(frameShape);
        filter.ExportShape(*shape, frameShape.ExportLeft, frameShape.ExportTop);
    });
    return true;
}();

} // namespace

const TRpPrintableClass& TRpShape::StaticClass()
{
    static const TRpPrintableClass shapeClass{"TRpShape", &NewShape};
    return shapeClass;
}

TRpShape::TRpShape(core::TComponent* owner)
    : TRpPrintable(owner), brush_(std::make_unique<gfx::TBrush>()), pen_(std::make_unique<gfx::TPen>())
{
    brush_->OnChange = [this](core::TObject*) { Invalidate(); };
    pen_->OnChange = [this](core::TObject*) { Invalidate(); };
    SetBounds(Left(), Top(), 65, 65);
    (void)kFrameShapesExported;
}

TRpShape::~TRpShape()
{
    brush_->OnChange = nullptr;
    pen_->OnChange = nullptr;
}

void TRpShape::SetShape(TRpShapeType shape)
{
    if (shape == shape_)
        return;
    shape_ = shape;
    Invalidate();
}

void TRpShape::SetBrush(gfx::TBrush* brush)
{
    if (brush != nullptr && brush != brush_.get())
        brush_->Assign(brush);
}

void TRpShape::SetPen(gfx::TPen* pen)
{
    if (pen != nullptr && pen != pen_.get())
        pen_->Assign(pen);
}

void TRpShape::SetRoundFactor(float value)
{
    if (value == roundFactor_)
        return;
    roundFactor_ = value;
    Invalidate();
}

std::int32_t TRpShape::CornerSize() const
{
    return RpTrunc(static_cast<long double>(Width()) * roundFactor_);
}

std::unique_ptr<TRpShape> TRpShape::FromFrameShape(const TRpFrameShape& frameShape)
{
    auto shape = std::make_unique<TRpShape>(nullptr);
    switch (frameShape.Kind) {
    case TRpFrameShape::TKind::Rectangle: shape->SetShape(TRpShapeType::rpsRectangle); break;
    case TRpFrameShape::TKind::HorizontalLine: shape->SetShape(TRpShapeType::rpsHorLine); break;
    case TRpFrameShape::TKind::VerticalLine: shape->SetShape(TRpShapeType::rpsVertLine); break;
    }
    shape->Brush().SetStyle(frameShape.BrushStyle);
    shape->Brush().SetColor(frameShape.BrushColor);
    shape->Pen().SetStyle(frameShape.PenStyle);
    shape->Pen().SetColor(frameShape.PenColor);
    shape->Pen().SetWidth(frameShape.PenWidth);
    const gfx::TRect& b = frameShape.Bounds;
    shape->SetBounds(b.Left, b.Top, b.Width(), b.Height());
    return shape;
}

void TRpShape::Paint()
{
    if (IsPrinting())
        return;
    PaintBase();
    gfx::TCanvas& canvas = Canvas();
    canvas.SetPen(*pen_);
    canvas.SetBrush(*brush_);
    const int w = Width();
    const int h = Height();
    switch (shape_) {
    case TRpShapeType::rpsRectangle: canvas.Rectangle(0, 0, w, h); break;
    case TRpShapeType::rpsCircle: canvas.Ellipse(0, 0, w, h); break;
    case TRpShapeType::rpsVertLine:
        canvas.MoveTo(w / 2, 0);
        canvas.LineTo(w / 2, h);
        break;
    case TRpShapeType::rpsHorLine:
        canvas.MoveTo(0, h / 2);
        canvas.LineTo(w, h / 2);
        break;
    case TRpShapeType::rpsTopAndBottom:
        canvas.MoveTo(0, 0);
        canvas.LineTo(w, 0);
        canvas.MoveTo(0, h - 1);
        canvas.LineTo(w, h - 1);
        break;
    case TRpShapeType::rpsRightAndLeft:
        canvas.MoveTo(0, 0);
        canvas.LineTo(0, h);
        canvas.MoveTo(w - 1, 0);
        canvas.LineTo(w - 1, h);
        break;
    case TRpShapeType::rpsRoundRect: canvas.RoundRect(0, 0, w, h, CornerSize(), CornerSize()); break;
    }
}

void TRpShape::PrintAt(std::int32_t ofsX, std::int32_t ofsY)
{
    TRpPrinter* printer = RpPrinter();
    if (printer == nullptr && ParentReport() != nullptr)
        printer = ParentReport()->ReportRpPrinter();
    const TRpPrintableSize& size = Size();
    const long double left = ofsX + size.NativeLeft();
    const long double top = ofsY + size.NativeTop();
    if (printer != nullptr && ShouldPrint()) {
        TRpExportFilter* filter = ParentReport() != nullptr ? ParentReport()->ExportingFilter() : nullptr;
        if (filter != nullptr)
            filter->ExportShape(*this, printer->XPos(left), printer->YPos(top));
    }
    if (!ShouldPrint() || printer == nullptr || printer->Canvas() == nullptr)
        return;
    gfx::TCanvas& canvas = *printer->Canvas();
    canvas.SetBrush(*brush_);
    canvas.SetPen(*pen_);
    const std::int32_t l = printer->XPos(left);
    const std::int32_t r = printer->XPos(left + size.NativeWidth());
    const std::int32_t t = printer->YPos(top);
    const std::int32_t b = printer->YPos(top + size.NativeHeight());
    const std::int32_t xm = printer->XPos(left + size.NativeWidth() / 2);
    const std::int32_t ym = printer->YPos(top + size.NativeHeight() / 2);
    switch (shape_) {
    case TRpShapeType::rpsRectangle: canvas.Rectangle(l, t, r, b); break;
    case TRpShapeType::rpsCircle: canvas.Ellipse(l, t, r, b); break;
    case TRpShapeType::rpsVertLine:
        canvas.MoveTo(xm, t);
        canvas.LineTo(xm, b);
        break;
    case TRpShapeType::rpsHorLine:
        canvas.MoveTo(l, ym);
        canvas.LineTo(r, ym);
        break;
    case TRpShapeType::rpsTopAndBottom:
        canvas.MoveTo(l, t);
        canvas.LineTo(r, t);
        canvas.MoveTo(l, b);
        canvas.LineTo(r, b);
        break;
    case TRpShapeType::rpsRightAndLeft:
        canvas.MoveTo(l, t);
        canvas.LineTo(l, b);
        canvas.MoveTo(r, t);
        canvas.LineTo(r, b);
        break;
    case TRpShapeType::rpsRoundRect: canvas.RoundRect(l, t, r, b, CornerSize(), CornerSize()); break;
    }
}

} // namespace report
