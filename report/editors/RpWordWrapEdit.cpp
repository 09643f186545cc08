#include "report/editors/RpWordWrapEdit.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace report {

namespace {

QString ToBox(const std::string& text)
{
    QString result = QString::fromStdString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QChar('\r'), QChar('\n'));
    return result;
}

// Characters (code points) before a position counted in UTF-16 units.
int CharactersBefore(const QString& text, int units)
{
    int characters = 0;
    for (int i = 0; i < units && i < text.size(); ++i)
        if (!text.at(i).isLowSurrogate())
            ++characters;
    return characters;
}

// The UTF-16 position of a character position.
int UnitsBefore(const QString& text, int characters)
{
    int i = 0;
    for (int seen = 0; i < text.size() && seen < characters; ++i)
        if (!text.at(i).isLowSurrogate())
            ++seen;
    while (i < text.size() && text.at(i).isLowSurrogate())
        ++i;
    return i;
}

} // namespace

TWordWrapEdit::TWordWrapEdit(core::TComponent* owner) : ui::TWinControl(owner)
{
    auto* editor = new QPlainTextEdit;
    editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    editor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setTabChangesFocus(true);
    SetWidget(editor);
    SetBounds(0, 0, 121, 21);
    SetColor(ui::clWindow);
    QObject::connect(editor, &QPlainTextEdit::textChanged, editor, [this] {
        Fire([this] {
            if (OnChange)
                OnChange(this);
        });
    });
}

QPlainTextEdit* TWordWrapEdit::editor() const
{
    return static_cast<QPlainTextEdit*>(Widget());
}

std::string TWordWrapEdit::Text() const
{
    if (editor() == nullptr)
        return {};
    QString text = editor()->toPlainText();
    text.replace(QChar('\n'), QStringLiteral("\r\n"));
    return text.toStdString();
}

void TWordWrapEdit::SetText(const std::string& text)
{
    if (editor() != nullptr && editor()->toPlainText() != ToBox(text))
        editor()->setPlainText(ToBox(text));
}

int TWordWrapEdit::SelStart() const
{
    if (editor() == nullptr)
        return 0;
    return CharactersBefore(editor()->toPlainText(), editor()->textCursor().selectionStart());
}

int TWordWrapEdit::SelLength() const
{
    if (editor() == nullptr)
        return 0;
    QTextCursor cursor = editor()->textCursor();
    QString text = editor()->toPlainText();
    return CharactersBefore(text, cursor.selectionEnd()) - CharactersBefore(text, cursor.selectionStart());
}

void TWordWrapEdit::SetSelStart(int start)
{
    if (editor() == nullptr)
        return;
    QTextCursor cursor = editor()->textCursor();
    cursor.setPosition(UnitsBefore(editor()->toPlainText(), start));
    editor()->setTextCursor(cursor);
}

void TWordWrapEdit::SetSelLength(int length)
{
    if (editor() == nullptr)
        return;
    QString text = editor()->toPlainText();
    QTextCursor cursor = editor()->textCursor();
    int start = CharactersBefore(text, cursor.selectionStart());
    cursor.setPosition(UnitsBefore(text, start));
    cursor.setPosition(UnitsBefore(text, start + (length > 0 ? length : 0)), QTextCursor::KeepAnchor);
    editor()->setTextCursor(cursor);
}

std::string TWordWrapEdit::SelText() const
{
    if (editor() == nullptr)
        return {};
    QString text = editor()->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return text.toStdString();
}

void TWordWrapEdit::SetSelText(const std::string& text)
{
    if (editor() == nullptr)
        return;
    QTextCursor cursor = editor()->textCursor();
    cursor.insertText(ToBox(text));
    editor()->setTextCursor(cursor);
}

void TWordWrapEdit::SelectAll()
{
    if (editor() != nullptr)
        editor()->selectAll();
}

void TWordWrapEdit::ColorChanged()
{
    if (editor() == nullptr)
        return;
    QPalette palette = editor()->palette();
    palette.setColor(QPalette::Base, ui::ColorToQColor(Color()));
    editor()->setPalette(palette);
}

} // namespace report
