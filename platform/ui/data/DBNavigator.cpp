#include "platform/ui/data/DBNavigator.h"

#include "platform/ui/kernel/Dialogs.h"

#include <QEvent>
#include <QToolButton>
#include <QWidget>

namespace ui {
namespace {

// The standard hints, for buttons the program gives none.
const std::array<const char*, NavButtonCount> kStandardHints{
    "První záznam", "Předchozí záznam", "Další záznam", "Poslední záznam", "Přidat záznam",
    "Smazat záznam", "Upravit záznam",  "Uložit",       "Zrušit",          "Obnovit"};

// Text glyphs standing in until the program gives pictures.
const std::array<const char*, NavButtonCount> kStandardMarks{"|◀", "◀", "▶", "▶|", "+", "−", "▲", "✓", "✕", "↻"};

} // namespace

// Hears of the data set's state and position for the buttons' enabling.
class TDBNavigator::Link : public data::TDataLink {
public:
    explicit Link(TDBNavigator* navigator) : navigator_(navigator) {}

protected:
    void ActiveChanged() override { navigator_->UpdateButtons(); }
    void DataSetChanged() override { navigator_->UpdateButtons(); }
    void EditingChanged() override { navigator_->UpdateButtons(); }

private:
    TDBNavigator* navigator_;
};

void TNavButton::SetCaption(const std::string& caption)
{
    caption_ = caption;
    Apply();
}

void TNavButton::SetGlyph(const QPixmap& glyph)
{
    glyph_ = glyph;
    Apply();
}

void TNavButton::SetLayout(TButtonLayout layout)
{
    layout_ = layout;
    Apply();
}

bool TNavButton::Enabled() const
{
    return widget_ != nullptr && widget_->isEnabled();
}

bool TNavButton::Visible() const
{
    return widget_ != nullptr && !widget_->isHidden();
}

void TNavButton::Apply()
{
    if (widget_ == nullptr)
        return;
    bool hasGlyph = !glyph_.isNull();
    widget_->setIcon(hasGlyph ? QIcon(glyph_) : QIcon());
    if (hasGlyph)
        widget_->setIconSize(glyph_.size());
    QString text = QString::fromStdString(caption_);
    if (text.isEmpty() && !hasGlyph)
        text = QString::fromUtf8(kStandardMarks[index_]);
    widget_->setText(text);
    if (!hasGlyph)
        widget_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    else if (text.isEmpty())
        widget_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    else if (layout_ == TButtonLayout::blGlyphTop || layout_ == TButtonLayout::blGlyphBottom)
        widget_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    else
        widget_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

TDBNavigator::TDBNavigator(core::TComponent* owner) : TWinControl(owner), link_(std::make_unique<Link>(this))
{
    auto* row = new QWidget;
    SetWidget(row);
    for (int i = 0; i < NavButtonCount; ++i) {
        TNavButton& button = buttons_[static_cast<size_t>(i)];
        button.index_ = static_cast<TNavigateBtn>(i);
        button.widget_ = new QToolButton(row);
        button.widget_->setFocusPolicy(Qt::NoFocus);
        button.Apply();
        auto index = static_cast<TNavigateBtn>(i);
        QObject::connect(button.widget_, &QToolButton::clicked, row, [this, index] {
            Fire([this, index] { BtnClick(index); });
        });
    }
    hints_.OnChange = [this](core::TObject*) { ApplyHints(); };
    ApplyHints();
    SetBounds(0, 0, 240, 25);
    UpdateButtons();
}

TDBNavigator::~TDBNavigator()
{
    hints_.OnChange = nullptr;
    link_->SetDataSource(nullptr);
}

data::TDataSource* TDBNavigator::DataSource() const
{
    return link_->DataSource();
}

void TDBNavigator::SetDataSource(data::TDataSource* source)
{
    if (DataSource() != nullptr)
        DataSource()->RemoveFreeNotification(this);
    link_->SetDataSource(source);
    if (source != nullptr)
        source->FreeNotification(this);
    UpdateButtons();
}

void TDBNavigator::Notification(core::TComponent* component, core::TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == core::TOperation::opRemove && link_ != nullptr && component == link_->DataSource())
        link_->SetDataSource(nullptr);
}

void TDBNavigator::SetVisibleButtons(TNavButtonSet buttons)
{
    visibleButtons_ = buttons & AllNavButtons;
    ArrangeButtons();
}

void TDBNavigator::ApplyHints()
{
    for (int i = 0; i < NavButtonCount; ++i) {
        std::string hint = i < hints_.Count() ? hints_.Get(i) : kStandardHints[static_cast<size_t>(i)];
        if (QToolButton* w = buttons_[static_cast<size_t>(i)].widget_)
            w->setToolTip(ShowHint() ? QString::fromStdString(hint) : QString());
    }
}

void TDBNavigator::ArrangeButtons()
{
    QWidget* row = Widget();
    if (row == nullptr)
        return;
    int count = 0;
    for (int i = 0; i < NavButtonCount; ++i)
        if (visibleButtons_ & (1u << i))
            ++count;
    int width = row->width();
    int height = row->height();
    int x = 0;
    int placed = 0;
    for (int i = 0; i < NavButtonCount; ++i) {
        QToolButton* w = buttons_[static_cast<size_t>(i)].widget_;
        if (w == nullptr)
            continue;
        bool visible = (visibleButtons_ & (1u << i)) != 0;
        w->setVisible(visible);
        if (!visible)
            continue;
        // The row's width is shared evenly; the first buttons take what is left over.
        int share = count > 0 ? width / count + (placed < width % count ? 1 : 0) : 0;
        w->setGeometry(x, 0, share, height);
        x += share;
        ++placed;
    }
}

bool TDBNavigator::WidgetEvent(QWidget* source, QEvent* event)
{
    bool result = TWinControl::WidgetEvent(source, event);
    if (source == Widget() && event->type() == QEvent::Resize)
        ArrangeButtons();
    return result;
}

void TDBNavigator::UpdateButtons()
{
    data::TDataSet* set = link_->DataSet();
    bool active = Enabled() && link_->Active() && set != nullptr;
    bool up = active && !set->Bof();
    bool down = active && !set->Eof();
    bool canModify = active && set->CanModify();
    bool editing = active && link_->Editing();
    bool empty = active && set->Bof() && set->Eof();
    auto enable = [this](TNavigateBtn b, bool on) {
        if (buttons_[b].widget_ != nullptr)
            buttons_[b].widget_->setEnabled(on);
    };
    enable(nbFirst, up);
    enable(nbPrior, up);
    enable(nbNext, down);
    enable(nbLast, down);
    enable(nbInsert, canModify);
    enable(nbDelete, canModify && !empty);
    enable(nbEdit, canModify && !editing);
    enable(nbPost, canModify && editing);
    enable(nbCancel, canModify && editing);
    enable(nbRefresh, active);
}

void TDBNavigator::BtnClick(TNavigateBtn button)
{
    data::TDataSource* source = link_->DataSource();
    if (source != nullptr && source->State() != data::dsInactive && source->DataSet() != nullptr) {
        if (BeforeAction)
            BeforeAction(this, button);
        data::TDataSet* set = source->DataSet();
        switch (button) {
        case nbFirst: set->First(); break;
        case nbPrior: set->Prior(); break;
        case nbNext: set->Next(); break;
        case nbLast: set->Last(); break;
        case nbInsert: set->Insert(); break;
        case nbEdit: set->Edit(); break;
        case nbPost: set->Post(); break;
        case nbCancel: set->Cancel(); break;
        case nbRefresh: set->Refresh(); break;
        case nbDelete:
            if (!confirmDelete_ ||
                MessageDlg("Smazat záznam?", TMsgDlgType::mtConfirmation, mbOKCancel) != mrCancel)
                set->Delete();
            break;
        }
    }
    if (OnNavClick)
        OnNavClick(this, button);
}

} // namespace ui
