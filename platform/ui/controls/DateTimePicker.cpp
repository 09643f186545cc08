#include "platform/ui/controls/DateTimePicker.h"

#include "platform/core/FormatSettings.h"
#include "platform/ui/controls/PickerEdit.h"
#include "platform/ui/controls/TypedDate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace ui {
namespace {

const QDate kZeroDay(1899, 12, 30);

// True when a picture holds no date or time part: only the era and literal text.
bool IsBlankPicture(const std::string& format)
{
    if (format.empty())
        return false;
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c == '\'' || c == '"') {
            size_t end = format.find(c, i + 1);
            if (end == std::string::npos)
                break;
            i = end;
            continue;
        }
        if (std::isalpha(static_cast<unsigned char>(c)) && c != 'g' && c != 'G')
            return false;
    }
    return true;
}

} // namespace

QDateTime DateTimeToQDateTime(core::TDateTime value)
{
    double days = std::trunc(value);
    double fraction = std::fabs(value - days);
    auto msecs = static_cast<qint64>(std::nearbyint(fraction * core::MSecsPerDay));
    QDate date = kZeroDay.addDays(static_cast<qint64>(days));
    if (msecs >= core::MSecsPerDay) {
        date = date.addDays(1);
        msecs -= core::MSecsPerDay;
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs)));
}

core::TDateTime QDateTimeToDateTime(const QDateTime& value)
{
    double days = static_cast<double>(kZeroDay.daysTo(value.date()));
    double fraction = value.time().msecsSinceStartOfDay() / static_cast<double>(core::MSecsPerDay);
    return days < 0 ? days - fraction : days + fraction;
}

std::string QtDateTimeFormat(const std::string& format)
{
    // Month and minute share "m" in the class library; after an hour it means minutes.
    std::string out;
    bool afterHour = false;
    for (size_t i = 0; i < format.size();) {
        char c = format[i];
        size_t run = 1;
        while (i + run < format.size() && std::tolower(static_cast<unsigned char>(format[i + run])) ==
                                              std::tolower(static_cast<unsigned char>(c)))
            ++run;
        char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (c == '\'' || c == '"') {
            size_t end = format.find(c, i + 1);
            if (end == std::string::npos)
                end = format.size();
            out += "'" + format.substr(i + 1, end - i - 1) + "'";
            i = end + 1;
            continue;
        }
        std::string piece(run, lower);
        switch (lower) {
        case 'd': out += piece; afterHour = false; break;
        case 'y': out += run <= 2 ? "yy" : "yyyy"; afterHour = false; break;
        case 'm': out += afterHour ? std::string(run, 'm') : std::string(run, 'M'); afterHour = false; break;
        case 'n': out += std::string(std::min<size_t>(run, 2), 'm'); break;
        case 'h': out += std::string(std::min<size_t>(run, 2), 'H'); afterHour = true; break;
        case 's': out += std::string(std::min<size_t>(run, 2), 's'); break;
        case 'z': out += "zzz"; break;
        case 'g': break;
        case '/': out += core::FormatSettings.DateSeparator; break;
        case ':': out += core::FormatSettings.TimeSeparator; break;
        default: out += std::string(run, c); break;
        }
        i += run;
    }
    return out;
}

TDateTimePicker::TDateTimePicker(core::TComponent* owner) : TWinControl(owner)
{
    auto* edit = new PickerEdit;
    edit->setCalendarPopup(true);
    edit->setMinimumDate(QDate(100, 1, 1));
    SetWidget(edit);
    SetBounds(0, 0, 186, 21);
    SetColor(clWindow);
    value_ = core::Now();
    ShowValue();
    QObject::connect(edit, &QDateTimeEdit::dateTimeChanged, edit, [this](const QDateTime& shown) {
        // Enter makes the edit report its value again, changed or not.
        if (!settingValue_ && (Blank() || shown != DateTimeToQDateTime(value_)))
            UserChanged(shown);
    });
    // A whole date typed over the field, read in the order of the date it shows.
    edit->OnTypingBegins = [this] {
        if (kind_ != TDateTimeKind::dtkDate || !TTypedDate(ShownFormat()).Readable())
            return false;
        MarkRefused(false);
        return TypingBegins();
    };
    edit->OnTypingTakes = [this](const QString& typed) {
        return TTypedDate(ShownFormat()).Takes(typed.toStdString());
    };
    edit->OnTypingEnds = [this](const QString& typed) { return DateTyped(typed.toStdString()); };
    edit->OnTypingGivenUp = [this] { MarkRefused(false); };
    // The calendar is a large widget that most pickers never show: it is made
    // when the drop-down may first open.
    edit->OnCalendarMayOpen = [this] { Calendar(); };
}

PickerEdit* TDateTimePicker::edit() const
{
    return static_cast<PickerEdit*>(Widget());
}

std::string TDateTimePicker::ShownFormat() const
{
    if (!format_.empty() && !IsBlankPicture(format_))
        return format_;
    return kind_ == TDateTimeKind::dtkDate ? core::FormatSettings.ShortDateFormat : core::FormatSettings.LongTimeFormat;
}

QCalendarWidget* TDateTimePicker::Calendar() const
{
    if (calendar_.isNull() && edit() != nullptr) {
        auto* self = const_cast<TDateTimePicker*>(this);
        self->calendar_ = edit()->calendarWidget();
        // Week numbers only when asked for.
        calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        // Dates are typed over the field, never into the calendar (see PickerEdit).
        calendar_->setDateEditEnabled(false);
        self->calendarDays_ = calendar_->findChild<QAbstractItemView*>();
        self->WatchWidget(calendarDays_);
        // The calendar shows: the drop-down is opening.
        self->WatchWidget(calendar_);
    }
    return calendar_.data();
}

void TDateTimePicker::SetKind(TDateTimeKind kind)
{
    kind_ = kind;
    if (edit() != nullptr)
        edit()->setCalendarPopup(kind == TDateTimeKind::dtkDate);
    ShowValue();
}

void TDateTimePicker::SetDateTime(core::TDateTime value)
{
    // Another value: a refusal marked on the one before is over.
    if (value != value_)
        MarkRefused(false);
    value_ = value;
    ShowValue();
}

core::TDateTime TDateTimePicker::Date() const
{
    return core::DateOf(value_);
}

void TDateTimePicker::SetDate(core::TDateTime date)
{
    SetDateTime(core::ComposeDateTime(core::DateOf(date), core::TimeOf(value_)));
}

core::TDateTime TDateTimePicker::Time() const
{
    return core::TimeOf(value_);
}

void TDateTimePicker::SetTime(core::TDateTime time)
{
    SetDateTime(core::ComposeDateTime(core::DateOf(value_), core::TimeOf(time)));
}

void TDateTimePicker::SetFormat(const std::string& format)
{
    format_ = format;
    ShowValue();
}

bool TDateTimePicker::Blank() const
{
    return IsBlankPicture(format_);
}

std::string TDateTimePicker::DisplayText() const
{
    return edit() != nullptr ? edit()->text().toStdString() : std::string();
}

void TDateTimePicker::ShowValue()
{
    PickerEdit* picker = edit();
    if (picker == nullptr)
        return;
    const bool blank = IsBlankPicture(format_);
    const QString qtFormat = QString::fromStdString(QtDateTimeFormat(ShownFormat()));
    const QDateTime shown = DateTimeToQDateTime(value_);
    // The field is left alone when it already shows this: the user may be
    // typing in it, and setting it again would move the cursor out of the
    // section being typed.
    const bool newPicture = picker->blank != blank || picker->displayFormat() != qtFormat;
    if (!newPicture && picker->dateTime() == shown)
        return;
    // The program shows something else: a date being typed gives way to it.
    picker->CancelTyping();
    settingValue_ = true;
    picker->blank = blank;
    if (newPicture)
        picker->setDisplayFormat(qtFormat);
    picker->setDateTime(shown);
    if (newPicture) {
        // The same value shown again after a format change: make the field redraw its text.
        picker->setDateTime(picker->dateTime());
        picker->update();
    }
    settingValue_ = false;
}

void TDateTimePicker::UserChanged(const QDateTime& shown)
{
    MarkRefused(false);
    core::TDateTime picked = QDateTimeToDateTime(shown);
    if (kind_ == TDateTimeKind::dtkDate)
        value_ = core::ComposeDateTime(core::DateOf(picked), core::TimeOf(value_));
    else
        value_ = core::ComposeDateTime(core::DateOf(value_), core::TimeOf(picked));
    Fire([this] { Change(); });
}

void TDateTimePicker::Change()
{
    if (OnChange)
        OnChange(this);
}

void TDateTimePicker::FinishTyping()
{
    if (edit() != nullptr)
        edit()->FinishTyping(edit()->hasFocus());
}

void TDateTimePicker::ForgetRefusal()
{
    if (edit() != nullptr)
        edit()->CancelTyping();
    MarkRefused(false);
}

bool TDateTimePicker::DateTyped(const std::string& typed)
{
    const std::optional<core::TDateTime> date = TTypedDate(ShownFormat()).Date(typed);
    const QDate day = date ? DateTimeToQDateTime(*date).date() : QDate();
    if (!date || day < edit()->minimumDate() || day > edit()->maximumDate()) {
        if (typed.empty())
            return true;
        // Nothing that is not the date typed: the value stays, and the field
        // says so (once for the same text, which may be ended again).
        if (!refused_ || typed != refusedText_)
            QApplication::beep();
        MarkRefused(true, typed);
        return false;
    }
    if (!Blank() && core::DateOf(value_) == *date)
        return true;
    // The user's change, with the time of day the value had.
    const QDateTime shown(day, DateTimeToQDateTime(value_).time());
    settingValue_ = true;
    edit()->setDateTime(shown);
    settingValue_ = false;
    UserChanged(shown);
    return true;
}

void TDateTimePicker::MarkRefused(bool refused, const std::string& typed)
{
    PickerEdit* picker = edit();
    if (picker == nullptr)
        return;
    refusedText_ = refused ? typed : std::string();
    if (refused == refused_)
        return;
    refused_ = refused;
    // The text of the field only: the drop-down calendar takes the palette
    // of the picker itself.
    QWidget* text = picker->lineEdit();
    QPalette palette = text->palette();
    if (refused) {
        normalBase_ = palette.color(QPalette::Base);
        palette.setColor(QPalette::Base, QColor(255, 200, 200));
    } else {
        palette.setColor(QPalette::Base, normalBase_);
    }
    text->setPalette(palette);
}

bool TDateTimePicker::WidgetEvent(QWidget* source, QEvent* event)
{
    if (source == calendar_ && event->type() == QEvent::Show)
        Fire([this] { DropDown(); });
    if (source == calendarDays_ && event->type() == QEvent::KeyPress && calendar_->isVisible() &&
        edit()->CalendarKey(static_cast<QKeyEvent*>(event)))
        return true;
    // Leaving the field ends a date being typed before the control hears of
    // the exit; switching windows or opening a popup does not.
    if (source == Widget() && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Fire([this] { edit()->FinishTyping(); });
    }
    return TWinControl::WidgetEvent(source, event);
}

} // namespace ui
