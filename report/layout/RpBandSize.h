#pragma once
// The size of a band: its width and length (height) in native units, read
// and written in the object's unit, and pushed to the band's control in
// screen pixels.

#include "report/layout/RpUnits.h"

namespace ui {
class TControl;
}

namespace report {

class TRpBandSize : public TRpUnitBase {
public:
    // parent: the band's control (not owned); none for a free-standing size.
    explicit TRpBandSize(ui::TControl* parent = nullptr);
    std::string ClassName() const override { return "TRpBandSize"; }

    ui::TControl* Parent() const { return parent_; }
    void SetParent(ui::TControl* parent) { parent_ = parent; }

    // Native values.
    long double NativeWidth() const { return width_; }
    long double NativeLength() const { return length_; }

    // Index 0 the height (length, vertical), any other the width; in Units.
    long double GetValue(int index) const;
    // Index 0 the height, 1 the width; other indices store nothing. Then ApplySizes.
    void SetValue(int index, long double value);
    long double Height() const { return GetValue(0); }
    void SetHeight(long double value) { SetValue(0, value); }
    long double Width() const { return GetValue(1); }
    void SetWidth(long double value) { SetValue(1, value); }

    void ApplySizes() override;
    // The band applies the sizes in its own Loaded.
    void ReadValues(core::TReader& reader) override;
    void WriteValues(core::TWriter& writer) override;

private:
    ui::TControl* parent_;
    long double width_ = 40;
    long double length_ = 20;
};

} // namespace report
