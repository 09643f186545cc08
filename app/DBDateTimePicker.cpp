#include "app/DBDateTimePicker.h"

#include "platform/data/DataError.h"
#include "platform/data/Field.h"

#include <QCalendarWidget>

namespace app {

namespace {
const char* const kBlankPicture = "gg";
}

TadpDBDateTimePicker::TadpDBDateTimePicker(core::TComponent* owner)
    : ui::TDateTimePicker(owner), link_(std::make_unique<data::TFieldDataLink>())
{
    link_->SetControl(this);
    link_->OnDataChange = [this](core::TObject* sender) { DataChange(sender); };
    link_->OnUpdateData = [this](core::TObject* sender) { UpdateData(sender); };
    link_->OnFocusRequest = [this](core::TObject*) { SetFocus(); };
}

TadpDBDateTimePicker::~TadpDBDateTimePicker()
{
    link_->OnDataChange = nullptr;
    link_->OnUpdateData = nullptr;
    link_->SetDataSource(nullptr);
}

void TadpDBDateTimePicker::SetDataSource(data::TDataSource* source)
{
    if (DataSource() != nullptr)
        DataSource()->RemoveFreeNotification(this);
    link_->SetDataSource(source);
    if (source != nullptr)
        source->FreeNotification(this);
}

void TadpDBDateTimePicker::Notification(core::TComponent* component, core::TOperation operation)
{
    ui::TDateTimePicker::Notification(component, operation);
    if (operation == core::TOperation::opRemove && link_ != nullptr && component == link_->DataSource())
        link_->SetDataSource(nullptr);
}

void TadpDBDateTimePicker::DataChange(core::TObject*)
{
    data::TField* field = link_->Field();
    if (field == nullptr || takingChange_)
        return;
    // The row shows its own value now (another row, the edit cancelled, the
    // field set): a date refused before is over.
    ForgetRefusal();
    if (field->IsNull()) {
        // Blank, and the control keeps the value it had.
        SetFormat(kBlankPicture);
        if (Kind() == ui::TDateTimeKind::dtkDate)
            SetDate(Date());
        else
            SetTime(Time());
    } else {
        SetFormat("");
        SetDateTime(field->AsDateTime());
    }
}

void TadpDBDateTimePicker::UpdateData(core::TObject*)
{
    data::TField* field = link_->Field();
    if (field == nullptr)
        return;
    // A date still being typed is taken (or refused) first. While the text
    // typed is refused the row is not saved: it would be saved with a date
    // the user did not type. Leaving the field keeps the old date in it.
    FinishTyping();
    if (Refused() && !leaving_)
        throw data::EDatabaseError(data::NotADateMessage(RefusedText(), field->DisplayLabel()));
    // A field that still shows its blank picture got no date from the user.
    if (Blank())
        return;
    SetFormat(DateTime() == 0 ? kBlankPicture : "");
    field->SetAsDateTime(DateTime());
}

bool TadpDBDateTimePicker::EditKeepingWhatIsShown()
{
    // Going into edit state shows the row again, which would undo the user's
    // pick and upset what is being typed: the control keeps what it shows.
    takingChange_ = true;
    try {
        const bool editing = link_->Edit();
        takingChange_ = false;
        return editing;
    } catch (...) {
        takingChange_ = false;
        throw;
    }
}

bool TadpDBDateTimePicker::TypingBegins()
{
    // As in an edit, the first key puts the row into edit state, and the
    // date typed is written at the next update (a post, or leaving the field).
    if (EditKeepingWhatIsShown())
        link_->Modified();
    return true;
}

void TadpDBDateTimePicker::Change()
{
    // Only a change the data set can take is kept for writing.
    if (!EditKeepingWhatIsShown())
        return;
    SetFormat("");
    ui::TDateTimePicker::Change();
    link_->Modified();
}

void TadpDBDateTimePicker::DoExit()
{
    leaving_ = true;
    try {
        link_->UpdateRecord();
    } catch (...) {
        leaving_ = false;
        SetFocus();
        throw;
    }
    leaving_ = false;
    // The refused date is still to be answered when the row is saved.
    if (Refused())
        link_->Modified();
    ui::TDateTimePicker::DoExit();
}

void TadpDBDateTimePicker::DropDown()
{
    if (showWeekNumbers_)
        ApplyWeekNumbers();
    ui::TDateTimePicker::DropDown();
}

void TadpDBDateTimePicker::ApplyWeekNumbers()
{
    QCalendarWidget* calendar = Calendar();
    if (calendar == nullptr)
        return;
    calendar->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    // Wide enough for the week column and the whole of its lines.
    QWidget* popup = calendar->window();
    QSize needed = calendar->minimumSizeHint().expandedTo(calendar->sizeHint());
    if (popup != nullptr && popup != calendar && popup->width() < needed.width())
        popup->resize(needed.width(), popup->height());
}

} // namespace app
