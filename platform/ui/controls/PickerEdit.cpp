#include "platform/ui/controls/PickerEdit.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace ui {

namespace {

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool IsLoneNumber(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (!IsDigit(c))
            return false;
    return true;
}

// Keys that only change what the next key means.
bool IsModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

} // namespace

QString PickerEdit::textFromDateTime(const QDateTime& value) const
{
    return blank ? QString() : QDateTimeEdit::textFromDateTime(value);
}

bool PickerEdit::AtStart() const
{
    const QLineEdit* edit = lineEdit();
    return edit->hasSelectedText() ? edit->selectionStart() == 0 : edit->cursorPosition() == 0;
}

bool PickerEdit::WholeSelected() const
{
    const QLineEdit* edit = lineEdit();
    return edit->text().isEmpty() || (edit->selectionStart() == 0 && edit->selectedText() == edit->text());
}

void PickerEdit::ShowTyped()
{
    // Past the spin box: its own reading of the text would take each keystroke
    // as a date, and its validator would put a day the month lacks into the
    // month's last day (29.2.2023 shown as 28.2.2023).
    QLineEdit* edit = lineEdit();
    const QSignalBlocker quiet(edit);
    const QValidator* validator = edit->validator();
    edit->setValidator(nullptr);
    edit->setText(typed_);
    edit->setValidator(validator);
    edit->setCursorPosition(static_cast<int>(typed_.size()));
}

void PickerEdit::ShowValue()
{
    QLineEdit* edit = lineEdit();
    const QSignalBlocker quiet(edit);
    edit->setText(textFromDateTime(dateTime()));
    selectAll();
}

void PickerEdit::CancelTyping()
{
    if (!typing_)
        return;
    typing_ = false;
    typed_.clear();
    ShowValue();
}

bool PickerEdit::FinishTyping(bool keepRefused)
{
    if (!typing_)
        return true;
    const QString typed = typed_;
    CancelTyping();
    if (!wholeSelected_ && IsLoneNumber(typed)) {
        TypeIntoFirstSection(typed);
        return true;
    }
    if (!OnTypingEnds || OnTypingEnds(typed))
        return true;
    if (keepRefused) {
        typing_ = true;
        typed_ = typed;
        ShowTyped();
    }
    return false;
}

bool PickerEdit::CalendarKey(QKeyEvent* event)
{
    // Printable keys are typing, not the calendar's navigation: its own
    // reading of typed digits would step through its days and months and
    // pick another date than the one typed.
    const QString text = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!plain || text.size() != 1 || !text[0].isPrint())
        return false;
    event->accept();
    if (!IsDigit(text[0])) {
        QApplication::beep();
        return true;
    }
    // The date is typed over the field as a whole, as after Ctrl+A.
    if (QWidget* popup = calendarWidget()->window(); popup != window())
        popup->hide();
    setFocus(Qt::PopupFocusReason);
    CancelTyping();
    selectAll();
    QKeyEvent key(QEvent::KeyPress, event->key(), event->modifiers(), text);
    keyPressEvent(&key);
    return true;
}

void PickerEdit::TypeIntoFirstSection(const QString& digits)
{
    setCurrentSectionIndex(0);
    setSelectedSection(currentSection());
    movedOnByDigit_ = false;
    for (const QChar digit : digits) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (digit.unicode() - '0'), Qt::NoModifier, QString(digit));
        SectionKey(&key);
    }
}

void PickerEdit::SectionKey(QKeyEvent* event)
{
    // A section filled by its last digit already moves on to the next one;
    // the separator the user types after it (12.5.2010) must not move on a
    // second time and put the month's digits into the year.
    const QString typed = event->text();
    const bool separator = typed.size() == 1 && (typed[0].isPunct() || typed[0].isSpace());
    if (separator && movedOnByDigit_) {
        movedOnByDigit_ = false;
        event->accept();
        return;
    }
    const int before = currentSectionIndex();
    QDateTimeEdit::keyPressEvent(event);
    movedOnByDigit_ = typed.size() == 1 && IsDigit(typed[0]) && currentSectionIndex() != before;
}

void PickerEdit::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const bool character = plain && text.size() == 1 && text[0].isPrint();
    const bool digit = character && IsDigit(text[0]);
    if (!typing_) {
        if (digit && AtStart() && OnTypingBegins && OnTypingBegins()) {
            typing_ = true;
            wholeSelected_ = WholeSelected();
            typed_.clear();
            movedOnByDigit_ = false;
        } else {
            // Selecting all makes the next digits a whole date typed anew.
            if (event->matches(QKeySequence::SelectAll)) {
                movedOnByDigit_ = false;
                selectAll();
                event->accept();
                return;
            }
            // Escape takes back a date refused before, which the field no longer shows.
            if (event->key() == Qt::Key_Escape && OnTypingGivenUp)
                OnTypingGivenUp();
            SectionKey(event);
            return;
        }
    }

    // Selecting all again starts the date anew.
    if (event->matches(QKeySequence::SelectAll)) {
        CancelTyping();
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
        typed_.chop(1);
        ShowTyped();
        event->accept();
        return;
    case Qt::Key_Escape:
        CancelTyping();
        if (OnTypingGivenUp)
            OnTypingGivenUp();
        QDateTimeEdit::keyPressEvent(event);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A refused date stays in the field to be corrected.
        if (FinishTyping(true))
            QDateTimeEdit::keyPressEvent(event);
        else
            event->accept();
        return;
    default:
        break;
    }
    if (IsModifierKey(event->key())) {
        event->accept();
        return;
    }
    if (character) {
        const QString longer = typed_ + text;
        if (!text[0].isLetter() && (!OnTypingTakes || OnTypingTakes(longer))) {
            typed_ = longer;
            ShowTyped();
        } else {
            QApplication::beep();
        }
        event->accept();
        return;
    }
    // A key that moves or acts: the date typed so far is taken first; a
    // refused one stays, and the key has no date to act on.
    if (FinishTyping(true))
        SectionKey(event);
    else
        event->accept();
}

bool PickerEdit::focusNextPrevChild(bool next)
{
    if (typing_) {
        const bool intoFirstSection = !wholeSelected_ && IsLoneNumber(typed_);
        FinishTyping();
        // After a whole date Tab goes on to the next control; after a lone
        // number to the next section, as Qt's typing does.
        if (!intoFirstSection)
            return QWidget::focusNextPrevChild(next);
    }
    return QDateTimeEdit::focusNextPrevChild(next);
}

void PickerEdit::focusInEvent(QFocusEvent* event)
{
    if (!typing_)
        movedOnByDigit_ = false;
    QDateTimeEdit::focusInEvent(event);
    // Back from another window in the middle of a date: it is still there.
    if (typing_)
        ShowTyped();
}

void PickerEdit::focusOutEvent(QFocusEvent* event)
{
    // The edit writes its value into the field whenever the focus goes. A
    // date still being typed is not left: another window (a message about
    // it) has the focus for a while, and the date stays in view meanwhile.
    QDateTimeEdit::focusOutEvent(event);
    if (typing_)
        ShowTyped();
}

void PickerEdit::mousePressEvent(QMouseEvent* event)
{
    FinishTyping();
    movedOnByDigit_ = false;
    if (calendarPopup() && OnCalendarMayOpen)
        OnCalendarMayOpen();
    QDateTimeEdit::mousePressEvent(event);
}

void PickerEdit::wheelEvent(QWheelEvent* event)
{
    FinishTyping();
    QDateTimeEdit::wheelEvent(event);
}

} // namespace ui
