#pragma once
// The expression label: prints the value of an expression of the report's
// expression language, evaluated anew at each printing and formatted by
// Mask. An expression with aggregates accumulates over the records of its
// master (the report or a sub-detail) and is reset after printing when
// ResetAfterPrint is set.

#include "report/expr/RpExpr.h"
#include "report/expr/RpEvValue.h"
#include "report/printables/RpLabel.h"

#include <memory>
#include <string>

namespace report {

class TRpExpr : public TRpCustomLabel {
public:
    explicit TRpExpr(core::TComponent* owner);
    ~TRpExpr() override;
    std::string ClassName() const override { return "TRpExpr"; }
    static const TRpPrintableClass& StaticClass();
    // TRpExprEditor.
    const TRpPrintableEditorClass& EditorClass() const override;

    void BeginRun() override;
    void PrintAt(std::int32_t ofsX, std::int32_t ofsY) override;
    // Operation 0 (a band of the master was printed) takes an aggregate step.
    void BandNotify(core::TObject* sender, int operation) override;
    void EndRun() override;

    const std::string& Expression() const { return expression_; }
    void SetExpression(const std::string& value);
    const std::string& Mask() const { return mask_; }
    void SetMask(const std::string& value);
    // The report or sub-detail whose printed records the aggregates count.
    core::TComponent* Master() const { return master_; }
    void SetMaster(core::TComponent* value);
    bool ResetAfterPrint() const { return resetAfterPrint_; }
    void SetResetAfterPrint(bool value) { resetAfterPrint_ = value; }
    TRpEvaluator& Evaluator() { return *evaluator_; }

    // Clears the aggregates.
    void Reset();
    // The value's text as the label prints it: numbers, whole or not, by
    // Mask (a Mask with a format specifier such as "%m", "%.0m" or "%10m" is
    // a format string of the value, any other a picture; a Mask that cannot
    // be applied gives its error's message), strings as they are, booleans
    // "True" or "False", errors by their message.
    std::string ValueText(const TRpEvValue& value) const;

protected:
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    // The caption shows the expression, or "(none)" when there is none.
    void RefreshCaption();

    std::unique_ptr<TRpEvaluator> evaluator_;
    std::string expression_;
    std::string mask_;
    core::TComponent* master_ = nullptr;
    bool resetAfterPrint_ = false;
};

} // namespace report
