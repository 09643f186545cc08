#include "report/printables/RpExprLabel.h"

#include "platform/core/FormatSettings.h"
#include "platform/core/MoneyFormat.h"
#include "report/expr/RpMessages.h"
#include "report/layout/RpReportSite.h"

#include <cctype>
#include <string_view>

namespace report {

namespace {

TRpPrintable* NewExpr(core::TComponent* owner)
{
    return new TRpExpr(owner);
}

// Whether the mask holds a format specifier ("%" [index ":"] ["-"] [width]
// ["." precision] type, widths may be "*"), and is a format string then.
bool IsFormatMask(std::string_view mask)
{
    for (std::size_t at = mask.find('%'); at != std::string_view::npos; at = mask.find('%', at + 1)) {
        if (at + 1 < mask.size() && mask[at + 1] == '%') {
            ++at; // "%%" is a per cent sign
            continue;
        }
        const std::size_t type = mask.find_first_not_of("0123456789:-.*", at + 1);
        if (type != std::string_view::npos && std::isalpha(static_cast<unsigned char>(mask[type])))
            return true;
    }
    return false;
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
    // A number is written by the mask as a floating value: a mask with a
    // format specifier ("%m", "%.0m", "%10m" for money) is a format string of
    // the value, any other mask a picture. A mask that cannot be applied
    // prints its error in place of the value, as an expression error does,
    // and the run goes on.
    auto number = [this](double amount) -> std::string {
        try {
            return IsFormatMask(mask_) ? core::FormatFloatArgument(mask_, amount) : core::FormatFloat(mask_, amount);
        } catch (const core::Exception& error) {
            return error.Message();
        }
    };
    switch (value.Kind) {
    case evInteger: return number(value.IntegerValue);
    case evFloat: return number(value.FloatValue);
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
