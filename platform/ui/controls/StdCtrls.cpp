#include "platform/ui/controls/StdCtrls.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

namespace ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

Qt::Alignment QtAlignment(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::taRightJustify: return Qt::AlignRight | Qt::AlignTop;
    case TAlignment::taCenter: return Qt::AlignHCenter | Qt::AlignTop;
    default: return Qt::AlignLeft | Qt::AlignTop;
    }
}

// The form a control sits on.
TCustomForm* ParentForm(TControl* control)
{
    for (TControl* c = control; c != nullptr; c = c->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(c))
            return form;
    return nullptr;
}

} // namespace

// ---- TLabel ----

TLabel::TLabel(core::TComponent* owner) : TControl(owner)
{
    auto* label = new QLabel;
    label->setAlignment(QtAlignment(alignment_));
    label->setTextFormat(Qt::PlainText);
    SetWidget(label);
    SetBounds(0, 0, 65, 13);
}

QLabel* TLabel::label() const
{
    return static_cast<QLabel*>(Widget());
}

void TLabel::CaptionChanged()
{
    if (label() == nullptr)
        return;
    label()->setText(Q(Caption()));
    AdjustSize();
}

void TLabel::FontChanged()
{
    TControl::FontChanged();
    AdjustSize();
}

void TLabel::AdjustSize()
{
    if (!autoSize_ || label() == nullptr)
        return;
    QSize size = label()->sizeHint();
    if (wordWrap_)
        SetBounds(Left(), Top(), Width(), label()->heightForWidth(Width()));
    else
        SetBounds(Left(), Top(), size.width(), size.height());
}

void TLabel::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    AdjustSize();
}

void TLabel::SetWordWrap(bool wordWrap)
{
    wordWrap_ = wordWrap;
    if (label() != nullptr)
        label()->setWordWrap(wordWrap);
    AdjustSize();
}

void TLabel::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    if (label() != nullptr)
        label()->setAlignment(QtAlignment(alignment));
}

void TLabel::SetFocusControl(TWinControl* control)
{
    if (label() != nullptr)
        label()->setBuddy(control != nullptr ? control->Widget() : nullptr);
}

bool TLabel::WidgetEvent(QWidget* source, QEvent* event)
{
    if (source == Widget() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        Widget()->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
        Fire([this] { Click(); });
    if (source == Widget() && event->type() == QEvent::FontChange)
        AdjustSize();
    return TControl::WidgetEvent(source, event);
}

// ---- TButton ----

TButton::TButton(core::TComponent* owner) : TWinControl(owner)
{
    auto* button = new QPushButton;
    button->setAutoDefault(false);
    SetWidget(button);
    SetBounds(0, 0, 75, 25);
    QObject::connect(button, &QPushButton::clicked, button, [this] { Fire([this] { Click(); }); });
}

QPushButton* TButton::button() const
{
    return static_cast<QPushButton*>(Widget());
}

void TButton::CaptionChanged()
{
    if (button() == nullptr)
        return;
    if (wordWrap_ && wrapLabel_ != nullptr) {
        button()->setText(QString());
        wrapLabel_->setText(Q(Caption()).remove('&'));
    } else {
        button()->setText(Q(Caption()));
    }
}

void TButton::SetWordWrap(bool wordWrap)
{
    wordWrap_ = wordWrap;
    if (button() == nullptr)
        return;
    if (wordWrap && wrapLabel_ == nullptr) {
        // A push button cannot wrap its text; a wrapping label inside it does.
        wrapLabel_ = new QLabel;
        wrapLabel_->setWordWrap(true);
        wrapLabel_->setAlignment(Qt::AlignCenter);
        wrapLabel_->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* layout = new QHBoxLayout(button());
        layout->setContentsMargins(4, 2, 4, 2);
        layout->addWidget(wrapLabel_);
    }
    if (wrapLabel_ != nullptr)
        wrapLabel_->setVisible(wordWrap);
    CaptionChanged();
}

void TButton::SetDefault(bool isDefault)
{
    default_ = isDefault;
    if (button() != nullptr)
        button()->setDefault(isDefault);
}

void TButton::SetCancel(bool cancel)
{
    cancel_ = cancel;
    if (button() == nullptr)
        return;
    if (cancel && cancelKey_ == nullptr) {
        // Escape anywhere in the window; a hidden or disabled button takes no key.
        cancelKey_ = new QShortcut(QKeySequence(Qt::Key_Escape), button(), nullptr, nullptr, Qt::WindowShortcut);
        QObject::connect(cancelKey_, &QShortcut::activated, button(), [this] {
            if (button() != nullptr && button()->isVisible() && button()->isEnabled())
                Fire([this] { Click(); });
        });
    }
    if (cancelKey_ != nullptr)
        cancelKey_->setEnabled(cancel);
}

void TButton::Click()
{
    if (modalResult_ != mrNone)
        if (TCustomForm* form = ParentForm(this))
            form->SetModalResult(modalResult_);
    TWinControl::Click();
}

// ---- TCheckBox ----

TCheckBox::TCheckBox(core::TComponent* owner) : TWinControl(owner)
{
    auto* box = new QCheckBox;
    SetWidget(box);
    SetBounds(0, 0, 97, 17);
    QObject::connect(box, &QCheckBox::toggled, box, [this](bool) { Fire([this] { Click(); }); });
}

QCheckBox* TCheckBox::box() const
{
    return static_cast<QCheckBox*>(Widget());
}

bool TCheckBox::Checked() const
{
    return box() != nullptr && box()->isChecked();
}

void TCheckBox::SetChecked(bool checked)
{
    if (box() != nullptr)
        box()->setChecked(checked);
}

void TCheckBox::CaptionChanged()
{
    if (box() != nullptr)
        box()->setText(Q(Caption()));
}

// ---- TGroupBox ----

TGroupBox::TGroupBox(core::TComponent* owner) : TWinControl(owner)
{
    SetWidget(new QGroupBox);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::CaptionChanged()
{
    if (auto* group = static_cast<QGroupBox*>(Widget()))
        group->setTitle(Q(Caption()));
}

} // namespace ui
