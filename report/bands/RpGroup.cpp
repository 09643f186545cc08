#include "report/bands/RpGroup.h"

#include "report/bands/RpControllerBand.h"
#include "report/bands/RpReport.h"

namespace report {

TRpGroup::TRpGroup(core::TComponent* owner) : TRpCustomBand(owner)
{
    SetBandTypeValue(TRpBandType::rbGroupHeader);
}

TRpGroup::~TRpGroup()
{
    Destroying();
    evaluator_.Release();
}

void TRpGroup::SetFooterBand(TRpCustomBand* band)
{
    footerBand_ = band;
    if (band != nullptr) {
        band->SetBandType(TRpBandType::rbGroupFooter);
        band->FreeNotification(this);
    }
}

void TRpGroup::SetMaster(core::TComponent* master)
{
    auto* report = dynamic_cast<TCustomRpReport*>(master);
    if (dynamic_cast<TRpControllerBand*>(master) == nullptr && report == nullptr)
        return;
    master_ = master;
    if (report != nullptr) {
        report->RebuildBandOrder();
        report->ArrangeBands();
    }
    master->FreeNotification(this);
}

void TRpGroup::SetParent(ui::TWinControl* parent)
{
    TRpCustomBand::SetParent(parent);
    if (master_ == nullptr)
        if (auto* report = dynamic_cast<TCustomRpReport*>(Parent()))
            SetMaster(report);
}

void TRpGroup::Notification(core::TComponent* component, core::TOperation operation)
{
    TRpCustomBand::Notification(component, operation);
    if (operation != core::TOperation::opRemove)
        return;
    if (component == footerBand_)
        footerBand_ = nullptr;
    if (component == master_)
        master_ = nullptr;
}

void TRpGroup::PrepareGroup()
{
    if (TCustomRpReport* report = ParentReport()) {
        evaluator_.AssignDataSets(report->DataSetList());
        evaluator_.SetLocalScope(&report->Functions());
    }
    evaluator_.Parse(expression_);
    hasValue_ = false;
    pagePrinted_ = 1;
}

void TRpGroup::UnprepareGroup() { evaluator_.Release(); }

namespace {

bool ValuesDiffer(const TRpEvValue& a, const TRpEvValue& b)
{
    if (a.Kind != b.Kind)
        return true;
    switch (a.Kind) {
    case evInteger: return a.IntegerValue != b.IntegerValue;
    case evFloat: return a.FloatValue != b.FloatValue;
    case evString: return a.StringValue != b.StringValue;
    case evBoolean: return a.BooleanValue != b.BooleanValue;
    default: return false; // an error never breaks its group
    }
}

} // namespace

void TRpGroup::TestChange()
{
    changed_ = false;
    if (!hasValue_) {
        savedValue_ = evaluator_.Evaluate();
        changed_ = true;
        hasValue_ = true;
        return;
    }
    TRpEvValue value = evaluator_.Evaluate();
    changed_ = ValuesDiffer(value, savedValue_);
    if (changed_)
        savedValue_ = value;
}

void TRpGroup::Restart()
{
    savedValue_ = evaluator_.Evaluate();
    changed_ = true;
    hasValue_ = true;
}

void TRpGroup::PrintHeader()
{
    if (TCustomRpReport* report = ParentReport()) {
        report->PrintReportBand(this);
        headerPrinted_ = true;
        pagePrinted_ = report->PageCount();
    }
}

void TRpGroup::PrintFooter()
{
    if (TCustomRpReport* report = ParentReport())
        if (footerBand_ != nullptr)
            report->PrintReportBand(footerBand_);
    headerPrinted_ = false;
}

void TRpGroup::TestReprint()
{
    TCustomRpReport* report = ParentReport();
    if (reprintOnNewPage_ && headerPrinted_ && report != nullptr && report->PageCount() != pagePrinted_) {
        changed_ = true;
        pagePrinted_ = report->PageCount();
    } else {
        changed_ = false;
    }
}

} // namespace report
