#pragma once
// The data navigator: a row of buttons that move through a data set and
// insert, delete, edit, post, cancel and refresh its records.

#include "platform/core/StringList.h"
#include "platform/data/DataSource.h"
#include "platform/ui/kernel/WinControl.h"

#include <QPixmap>
#include <QPointer>
#include <QToolButton>

#include <array>
#include <functional>
#include <memory>

namespace ui {

enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
inline constexpr int NavButtonCount = 10;

using TNavButtonSet = unsigned;
constexpr TNavButtonSet NavButton(TNavigateBtn button) { return 1u << button; }
inline constexpr TNavButtonSet AllNavButtons = (1u << NavButtonCount) - 1;

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

using TNavClickEvent = std::function<void(core::TObject* sender, TNavigateBtn button)>;

// One button of a navigator, hidden ones included.
class TNavButton {
public:
    TNavigateBtn Index() const { return index_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const QPixmap& Glyph() const { return glyph_; }
    // An empty picture clears the glyph.
    void SetGlyph(const QPixmap& glyph);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    bool Enabled() const;
    bool Visible() const;
    QToolButton* Widget() const { return widget_; }

private:
    friend class TDBNavigator;
    void Apply();

    TNavigateBtn index_ = nbFirst;
    QPointer<QToolButton> widget_;
    std::string caption_;
    QPixmap glyph_;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
};

class TDBNavigator : public TWinControl {
public:
    explicit TDBNavigator(core::TComponent* owner);
    ~TDBNavigator() override;
    std::string ClassName() const override { return "TDBNavigator"; }

    data::TDataSource* DataSource() const;
    void SetDataSource(data::TDataSource* source);
    TNavButtonSet VisibleButtons() const { return visibleButtons_; }
    void SetVisibleButtons(TNavButtonSet buttons);
    // One hint per button in button order, shown while ShowHint is on; buttons
    // past the list keep the standard hint.
    core::TStrings& Hints() { return hints_; }
    // Asks before deleting a record (on by default).
    bool ConfirmDelete() const { return confirmDelete_; }
    void SetConfirmDelete(bool confirm) { confirmDelete_ = confirm; }

    TNavButton& Buttons(TNavigateBtn button) { return buttons_[button]; }
    // Does what a click on the button does.
    void BtnClick(TNavigateBtn button);

    TNavClickEvent BeforeAction;
    TNavClickEvent OnNavClick;

protected:
    bool WidgetEvent(QWidget* source, QEvent* event) override;
    void HintChanged() override { ApplyHints(); }
    void BoundsChanged() override
    {
        TWinControl::BoundsChanged();
        ArrangeButtons();
    }
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    class Link;
    void ArrangeButtons();
    void ApplyHints();
    void UpdateButtons();

    std::array<TNavButton, NavButtonCount> buttons_;
    std::unique_ptr<Link> link_;
    core::TStringList hints_;
    TNavButtonSet visibleButtons_ = AllNavButtons;
    bool confirmDelete_ = true;
};

} // namespace ui
