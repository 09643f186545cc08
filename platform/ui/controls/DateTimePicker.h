#pragma once
// The date-time picker: a date (or time) edit with a drop-down calendar.
//
// The control keeps its own value, a TDateTime. Only a change made by the user
// runs Change (OnChange); setting the value from the program does not. In date
// mode a date picked by the user keeps the time of day of the value before.
// A whole date typed over the field (see PickerEdit) becomes the value when
// the typing ends, exactly as typed; a text that names no whole date that
// exists leaves the value as it was, with a beep and the field marked until
// the value changes or Escape takes the text back. Digits typed while the
// drop-down calendar is open are such a date typed over the field.
// The display format follows the platform control's pictures: the empty format
// is the locale's short date (or long time) and a picture made of nothing but
// the era ("gg") and literals shows a blank field.

#include "platform/core/DateTime.h"
#include "platform/ui/kernel/WinControl.h"

#include <QCalendarWidget>
#include <QColor>
#include <QPointer>

class QDateTime;

namespace ui {

class PickerEdit;

enum class TDateTimeKind { dtkDate, dtkTime };

// Conversions between TDateTime and Qt's local date-time, to the millisecond.
QDateTime DateTimeToQDateTime(core::TDateTime value);
core::TDateTime QDateTimeToDateTime(const QDateTime& value);
// A date-time format of the class library ("d.m.yyyy", "hh:nn") as a Qt display format.
std::string QtDateTimeFormat(const std::string& format);

class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(core::TComponent* owner);
    std::string ClassName() const override { return "TDateTimePicker"; }

    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind kind);

    core::TDateTime DateTime() const { return value_; }
    // Shows a value chosen by the program; OnChange does not run.
    void SetDateTime(core::TDateTime value);
    core::TDateTime Date() const;
    void SetDate(core::TDateTime date);
    core::TDateTime Time() const;
    void SetTime(core::TDateTime time);

    const std::string& Format() const { return format_; }
    void SetFormat(const std::string& format);
    // True while the format shows a blank field.
    bool Blank() const;
    // The text the field shows.
    std::string DisplayText() const;

    // The drop-down calendar, made on first need.
    QCalendarWidget* Calendar() const;
    // True while the field is marked for a typed date it refused.
    bool Refused() const { return refused_; }
    // The text refused, while Refused().
    const std::string& RefusedText() const { return refusedText_; }

    core::TNotifyEvent OnChange;

protected:
    // The user changed the value.
    virtual void Change();
    // The drop-down calendar is about to show.
    virtual void DropDown() {}
    // The user begins to type a whole date over the field.
    virtual bool TypingBegins() { return true; }
    // Ends a date being typed; a refused one stays shown while the field has the focus.
    void FinishTyping();
    // The field shows its value, and a refusal marked on it is over.
    void ForgetRefusal();
    bool WidgetEvent(QWidget* source, QEvent* event) override;

private:
    PickerEdit* edit() const;
    // The class library's format of what the field shows (the blank picture aside).
    std::string ShownFormat() const;
    void ShowValue();
    void UserChanged(const QDateTime& shown);
    // A typed date ended: taken when it is a whole date that exists, else
    // refused (false).
    bool DateTyped(const std::string& typed);
    void MarkRefused(bool refused, const std::string& typed = {});

    TDateTimeKind kind_ = TDateTimeKind::dtkDate;
    core::TDateTime value_ = 0;
    std::string format_;
    bool settingValue_ = false;
    bool refused_ = false;
    std::string refusedText_;
    QColor normalBase_;
    // Kept once made: asking the edit for it again may build a new one.
    QPointer<QCalendarWidget> calendar_;
    // The calendar's days, which have the keys while it is open.
    QPointer<QWidget> calendarDays_;
};

} // namespace ui
