#pragma once
// Edits and check boxes bound to one field of a data set.
//
// Each owns a field data link. The control shows the field of the current
// record; a user's change puts the data set into edit state (when it can be
// modified) and marks the link modified, and the value is written into the
// field when the data set asks its controls (on post, or when the focus
// leaves the control). A text set by the program is a change like a user's.
// What the user types or pastes past the characters a text field holds is
// cut, and the user told so.

#include "platform/data/DataSource.h"
#include "platform/ui/controls/Edits.h"

#include <memory>

class QCheckBox;

namespace ui {

class TDBEdit : public TCustomEdit {
public:
    explicit TDBEdit(core::TComponent* owner);
    ~TDBEdit() override;
    std::string ClassName() const override { return "TDBEdit"; }

    data::TDataSource* DataSource() const { return link_->DataSource(); }
    void SetDataSource(data::TDataSource* source);
    const std::string& DataField() const { return link_->FieldName(); }
    void SetDataField(const std::string& name) { link_->SetFieldName(name); }
    // The field bound now; null while the data set is closed.
    data::TField* Field() const { return link_->Field(); }
    void SetReadOnly(bool readOnly) override;
    data::TFieldDataLink& DataLink() { return *link_; }

protected:
    void Change() override;
    void DoEnter() override;
    void DoExit() override;
    bool WidgetEvent(QWidget* source, QEvent* event) override;
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    void DataChange();
    void EditingChange();
    void UpdateData();

    std::unique_ptr<data::TFieldDataLink> link_;
    bool focused_ = false;
};

class TDBCheckBox : public TWinControl {
public:
    explicit TDBCheckBox(core::TComponent* owner);
    ~TDBCheckBox() override;
    std::string ClassName() const override { return "TDBCheckBox"; }

    data::TDataSource* DataSource() const { return link_->DataSource(); }
    void SetDataSource(data::TDataSource* source);
    const std::string& DataField() const { return link_->FieldName(); }
    void SetDataField(const std::string& name) { link_->SetFieldName(name); }
    data::TField* Field() const { return link_->Field(); }
    bool ReadOnly() const { return link_->ReadOnly(); }
    void SetReadOnly(bool readOnly) { link_->SetReadOnly(readOnly); }
    // The texts a non-Boolean field holds when ticked and when not; several
    // accepted texts may be given, separated by ";" (the first is written).
    const std::string& ValueChecked() const { return valueChecked_; }
    void SetValueChecked(const std::string& value);
    const std::string& ValueUnchecked() const { return valueUnchecked_; }
    void SetValueUnchecked(const std::string& value);

    enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
    TCheckBoxState State() const;
    bool Checked() const { return State() == TCheckBoxState::cbChecked; }
    data::TFieldDataLink& DataLink() { return *link_; }

protected:
    void CaptionChanged() override;
    void DoExit() override;
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    QCheckBox* box() const;
    void SetState(TCheckBoxState state);
    TCheckBoxState FieldState() const;
    // The user asks to toggle: allowed only when the data set can be edited.
    bool Toggle();
    void DataChange();
    void UpdateData();

    std::unique_ptr<data::TFieldDataLink> link_;
    std::string valueChecked_ = "True";
    std::string valueUnchecked_ = "False";
};

} // namespace ui
