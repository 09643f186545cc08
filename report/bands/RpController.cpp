#include "report/bands/RpController.h"

#include "platform/data/DataSet.h"
#include "report/bands/RpBand.h"
#include "report/bands/RpControllerBand.h"
#include "report/bands/RpGroup.h"
#include "report/bands/RpReport.h"
#include "report/expr/RpEnvironment.h"
#include "report/printables/RpPrintable.h"
#include "report/printer/RpPrinter.h"
#include "report/printer/RpWindowMessages.h"

#include <algorithm>

namespace report {

bool DataSetOK(const data::TDataSet* dataSet)
{
    return dataSet != nullptr && dataSet->Active();
}

// --- TRpCustomController

TRpCustomController::TRpCustomController(TRpBasePanel* orgOwner)
    : core::TComponent(nullptr), orgOwner_(orgOwner), selfCheck_(this)
{
}

TRpCustomController::~TRpCustomController()
{
    Destroying();
    if (master_ != nullptr)
        master_->RemoveFreeNotification(this);
}

bool TRpCustomController::Designing() const
{
    return parentReport_ != nullptr && parentReport_->HasState(core::csDesigning);
}

void TRpCustomController::LocalValue(TRpEvValue& result)
{
    result = TRpEvValue::Error("");
}

void TRpCustomController::PublishLocalValue()
{
    if (evConstant_ == nullptr)
        return;
    TRpEvValue value;
    LocalValue(value);
    TRpEvEnvironment::PutConstantValue(evConstant_->FirstElement(), value);
}

void TRpCustomController::SetMaster(core::TComponent* master)
{
    if (master == this)
        return;
    if (master != nullptr && dynamic_cast<TCustomRpReport*>(master) == nullptr &&
        dynamic_cast<TRpCustomController*>(master) == nullptr && dynamic_cast<TRpControllerBand*>(master) == nullptr)
        return;
    if (master_ != nullptr && master_ != master)
        master_->RemoveFreeNotification(this);
    master_ = master;
    if (master != nullptr)
        master->FreeNotification(this);
}

void TRpCustomController::Notification(core::TComponent* component, core::TOperation operation)
{
    core::TComponent::Notification(component, operation);
    if (operation == core::TOperation::opRemove && component == master_)
        SetMaster(nullptr);
}

void TRpCustomController::Notify(int code)
{
    for (TRpPrintable* printable : notifyList_)
        printable->BandNotify(this, code);
}

void TRpCustomController::CollectTree()
{
    if (HasState(core::csDestroying))
        return;
    printBeforeList_.clear();
    printAfterList_.clear();
    groupList_.clear();

    core::TComponent* root = nullptr;
    if (auto* controller = dynamic_cast<TRpCustomController*>(selfCheck_))
        root = controller->OrgOwner();
    else if (selfCheck_ != nullptr)
        root = selfCheck_->Owner();

    auto scan = [this](core::TComponent* owner) {
        if (owner == nullptr)
            return;
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            core::TComponent* component = owner->Components(i);
            TRpCustomController* dependent = dynamic_cast<TRpCustomController*>(component);
            if (auto* band = dynamic_cast<TRpControllerBand*>(component))
                dependent = &band->Controller();
            if (dependent != nullptr && dependent != this && dependent->Master() == selfCheck_ &&
                !dependent->HasState(core::csDestroying)) {
                dependent->SetParentReport(parentReport_);
                if (dependent->PrintBefore())
                    printBeforeList_.push_back(dependent);
                else
                    printAfterList_.push_back(dependent);
                dependent->CollectTree();
                continue;
            }
            auto* group = dynamic_cast<TRpGroup*>(component);
            if (group != nullptr && group->Master() == selfCheck_ && !group->HasState(core::csDestroying)) {
                groupList_.push_back(group);
                group->SetParentReport(parentReport_);
            }
        }
    };
    scan(root);
    if (selfCheck_ != root)
        scan(selfCheck_);
    CollectDatasets();
}

void TRpCustomController::PrepareRun()
{
    notifyList_.clear();
    for (TRpCustomController* controller : printBeforeList_)
        controller->PrepareRun();
    for (TRpCustomController* controller : printAfterList_)
        controller->PrepareRun();
    for (TRpGroup* group : groupList_)
        group->PrepareGroup();
    evConstant_ = nullptr;
    if (parentReport_ != nullptr && orgOwner_ != nullptr)
        evConstant_ = parentReport_->Functions().Variable(orgOwner_->Name());
}

void TRpCustomController::UnprepareRun()
{
    for (TRpCustomController* controller : printBeforeList_)
        controller->UnprepareRun();
    for (TRpCustomController* controller : printAfterList_)
        controller->UnprepareRun();
    for (TRpGroup* group : groupList_)
        group->UnprepareGroup();
}

void TRpCustomController::Execute()
{
    if (printIfEmpty_)
        RunEmpty();
}

void TRpCustomController::RunAfterList()
{
    for (TRpCustomController* controller : printAfterList_)
        controller->Execute();
}

void TRpCustomController::RunBeforeList()
{
    for (TRpCustomController* controller : printBeforeList_)
        controller->Execute();
}

void TRpCustomController::RunEmpty()
{
    RunBeforeList();
    RunAfterList();
}

void TRpCustomController::AddBandsInOrder() {}

// --- groups

void TRpCustomController::RestartInnerGroups(std::size_t index)
{
    for (std::size_t j = index + 1; j < groupList_.size(); ++j)
        groupList_[j]->Restart();
}

bool TRpCustomController::TestGroups()
{
    for (std::size_t i = 0; i < groupList_.size(); ++i) {
        groupList_[i]->TestChange();
        if (groupList_[i]->Changed()) {
            RestartInnerGroups(i);
            return true;
        }
    }
    return false;
}

void TRpCustomController::PrintGroupHeaders()
{
    for (TRpGroup* group : groupList_)
        if (group->Changed())
            group->PrintHeader();
}

void TRpCustomController::PrintGroupFooters()
{
    for (auto it = groupList_.rbegin(); it != groupList_.rend(); ++it)
        if ((*it)->Changed())
            (*it)->PrintFooter();
}

void TRpCustomController::ReprintGroups()
{
    if (std::any_of(groupList_.begin(), groupList_.end(), [](const TRpGroup* g) { return g->Changed(); }))
        return;
    for (TRpCustomController* controller : printBeforeList_)
        controller->ReprintGroups();
    for (std::size_t i = 0; i < groupList_.size(); ++i) {
        groupList_[i]->TestReprint();
        if (groupList_[i]->Changed()) {
            RestartInnerGroups(i);
            break;
        }
    }
    PrintGroupHeaders();
    for (TRpCustomController* controller : printAfterList_)
        controller->ReprintGroups();
}

// --- TRpController

TRpController::TRpController(TRpBasePanel* orgOwner) : TRpCustomController(orgOwner) {}

void TRpController::SetDataSet(data::TDataSet* dataSet)
{
    if (dataSet_ != nullptr && dataSet_ != dataSet)
        dataSet_->RemoveFreeNotification(this);
    dataSet_ = dataSet;
    if (dataSet != nullptr)
        dataSet->FreeNotification(this);
}

void TRpController::SetBand(TRpCustomBand*& slot, TRpCustomBand* band)
{
    // The notification of a former band stays: another slot may still hold it.
    slot = band;
    if (band != nullptr)
        band->FreeNotification(this);
}

void TRpController::SetDetail(TRpCustomBand* band) { SetBand(detail_, band); }
void TRpController::SetHeader(TRpCustomBand* band) { SetBand(header_, band); }
void TRpController::SetFooter(TRpCustomBand* band) { SetBand(footer_, band); }

void TRpController::Notification(core::TComponent* component, core::TOperation operation)
{
    TRpCustomController::Notification(component, operation);
    if (operation != core::TOperation::opRemove)
        return;
    if (component == header_)
        header_ = nullptr;
    if (component == detail_)
        detail_ = nullptr;
    if (component == footer_)
        footer_ = nullptr;
    if (component == dataSet_)
        SetDataSet(nullptr);
}

void TRpController::CollectDatasets()
{
    if (!DataSetOK(dataSet_) || parentReport_ == nullptr)
        return;
    if (std::vector<data::TDataSet*>* list = parentReport_->DataSetList())
        list->push_back(dataSet_);
}

void TRpController::PrepareRun()
{
    TRpCustomController::PrepareRun();
    updateSQLParams_ = false;
    if (parentReport_ != nullptr)
        updateSQLParams_ = parentReport_->QueryTakesVariables(dataSet_);
}

void TRpController::RunEmpty()
{
    if (parentReport_ == nullptr)
        return;
    if (header_ != nullptr)
        parentReport_->PrintReportBand(header_);
    RunBeforeList();
    if (detail_ != nullptr)
        parentReport_->PrintReportBand(detail_);
    RunAfterList();
    if (footer_ != nullptr)
        parentReport_->PrintReportBand(footer_);
}

void TRpController::AddBandsInOrder()
{
    if (parentReport_ == nullptr)
        return;
    TCustomRpReport& report = *parentReport_;
    report.AddToBandOrder(header_);
    for (TRpGroup* group : groupList_)
        report.AddToBandOrder(group);
    for (TRpCustomController* controller : printBeforeList_)
        controller->AddBandsInOrder();
    report.AddToBandOrder(detail_);
    for (TRpCustomController* controller : printAfterList_)
        controller->AddBandsInOrder();
    for (auto it = groupList_.rbegin(); it != groupList_.rend(); ++it)
        report.AddToBandOrder((*it)->FooterBand());
    report.AddToBandOrder(footer_);
}

void TRpController::Advance(bool isDataSet, bool& moreData)
{
    if (isDataSet) {
        dataSet_->Next();
        moreData = !dataSet_->Eof();
    } else {
        moreData = false;
        if (!Designing())
            OnNeedData(selfCheck_, moreData);
    }
}

void TRpController::Execute()
{
    std::int32_t progressTotal = 1;
    for (TRpGroup* group : groupList_)
        group->SetHasValue(false);
    TCustomRpReport* report = parentReport_;
    if ((!DataSetOK(dataSet_) && !OnNeedData) || report == nullptr) {
        if (printIfEmpty_)
            RunEmpty();
        return;
    }
    bool moreData = true;
    const bool isDataSet = DataSetOK(dataSet_);
    if (isDataSet) {
        if (updateSQLParams_)
            report->UpdateParamsBeforeOpen(dataSet_, report->Functions());
        dataSet_->First();
        moreData = !dataSet_->Eof();
        if (dynamic_cast<TRpReport*>(report) != nullptr)
            progressTotal = report->RecordCount();
        if (!moreData && printIfEmpty_)
            RunEmpty();
    } else if (!Designing()) {
        OnNeedData(selfCheck_, moreData);
    }
    detailNumber_ = 0;
    if (detail_ != nullptr)
        detail_->SetNotifyController(this);
    if (!moreData)
        return;

    RpProcessMessages();
    if (report->Cancelled())
        return;
    if (header_ != nullptr) {
        report->PrintReportBand(header_);
        // A forced new page right after the title starts no empty page.
        if (selfCheck_ == report)
            report->SetNewPageStarted(true);
    }
    if (selfCheck_ == report) {
        TRpCustomBand* columnHeader = report->BandOfType(TRpBandType::rbColumnHeader);
        if (columnHeader != nullptr && columnHeader->Enabled() &&
            (report->PageCount() <= 1 || report->PrepareOnly())) {
            report->PrintReportBand(columnHeader);
            report->SetNewPageStarted(true);
        }
    }
    TestGroups();

    const bool ownData = isDataSet && dynamic_cast<TRpReport*>(report) != nullptr &&
                         static_cast<TRpReport*>(report)->DataSet() == dataSet_;
    while (moreData) {
        RpProcessMessages();
        if (report->Cancelled() || (report->RpPrinter() != nullptr && report->RpPrinter()->Cancelled()))
            return;
        ++detailNumber_;
        PrintGroupHeaders();
        RunBeforeList();
        report->PrintReportBand(detail_);
        RunAfterList();
        Advance(isDataSet, moreData);
        if (TestGroups()) {
            // The footers print while the last record of the ending group is current.
            if (isDataSet)
                dataSet_->Prior();
            PrintGroupFooters();
            if (isDataSet)
                dataSet_->Next();
        }
        if (ownData && progressTotal != 0 && report->RpPrinter() != nullptr)
            report->RpPrinter()->SetProgress(
                static_cast<std::int32_t>(static_cast<std::int64_t>(detailNumber_) * 100 / progressTotal));
    }
    for (TRpGroup* group : groupList_)
        group->SetChanged(!group->Changed());
    PrintGroupFooters();

    if (footer_ != nullptr) {
        if (report->PageCount() == 0)
            report->NewPage();
        if (footer_->Size().NativeLength() > report->AvailableSpace())
            report->NewColumn();
        report->PrintReportBand(footer_);
    }
}

} // namespace report
