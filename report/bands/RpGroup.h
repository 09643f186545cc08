#pragma once
// A group header band: it watches an expression and breaks its group when the
// value changes; its footer band ends the group. With ReprintOnNewPage the
// header stands again at the top of every page the group runs onto.

#include "report/bands/RpBand.h"
#include "report/expr/RpEvValue.h"
#include "report/expr/RpExpr.h"

#include <memory>
#include <string>

namespace report {

class TRpGroup : public TRpCustomBand {
public:
    explicit TRpGroup(core::TComponent* owner);
    ~TRpGroup() override;
    std::string ClassName() const override { return "TRpGroup"; }

    const std::string& Expression() const { return expression_; }
    // Parsed at the next run.
    void SetExpression(const std::string& expression) { expression_ = expression; }
    TRpCustomBand* FooterBand() const { return footerBand_; }
    void SetFooterBand(TRpCustomBand* band);
    core::TComponent* Master() const { return master_; }
    // Only a controller band or a report is taken.
    void SetMaster(core::TComponent* master);
    bool ReprintOnNewPage() const { return reprintOnNewPage_; }
    void SetReprintOnNewPage(bool value) { reprintOnNewPage_ = value; }

    void SetParent(ui::TWinControl* parent) override;

    // --- the run
    void PrepareGroup();
    void UnprepareGroup();
    // Compares the expression's value with the saved one.
    void TestChange();
    // The value is taken afresh and the group counts as started.
    void Restart();
    void PrintHeader();
    void PrintFooter();
    // Marks the group for its header again when a new page began under it.
    void TestReprint();

    TRpEvaluator& Evaluator() { return evaluator_; }
    bool Changed() const { return changed_; }
    void SetChanged(bool changed) { changed_ = changed; }
    bool HasValue() const { return hasValue_; }
    void SetHasValue(bool hasValue) { hasValue_ = hasValue; }
    const TRpEvValue& SavedValue() const { return savedValue_; }
    bool HeaderPrinted() const { return headerPrinted_; }
    std::int32_t PagePrinted() const { return pagePrinted_; }

protected:
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    std::string expression_;
    TRpCustomBand* footerBand_ = nullptr;
    core::TComponent* master_ = nullptr;
    bool reprintOnNewPage_ = false;
    TRpEvaluator evaluator_;
    bool changed_ = false;
    bool hasValue_ = false;
    TRpEvValue savedValue_;
    bool headerPrinted_ = false;
    std::int32_t pagePrinted_ = 0;
};

} // namespace report
