#include "report/bands/RpControllerBand.h"

#include "platform/data/DataSet.h"
#include "report/bands/RpReport.h"

namespace report {

// --- TRpControllerBand

TRpControllerBand::TRpControllerBand(core::TComponent* owner) : TRpCustomBand(owner)
{
    controller_ = CreateController();
    controller_->SetSelfCheck(this);
    controller_->SetPrintBefore(false);
}

TRpControllerBand::~TRpControllerBand()
{
    Destroying();
    if (master_ != nullptr)
        master_->RemoveFreeNotification(this);
    controller_.reset();
}

std::unique_ptr<TRpController> TRpControllerBand::CreateController()
{
    auto controller = std::make_unique<TRpController>(this);
    controller->SetDetail(this);
    return controller;
}

void TRpControllerBand::SetMaster(core::TComponent* master)
{
    if (master == this)
        return;
    for (core::TComponent* m = master; m != nullptr;) {
        if (m == this) {
            RefuseCircularLink();
            return;
        }
        auto* band = dynamic_cast<TRpControllerBand*>(m);
        m = band != nullptr ? band->Master() : nullptr;
    }
    if (master_ != nullptr && master_ != master)
        master_->RemoveFreeNotification(this);
    master_ = master;
    controller_->SetMaster(master);
    TCustomRpReport* report = ParentReport();
    if (report != nullptr && !report->HasState(core::csDestroying)) {
        report->RebuildBandOrder();
        report->ArrangeBands();
    }
    if (master != nullptr)
        master->FreeNotification(this);
}

void TRpControllerBand::Notification(core::TComponent* component, core::TOperation operation)
{
    TRpCustomBand::Notification(component, operation);
    if (operation == core::TOperation::opRemove && component == master_)
        SetMaster(nullptr);
}

void TRpControllerBand::SetParent(ui::TWinControl* parent)
{
    TRpCustomBand::SetParent(parent);
    if (master_ == nullptr)
        if (auto* report = dynamic_cast<TCustomRpReport*>(Parent()))
            SetMaster(report);
}

void TRpControllerBand::AddToBandOrder()
{
    if (TCustomRpReport* report = ParentReport())
        report->AddToBandOrder(this);
}

void TRpControllerBand::DefineLocalVariable()
{
    TCustomRpReport* report = ParentReport();
    const std::string expression = LocalExpression();
    if (report == nullptr || expression.empty())
        return;
    report->Functions().DefineVariable(Name(), expression);
    localVarCreated_ = true;
}

void TRpControllerBand::RemoveLocalVariable()
{
    if (TCustomRpReport* report = ParentReport())
        report->Functions().RemoveVariable(Name());
    localVarCreated_ = false;
}

void TRpControllerBand::SetName(const std::string& name)
{
    if (localVarCreated_)
        RemoveLocalVariable();
    TRpCustomBand::SetName(name);
    if (ParentReport() != nullptr)
        DefineLocalVariable();
}

void TRpControllerBand::SetParentReport(TCustomRpReport* report)
{
    TRpCustomBand::SetParentReport(report);
    if (controller_)
        controller_->SetParentReport(report);
    if (report != nullptr && !localVarCreated_)
        DefineLocalVariable();
}

// --- TRpSubDetail

TRpSubDetail::TRpSubDetail(core::TComponent* owner)
    : TRpControllerBand(owner), bands_(std::make_unique<TRpSubDetailGroupBands>(this))
{
    SetBandTypeValue(TRpBandType::rbSubDetail);
}

TRpSubDetail::~TRpSubDetail() { Destroying(); }

void TRpSubDetail::SetPrintBefore(bool printBefore)
{
    if (printBefore == PrintBefore())
        return;
    Controller().SetPrintBefore(printBefore);
    if (TCustomRpReport* report = ParentReport()) {
        report->RebuildBandOrder();
        report->ArrangeBands();
    }
}

void TRpSubDetail::SetHeaderBand(TRpCustomBand* band)
{
    Controller().SetHeader(band);
    if (band != nullptr) {
        band->SetBandType(TRpBandType::rbGroupHeader);
        band->FreeNotification(this);
    }
}

void TRpSubDetail::SetFooterBand(TRpCustomBand* band)
{
    Controller().SetFooter(band);
    if (band != nullptr) {
        band->SetBandType(TRpBandType::rbGroupFooter);
        band->FreeNotification(this);
    }
}

void TRpSubDetail::AddToBandOrder()
{
    if (HasState(core::csDestroying))
        return;
    TCustomRpReport* report = ParentReport();
    if (report == nullptr)
        return;
    report->AddToBandOrder(HeaderBand());
    report->AddToBandOrder(this);
    report->AddToBandOrder(FooterBand());
}

void TRpSubDetail::Notification(core::TComponent* component, core::TOperation operation)
{
    TRpControllerBand::Notification(component, operation);
    if (operation != core::TOperation::opRemove)
        return;
    if (component == FooterBand())
        Controller().SetFooter(nullptr);
    if (component == HeaderBand())
        Controller().SetHeader(nullptr);
    if (component == DataSet())
        Controller().SetDataSet(nullptr);
}

// --- TRpSubDetailGroupBands

bool TRpSubDetailGroupBands::HasHeader() const { return owner_->HeaderBand() != nullptr; }
bool TRpSubDetailGroupBands::HasFooter() const { return owner_->FooterBand() != nullptr; }

void TRpSubDetailGroupBands::SetHasHeader(bool value)
{
    if (value == HasHeader())
        return;
    if (value) {
        if (TCustomRpReport* report = owner_->ParentReport())
            owner_->SetHeaderBand(report->CreateBand(TRpBandType::rbGroupHeader));
        return;
    }
    TRpCustomBand* band = owner_->HeaderBand();
    owner_->SetHeaderBand(nullptr);
    delete band;
}

void TRpSubDetailGroupBands::SetHasFooter(bool value)
{
    if (value == HasFooter())
        return;
    if (value) {
        if (TCustomRpReport* report = owner_->ParentReport())
            owner_->SetFooterBand(report->CreateBand(TRpBandType::rbGroupFooter));
        return;
    }
    TRpCustomBand* band = owner_->FooterBand();
    owner_->SetFooterBand(nullptr);
    delete band;
}

// --- TRpReportBands

namespace {

bool BandTypeOfIndex(int index, TRpBandType& type)
{
    switch (index) {
    case 1: type = TRpBandType::rbTitle; return true;
    case 2: type = TRpBandType::rbPageHeader; return true;
    case 3: type = TRpBandType::rbColumnHeader; return true;
    case 4: type = TRpBandType::rbDetail; return true;
    case 6: type = TRpBandType::rbPageFooter; return true;
    case 7: type = TRpBandType::rbSummary; return true;
    default: return false;
    }
}

} // namespace

bool TRpReportBands::GetBand(int index) const
{
    TRpBandType type;
    return BandTypeOfIndex(index, type) && owner_->BandOfType(type) != nullptr;
}

void TRpReportBands::SetBand(int index, bool value)
{
    TRpBandType type;
    if (!BandTypeOfIndex(index, type) || value == GetBand(index))
        return;
    if (value)
        owner_->CreateBand(type);
    else
        delete owner_->BandOfType(type);
}

} // namespace report
