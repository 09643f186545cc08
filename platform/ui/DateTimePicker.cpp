#include "platform/ui/DateTimePicker.h"

#include "platform/core/FormatSettings.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>
#include <QEvent>
#include <QKeyEvent>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace ui {
namespace {

const QDate kZeroDay(1899, 12, 30);

// A date edit that can show nothing at all, as the blank picture asks.
class PickerEdit : public QDateTimeEdit {
public:
    bool blank = false;

protected:
    QString textFromDateTime(const QDateTime& value) const override
    {
        return blank ? QString() : QDateTimeEdit::textFromDateTime(value);
    }

    // A section filled by its last digit already moves on to the next one;
    // the separator the user types after it (12.5.2010) must not move on a
    // second time and put the month's digits into the year.
    void keyPressEvent(QKeyEvent* event) override
    {
        // Selecting all starts the date again from its first section, so that
        // what is typed next fills the sections in order.
        if (event->matches(QKeySequence::SelectAll)) {
            movedOnByDigit_ = false;
            setCurrentSectionIndex(0);
            setSelectedSection(currentSection());
            event->accept();
            return;
        }
        const QString typed = event->text();
        const bool separator = typed.size() == 1 && (typed[0].isPunct() || typed[0].isSpace());
        if (separator && movedOnByDigit_) {
            movedOnByDigit_ = false;
            event->accept();
            return;
        }
        const int before = currentSectionIndex();
        QDateTimeEdit::keyPressEvent(event);
        movedOnByDigit_ = typed.size() == 1 && typed[0].isDigit() && currentSectionIndex() != before;
    }

    void focusInEvent(QFocusEvent* event) override
    {
        movedOnByDigit_ = false;
        QDateTimeEdit::focusInEvent(event);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        movedOnByDigit_ = false;
        QDateTimeEdit::mousePressEvent(event);
    }

private:
    bool movedOnByDigit_ = false;
};

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
        if (!settingValue_)
            UserChanged(shown);
    });
    // The calendar shows: the drop-down is opening.
    calendar_ = edit->calendarWidget();
    // Week numbers only when asked for.
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    WatchWidget(calendar_);
}

QDateTimeEdit* TDateTimePicker::edit() const
{
    return static_cast<QDateTimeEdit*>(Widget());
}

QCalendarWidget* TDateTimePicker::Calendar() const
{
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
    auto* picker = static_cast<PickerEdit*>(edit());
    if (picker == nullptr)
        return;
    const bool blank = IsBlankPicture(format_);
    std::string format = format_;
    if (format.empty() || blank)
        format = kind_ == TDateTimeKind::dtkDate ? core::FormatSettings.ShortDateFormat
                                                 : core::FormatSettings.LongTimeFormat;
    const QString qtFormat = QString::fromStdString(QtDateTimeFormat(format));
    const QDateTime shown = DateTimeToQDateTime(value_);
    // The field is left alone when it already shows this: the user may be
    // typing in it, and setting it again would move the cursor out of the
    // section being typed.
    const bool newPicture = picker->blank != blank || picker->displayFormat() != qtFormat;
    if (!newPicture && picker->dateTime() == shown)
        return;
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

bool TDateTimePicker::WidgetEvent(QWidget* source, QEvent* event)
{
    if (source == calendar_ && event->type() == QEvent::Show)
        Fire([this] { DropDown(); });
    return TWinControl::WidgetEvent(source, event);
}

} // namespace ui
