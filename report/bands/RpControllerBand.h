#pragma once
// Bands that own a data controller: the controller band and the sub-detail
// band, which prints once per record of its own data set nested under its
// master (the report or another controller band), with an optional header
// and footer band. And the two switches through which a designer adds or
// removes standard bands by ticking a Boolean.

#include "report/bands/RpBand.h"
#include "report/bands/RpController.h"

#include <memory>
#include <string>

namespace data {
class TDataSet;
}

namespace report {

class TRpSubDetail;

class TRpControllerBand : public TRpCustomBand {
public:
    explicit TRpControllerBand(core::TComponent* owner);
    ~TRpControllerBand() override;
    std::string ClassName() const override { return "TRpControllerBand"; }

    TRpController& Controller() { return *controller_; }
    const TRpController& Controller() const { return *controller_; }
    core::TComponent* Master() const { return master_; }
    // Refused when the chain of masters leads back to this band.
    virtual void SetMaster(core::TComponent* master);
    // Adds the band (with its child bands) to the order the report builds.
    virtual void AddToBandOrder();
    // A variable named as the band, when the band kind gives it an expression.
    virtual void DefineLocalVariable();
    virtual void RemoveLocalVariable();
    virtual std::string LocalExpression() const { return {}; }
    bool LocalVarCreated() const { return localVarCreated_; }

    void SetName(const std::string& name) override;
    void SetParentReport(TCustomRpReport* report) override;
    void SetParent(ui::TWinControl* parent) override;

protected:
    virtual std::unique_ptr<TRpController> CreateController();
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    std::unique_ptr<TRpController> controller_;
    core::TComponent* master_ = nullptr;
    bool localVarCreated_ = false;
};

// Adds and removes the header and footer band of a sub-detail.
class TRpSubDetailGroupBands : public core::TPersistent {
public:
    explicit TRpSubDetailGroupBands(TRpSubDetail* owner) : owner_(owner) {}
    std::string ClassName() const override { return "TRpSubDetailGroupBands"; }
    bool HasHeader() const;
    void SetHasHeader(bool value);
    bool HasFooter() const;
    void SetHasFooter(bool value);

private:
    TRpSubDetail* owner_;
};

class TRpSubDetail : public TRpControllerBand, public TRpExprNotifyHost {
public:
    explicit TRpSubDetail(core::TComponent* owner);
    ~TRpSubDetail() override;
    std::string ClassName() const override { return "TRpSubDetail"; }

    TRpSubDetailGroupBands& Bands() { return *bands_; }
    data::TDataSet* DataSet() const { return Controller().DataSet(); }
    void SetDataSet(data::TDataSet* dataSet) { Controller().SetDataSet(dataSet); }
    TRpOnNeedDataEvent& OnNeedData() { return Controller().OnNeedData; }
    bool PrintBefore() const { return Controller().PrintBefore(); }
    void SetPrintBefore(bool printBefore);
    bool PrintIfEmpty() const { return Controller().PrintIfEmpty(); }
    void SetPrintIfEmpty(bool printIfEmpty) { Controller().SetPrintIfEmpty(printIfEmpty); }
    TRpCustomBand* HeaderBand() const { return Controller().Header(); }
    void SetHeaderBand(TRpCustomBand* band);
    TRpCustomBand* FooterBand() const { return Controller().Footer(); }
    void SetFooterBand(TRpCustomBand* band);

    void AddToBandOrder() override;
    void AddNotifyExpr(TRpPrintable* expression) override { Controller().AddNotify(expression); }

protected:
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    std::unique_ptr<TRpSubDetailGroupBands> bands_;
};

// Adds and removes the standard bands of a report.
class TRpReportBands : public core::TPersistent {
public:
    explicit TRpReportBands(TCustomRpReport* owner) : owner_(owner) {}
    std::string ClassName() const override { return "TRpReportBands"; }

    // The property's index: 1 title, 2 page header, 3 column header,
    // 4 detail, 6 page footer, 7 summary.
    bool GetBand(int index) const;
    void SetBand(int index, bool value);

    bool HasTitle() const { return GetBand(1); }
    void SetHasTitle(bool value) { SetBand(1, value); }
    bool HasPageHeader() const { return GetBand(2); }
    void SetHasPageHeader(bool value) { SetBand(2, value); }
    bool HasColumnHeader() const { return GetBand(3); }
    void SetHasColumnHeader(bool value) { SetBand(3, value); }
    bool HasDetail() const { return GetBand(4); }
    void SetHasDetail(bool value) { SetBand(4, value); }
    bool HasPageFooter() const { return GetBand(6); }
    void SetHasPageFooter(bool value) { SetBand(6, value); }
    bool HasSummary() const { return GetBand(7); }
    void SetHasSummary(bool value) { SetBand(7, value); }

private:
    TCustomRpReport* owner_;
};

} // namespace report
