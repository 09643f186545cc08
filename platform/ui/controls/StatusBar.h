#pragma once
// A status bar: a row of panels at the bottom of a form, each with a width,
// a text and the alignment of the text. The last panel takes what is left.

#include "platform/ui/kernel/Graphics.h"
#include "platform/ui/kernel/WinControl.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class TStatusBar;

class TStatusPanel {
public:
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int Width() const { return width_; }
    void SetWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

private:
    friend class TStatusPanels;
    explicit TStatusPanel(TStatusBar* bar) : bar_(bar) {}

    TStatusBar* bar_;
    std::string text_;
    int width_ = 50;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

class TStatusPanels {
public:
    int Count() const { return static_cast<int>(panels_.size()); }
    // A panel out of range raises EListError.
    TStatusPanel& operator[](int index) const;
    TStatusPanel& Items(int index) const { return (*this)[index]; }
    TStatusPanel& Add();
    void Clear();

private:
    friend class TStatusBar;
    explicit TStatusPanels(TStatusBar* bar) : bar_(bar) {}

    TStatusBar* bar_;
    std::vector<std::unique_ptr<TStatusPanel>> panels_;
};

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(core::TComponent* owner);
    std::string ClassName() const override { return "TStatusBar"; }

    TStatusPanels& Panels() { return panels_; }
    const TStatusPanels& Panels() const { return panels_; }
    // The left edge of a panel in the bar's pixels.
    int PanelLeft(int index) const;

private:
    friend class TStatusPanel;
    friend class TStatusPanels;
    class BarWidget;
    void PanelsChanged();

    TStatusPanels panels_{this};
};

} // namespace ui
