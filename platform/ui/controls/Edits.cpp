#include "platform/ui/controls/Edits.h"

#include "platform/core/Exceptions.h"

#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>

#include <limits>

namespace ui {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

void FillBase(QWidget* widget, TColor color)
{
    if (widget == nullptr)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, ColorToQColor(color));
    widget->setPalette(palette);
}

} // namespace

// ---- TCustomEdit ----

TCustomEdit::TCustomEdit(core::TComponent* owner) : TWinControl(owner)
{
    auto* edit = new QLineEdit;
    SetWidget(edit);
    SetBounds(0, 0, 121, 21);
    SetColor(clWindow);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this](const QString&) { Fire([this] { Change(); }); });
}

QLineEdit* TCustomEdit::LineEdit() const
{
    return static_cast<QLineEdit*>(Widget());
}

std::string TCustomEdit::Text() const
{
    return LineEdit() != nullptr ? LineEdit()->text().toStdString() : std::string();
}

void TCustomEdit::SetText(const std::string& text)
{
    if (LineEdit() != nullptr && LineEdit()->text() != Q(text))
        LineEdit()->setText(Q(text));
}

void TCustomEdit::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (LineEdit() != nullptr)
        LineEdit()->setReadOnly(readOnly);
}

void TCustomEdit::SetMaxLength(int maxLength)
{
    maxLength_ = maxLength;
    ApplyMaxLength();
}

void TCustomEdit::SetLineEditKeepsMaxLength(bool keeps)
{
    lineEditKeepsMaxLength_ = keeps;
    ApplyMaxLength();
}

void TCustomEdit::ApplyMaxLength()
{
    // Qt counts UTF-16 units; characters outside the basic plane are rare in a register.
    if (LineEdit() == nullptr)
        return;
    if (!lineEditKeepsMaxLength_)
        LineEdit()->setMaxLength(std::numeric_limits<int>::max());
    else
        LineEdit()->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

void TCustomEdit::SelectAll()
{
    if (LineEdit() != nullptr)
        LineEdit()->selectAll();
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::ColorChanged()
{
    FillBase(Widget(), Color());
}

// ---- TMemo ----

// The memo's lines, read from and written to the editor itself.
class TMemo::MemoLines : public core::TStrings {
public:
    explicit MemoLines(TMemo* memo) : memo_(memo) {}

    int Count() const override { return static_cast<int>(Split().size()); }
    std::string Get(int index) const override
    {
        auto lines = Split();
        Check(index, static_cast<int>(lines.size()));
        return lines[index].toStdString();
    }
    void Put(int index, const std::string& text) override
    {
        auto lines = Split();
        Check(index, static_cast<int>(lines.size()));
        lines[index] = Q(text);
        Join(lines);
    }
    void Insert(int index, const std::string& text) override
    {
        auto lines = Split();
        Check(index, static_cast<int>(lines.size()) + 1);
        lines.insert(index, Q(text));
        Join(lines);
    }
    void Delete(int index) override
    {
        auto lines = Split();
        Check(index, static_cast<int>(lines.size()));
        lines.removeAt(index);
        Join(lines);
    }
    void Clear() override { Join({}); }

private:
    QStringList Split() const
    {
        QPlainTextEdit* editor = memo_->editor();
        if (editor == nullptr || editor->document()->isEmpty())
            return {};
        return editor->toPlainText().split('\n');
    }
    void Join(const QStringList& lines)
    {
        if (QPlainTextEdit* editor = memo_->editor())
            editor->setPlainText(lines.join('\n'));
    }
    static void Check(int index, int count)
    {
        if (index < 0 || index >= count)
            throw core::EListError("List index out of bounds (" + std::to_string(index) + ")");
    }

    TMemo* memo_;
};

TMemo::TMemo(core::TComponent* owner) : TWinControl(owner), lines_(std::make_unique<MemoLines>(this))
{
    auto* editor = new QPlainTextEdit;
    SetWidget(editor);
    SetBounds(0, 0, 185, 89);
    SetColor(clWindow);
    QObject::connect(editor, &QPlainTextEdit::textChanged, editor, [this] {
        Fire([this] {
            if (OnChange)
                OnChange(this);
        });
    });
}

TMemo::~TMemo() = default;

QPlainTextEdit* TMemo::editor() const
{
    return static_cast<QPlainTextEdit*>(Widget());
}

std::string TMemo::Text() const
{
    // Lines end with CR LF, the last one too, as the class library gives them.
    return lines_->Text();
}

void TMemo::SetText(const std::string& text)
{
    lines_->SetText(text);
}

void TMemo::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    if (editor() != nullptr)
        editor()->setReadOnly(readOnly);
}

void TMemo::SetWordWrap(bool wordWrap)
{
    wordWrap_ = wordWrap;
    if (editor() != nullptr)
        editor()->setLineWrapMode(wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle style)
{
    if (editor() == nullptr)
        return;
    bool vertical = style == TScrollStyle::ssVertical || style == TScrollStyle::ssBoth;
    bool horizontal = style == TScrollStyle::ssHorizontal || style == TScrollStyle::ssBoth;
    editor()->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    editor()->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
}

void TMemo::ColorChanged()
{
    FillBase(Widget(), Color());
}

} // namespace ui
