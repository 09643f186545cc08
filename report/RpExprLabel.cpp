#include "report/RpExprLabel.h"

#include "platform/core/FormatSettings.h"
#include "platform/core/MoneyFormat.h"
#include "report/RpMessages.h"
#include "report/RpReportSite.h"

namespace report {

namespace {

TRpPrintable* NewExpr(core::TComponent* owner)
{
    return new TRpExpr(owner);
}

} // namespace

const TRpPrintableClass& TRpExpr::StaticClass()
{
    static const TRpPrintableClass exprClass{"TRpExpr", &NewExpr};
    return exprClass;
}

TRpExpr::TRpExpr(core::TComponent* owner) : TRpCustomLabel(owner), evaluator_(std::make_unique<TRpEvaluator>())
{
    RefreshCaption();
}

TRpExpr::~TRpExpr()
{
    Destroying();
    if (master_ != nullptr)
        master_->RemoveFreeNotification(this);
}

void TRpExpr::RefreshCaption()
{
    SetLabelCaption(expression_.empty() ? "(" + std::string(msg::None) + ")" : expression_);
}

void TRpExpr::SetExpression(const std::string& value)
{
    expression_ = value;
    RefreshCaption();
    Invalidate();
}

void TRpExpr::SetMask(const std::string& value)
{
    mask_ = value;
    RefreshCaption();
}

void TRpExpr::SetMaster(core::TComponent* value)
{
    if (value == master_)
        return;
    if (master_ != nullptr)
        master_->RemoveFreeNotification(this);
    master_ = value;
    // A master that goes away leaves no reference behind.
    if (master_ != nullptr)
        master_->FreeNotification(this);
}

void TRpExpr::Notification(core::TComponent* component, core::TOperation operation)
{
    TRpCustomLabel::Notification(component, operation);
    if (operation == core::TOperation::opRemove && component == master_)
        master_ = nullptr;
}

void TRpExpr::Reset()
{
    evaluator_->ResetAggregates();
}

void TRpExpr::BeginRun()
{
    TRpCustomLabel::BeginRun();
    TRpReportSite* report = ParentReport();
    if (report != nullptr) {
        evaluator_->AssignDataSets(report->ReportDataSets());
        evaluator_->SetLocalScope(report->ReportFunctions());
    }
    evaluator_->Parse(expression_);
    if (auto* host = dynamic_cast<TRpExprNotifyHost*>(master_))
        host->AddNotifyExpr(this);
    else if (master_ == nullptr && report != nullptr && evaluator_->ContainsAggregates())
        if (auto* reportHost = dynamic_cast<TRpExprNotifyHost*>(report))
            reportHost->AddNotifyExpr(this);
    Reset();
}

std::string TRpExpr::ValueText(const TRpEvValue& value) const
{
    // A money mask is a format string of the amount, also of a whole one
    // (a sum of integer amounts), which a picture would print as "%m".
    const bool money = mask_.find("%m") != std::string::npos;
    switch (value.Kind) {
    case evInteger:
        return money ? core::FormatFloatArgument(mask_, value.IntegerValue) : core::FormatFloat(mask_, value.IntegerValue);
    case evFloat:
        return money ? core::FormatFloatArgument(mask_, value.FloatValue) : core::FormatFloat(mask_, value.FloatValue);
    case evString: return value.StringValue;
    case evBoolean: return value.BooleanValue ? "True" : "False";
    default: return value.ErrorMessage();
    }
}

void TRpExpr::PrintAt(std::int32_t ofsX, std::int32_t ofsY)
{
    if (!ShouldPrint())
        return;
    SetPrintCaption(ValueText(evaluator_->Evaluate()));
    TRpCustomLabel::PrintAt(ofsX, ofsY);
    if (resetAfterPrint_)
        Reset();
}

void TRpExpr::BandNotify(core::TObject* sender, int operation)
{
    TRpCustomLabel::BandNotify(sender, operation);
    if (operation == kBandPrinted && evaluator_->Parsed())
        evaluator_->AggregateStep();
}

void TRpExpr::EndRun()
{
    evaluator_->AssignDataSets(nullptr);
    evaluator_->SetLocalScope(nullptr);
    evaluator_->Release();
    TRpCustomLabel::EndRun();
    RefreshCaption();
}

} // namespace report
