#pragma once
// The date-time picker: a date (or time) edit with a drop-down calendar.
//
// The control keeps its own value, a TDateTime. Only a change made by the user
// runs Change (OnChange); setting the value from the program does not. In date
// mode a date picked by the user keeps the time of day of the value before.
// The display format follows the platform control's pictures: the empty format
// is the locale's short date (or long time) and a picture made of nothing but
// the era ("gg") and literals shows a blank field.

#include "platform/core/DateTime.h"
#include "platform/ui/WinControl.h"

#include <QCalendarWidget>
#include <QPointer>

class QDateTime;
class QDateTimeEdit;

namespace ui {

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

    // The drop-down calendar.
    QCalendarWidget* Calendar() const;

    core::TNotifyEvent OnChange;

protected:
    // The user changed the value.
    virtual void Change();
    // The drop-down calendar is about to show.
    virtual void DropDown() {}
    bool WidgetEvent(QWidget* source, QEvent* event) override;

private:
    QDateTimeEdit* edit() const;
    void ShowValue();
    void UserChanged(const QDateTime& shown);

    TDateTimeKind kind_ = TDateTimeKind::dtkDate;
    core::TDateTime value_ = 0;
    std::string format_;
    bool settingValue_ = false;
    // Kept once made: asking the edit for it again may build a new one.
    QPointer<QCalendarWidget> calendar_;
};

} // namespace ui
