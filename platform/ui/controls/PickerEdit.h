#pragma once
// The editor of the date-time picker: Qt's date edit, which can also show
// nothing at all (the blank picture), and which takes a whole date typed over
// it the way people type one.
//
// Qt's edit takes typed digits section by section and checks each against
// the others, so that "30.4.2026" typed over 15.2.2011 gives 3.2.4202 (there
// is no 30th of February to go to). Typed from the start of the field, over
// the whole text or the first section selected (as the field stands after
// Tab or Ctrl+A), digits and separators therefore only gather here and show
// as typed; the owner reads them as one date when the typing ends: on leaving
// the field, Enter, a click, the wheel, or a key that moves. A text the owner
// refuses stays shown, still being typed, when Enter or a key that moves
// ended it, so that the user sees what was refused and can correct it.
// Escape gives the typing up. A single number typed over the first section alone and ended
// by a key that moves, or by leaving, goes into that section as Qt's own
// typing would put it: typing field by field with the arrow keys stays as it
// was. Elsewhere in the field, typing goes to the section at the cursor.

#include <QDateTimeEdit>
#include <QString>

#include <functional>

namespace ui {

class PickerEdit : public QDateTimeEdit {
public:
    // Asked before typing begins; false leaves the key to the sections.
    std::function<bool()> OnTypingBegins;
    // Whether the typed text may grow by the next character.
    std::function<bool(const QString& typed)> OnTypingTakes;
    // The typing of a whole date ended with this text; the field already
    // shows its value again. False: the text is refused.
    std::function<bool(const QString& typed)> OnTypingEnds;
    // Escape: the user takes back what was typed.
    std::function<void()> OnTypingGivenUp;
    // A click may open the drop-down calendar: asked first, so that the owner
    // makes the calendar (it is made on first need, not with the edit).
    std::function<void()> OnCalendarMayOpen;

    // Shows nothing at all while set.
    bool blank = false;
    // The text field within the edit.
    using QDateTimeEdit::lineEdit;

    bool Typing() const { return typing_; }
    // Ends the typing as leaving the field does; with keepRefused a text the
    // owner refuses stays shown and being typed. False when it was refused.
    bool FinishTyping(bool keepRefused = false);
    // Gives the typing up: the field shows its value again.
    void CancelTyping();
    // A key pressed in the open drop-down calendar: true when it belongs to
    // the field, the calendar closed and the key given to the field.
    bool CalendarKey(QKeyEvent* event);

protected:
    QString textFromDateTime(const QDateTime& value) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Qt's own typing by sections, with the separator after a filled section taken once.
    void SectionKey(QKeyEvent* event);
    // True when typed text replaces the date from its start.
    bool AtStart() const;
    bool WholeSelected() const;
    void ShowTyped();
    // The field shows its value again, as the blank picture or the date.
    void ShowValue();
    // The digits typed over the first section go into it by Qt's typing.
    void TypeIntoFirstSection(const QString& digits);

    bool movedOnByDigit_ = false;
    bool typing_ = false;
    bool wholeSelected_ = false;
    QString typed_;
};

} // namespace ui
