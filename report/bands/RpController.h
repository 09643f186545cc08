#pragma once
// Data controllers: each drives one level of a report. It prints the level's
// header band once, then for every record the group headers that start, the
// dependent controllers that print before the detail, the detail band, the
// dependents that print after it and the group footers that end, and at the
// end the level's footer band. Controllers form a tree through their Master
// links, collected afresh before every run; groups of a level nest in the
// component order of the form that owns them, the first found outermost.

#include "platform/core/Component.h"
#include "report/expr/RpEvValue.h"

#include <functional>
#include <vector>

namespace data {
class TDataSet;
}

namespace report {

class TCustomRpReport;
class TRpBasePanel;
class TRpCustomBand;
class TRpEvEmbeddedFunction;
class TRpGroup;
class TRpPrintable;

using TRpOnNeedDataEvent = std::function<void(core::TObject* Sender, bool& MoreData)>;

// True when the data set is given and open.
bool DataSetOK(const data::TDataSet* dataSet);

class TRpCustomController : public core::TComponent {
public:
    // orgOwner: the band or report the controller was made for.
    explicit TRpCustomController(TRpBasePanel* orgOwner);
    ~TRpCustomController() override;
    std::string ClassName() const override { return "TRpCustomController"; }

    // The controller's own value; the base has none (an error value).
    virtual void LocalValue(TRpEvValue& result);
    // Rebuilds the lists of dependents and groups from the owning form.
    virtual void CollectTree();
    virtual void Execute();
    virtual void PrepareRun();
    virtual void UnprepareRun();
    virtual void RunAfterList();
    virtual void RunBeforeList();
    virtual void RunEmpty();
    // Appends the level's bands to the report's band order.
    virtual void AddBandsInOrder();
    virtual void CollectDatasets() {}
    virtual void SetPrintBefore(bool printBefore) { printBefore_ = printBefore; }
    virtual void PublishLocalValue();

    void AddBefore(TRpCustomController* controller) { printBeforeList_.push_back(controller); }
    void AddAfter(TRpCustomController* controller) { printAfterList_.push_back(controller); }
    // Printables told when the detail band prints.
    void AddNotify(TRpPrintable* printable) { notifyList_.push_back(printable); }
    // Every printable of the notify list hears code (0: an aggregate step).
    void Notify(int code);

    // Starting with the header of every group that changed, the groups
    // whose header must stand again at the top of a new page.
    void ReprintGroups();
    // The groups' values are tested; true when one of them broke.
    bool TestGroups();
    void PrintGroupHeaders();
    void PrintGroupFooters();

    TRpBasePanel* OrgOwner() const { return orgOwner_; }
    const std::vector<TRpCustomController*>& PrintBeforeList() const { return printBeforeList_; }
    const std::vector<TRpCustomController*>& PrintAfterList() const { return printAfterList_; }
    const std::vector<TRpGroup*>& GroupList() const { return groupList_; }
    const std::vector<TRpPrintable*>& NotifyList() const { return notifyList_; }

    core::TComponent* Master() const { return master_; }
    // Only a report, a controller or a controller band can be a master.
    void SetMaster(core::TComponent* master);
    // What stands for this controller when others name their master.
    core::TComponent* SelfCheck() const { return selfCheck_; }
    void SetSelfCheck(core::TComponent* selfCheck) { selfCheck_ = selfCheck; }
    bool PrintBefore() const { return printBefore_; }
    bool PrintIfEmpty() const { return printIfEmpty_; }
    void SetPrintIfEmpty(bool printIfEmpty) { printIfEmpty_ = printIfEmpty; }
    TCustomRpReport* ParentReport() const { return parentReport_; }
    void SetParentReport(TCustomRpReport* report) { parentReport_ = report; }
    TRpEvEmbeddedFunction* EvConstant() const { return evConstant_; }

protected:
    void Notification(core::TComponent* component, core::TOperation operation) override;
    bool Designing() const;
    // Every group after index is evaluated again and marked as changed.
    void RestartInnerGroups(std::size_t index);

    TRpBasePanel* orgOwner_;
    std::vector<TRpCustomController*> printBeforeList_;
    std::vector<TRpCustomController*> printAfterList_;
    std::vector<TRpGroup*> groupList_;
    std::vector<TRpPrintable*> notifyList_;
    core::TComponent* master_ = nullptr;
    core::TComponent* selfCheck_;
    bool printBefore_ = false;
    bool printIfEmpty_ = true;
    TCustomRpReport* parentReport_ = nullptr;
    TRpEvEmbeddedFunction* evConstant_ = nullptr;
};

// The controller of a data set (or of an event that tells whether there is
// more data): the detail loop.
class TRpController : public TRpCustomController {
public:
    explicit TRpController(TRpBasePanel* orgOwner);
    std::string ClassName() const override { return "TRpController"; }

    data::TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(data::TDataSet* dataSet);
    TRpCustomBand* Detail() const { return detail_; }
    void SetDetail(TRpCustomBand* band);
    TRpCustomBand* Header() const { return header_; }
    void SetHeader(TRpCustomBand* band);
    TRpCustomBand* Footer() const { return footer_; }
    void SetFooter(TRpCustomBand* band);
    // Records printed in the current run.
    std::int32_t DetailNumber() const { return detailNumber_; }
    bool UpdateSQLParams() const { return updateSQLParams_; }

    void Execute() override;
    void PrepareRun() override;
    void RunEmpty() override;
    void AddBandsInOrder() override;
    void CollectDatasets() override;

    TRpOnNeedDataEvent OnNeedData;

protected:
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    void SetBand(TRpCustomBand*& slot, TRpCustomBand* band);
    void Advance(bool isDataSet, bool& moreData);

    data::TDataSet* dataSet_ = nullptr;
    TRpCustomBand* detail_ = nullptr;
    TRpCustomBand* header_ = nullptr;
    TRpCustomBand* footer_ = nullptr;
    std::int32_t detailNumber_ = 0;
    bool updateSQLParams_ = false;
};

} // namespace report
