#pragma once
// A progress bar: a position between a minimum and a maximum.

#include "platform/ui/kernel/WinControl.h"

class QProgressBar;

namespace ui {

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(core::TComponent* owner);
    std::string ClassName() const override { return "TProgressBar"; }

    int Min() const { return min_; }
    int Max() const { return max_; }
    // Keeps the position inside the new range.
    void SetRange(int min, int max);
    void SetMin(int min) { SetRange(min, max_); }
    void SetMax(int max) { SetRange(min_, max); }
    int Position() const { return position_; }
    // Clamped to Min..Max.
    void SetPosition(int position);

private:
    QProgressBar* bar() const;

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};

} // namespace ui
