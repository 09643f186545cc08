#pragma once
// The printable for lines, boxes and ellipses: one of seven kinds drawn with
// its own pen and brush, on its control at design time and on the page
// canvas during a run. An exporting report hands each printed shape to its
// filter; frames and label backgrounds reach the filter as shapes too.

#include "platform/gfx/GraphicsObjects.h"
#include "report/printables/RpFrame.h"
#include "report/printables/RpPrintable.h"

#include <cstdint>
#include <memory>

namespace report {

enum class TRpShapeType : std::uint8_t {
    rpsRectangle = 0,
    rpsCircle = 1,
    rpsVertLine = 2,
    rpsHorLine = 3,
    rpsTopAndBottom = 4,
    rpsRightAndLeft = 5,
    rpsRoundRect = 6,
};

class TRpShape : public TRpPrintable {
public:
    explicit TRpShape(core::TComponent* owner);
    ~TRpShape() override;
    std::string ClassName() const override { return "TRpShape"; }
    static const TRpPrintableClass& StaticClass();

    TRpShapeType Shape() const { return shape_; }
    void SetShape(TRpShapeType shape);
    gfx::TBrush& Brush() { return *brush_; }
    const gfx::TBrush& Brush() const { return *brush_; }
    // Copies the settings of brush.
    void SetBrush(gfx::TBrush* brush);
    gfx::TPen& Pen() { return *pen_; }
    const gfx::TPen& Pen() const { return *pen_; }
    void SetPen(gfx::TPen* pen);
    float RoundFactor() const { return roundFactor_; }
    void SetRoundFactor(float value);
    // Kept with the form; neither painting nor printing uses it.
    std::int32_t VertAdjust() const { return vertAdjust_; }
    void SetVertAdjust(std::int32_t value) { vertAdjust_ = value; }

    // Width and height of the ellipse that rounds the corners of a rounded
    // rectangle, in pixels, on screen and on the page alike.
    std::int32_t CornerSize() const;

    void PrintAt(std::int32_t ofsX, std::int32_t ofsY) override;

    // A shape without owner standing for what a frame hands to an export filter.
    static std::unique_ptr<TRpShape> FromFrameShape(const TRpFrameShape& frameShape);

protected:
    void Paint() override;

private:
    TRpShapeType shape_ = TRpShapeType::rpsRectangle;
    std::unique_ptr<gfx::TBrush> brush_;
    std::unique_ptr<gfx::TPen> pen_;
    float roundFactor_ = 0;
    std::int32_t vertAdjust_ = 0;
};

} // namespace report
