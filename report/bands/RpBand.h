#pragma once
// Bands: the horizontal strips a report is made of. At design time a band is
// a panel on the report's design surface holding printables; during a run the
// report and its controllers ask the band to print itself at the report's
// current position: BeforePrint, forced page or column breaks, the space
// check, aggregate notification, the background, the printables (again on the
// next column or page while one of them has output left), the frame, the
// advance of the position, AfterPrint and the child band.

#include "platform/gfx/Types.h"
#include "report/bands/RpBasePanel.h"
#include "report/layout/RpBandSize.h"
#include "report/layout/RpBandTypes.h"
#include "report/layout/RpReportSite.h"

#include <functional>
#include <memory>
#include <string>

namespace report {

class TCustomRpReport;
class TRpCustomBand;
class TRpCustomController;

using TRpBandBeforePrintEvent = std::function<void(TRpCustomBand* Sender, bool& PrintBand)>;
using TRpBandAfterPrintEvent = std::function<void(TRpCustomBand* Sender, bool BandPrinted)>;

// True while a page or column break that a band started is running.
extern bool BreakInProgress;

// stem followed by the smallest n >= 1 for which owner holds no component stem + n.
std::string UniqueName(const core::TComponent* owner, const std::string& stem);

class TRpCustomBand : public TRpBasePanel, public TRpBandSite {
public:
    explicit TRpCustomBand(core::TComponent* owner);
    ~TRpCustomBand() override;
    std::string ClassName() const override { return "TRpCustomBand"; }

    virtual std::string BandTypeCaption() const { return std::string(BandTypeCaptionText(bandType_)); }
    virtual std::string BandTypeName() const { return std::string(BandTypeNameText(bandType_)); }
    virtual void SetParentReport(TCustomRpReport* report);
    TCustomRpReport* ParentReport() const { return parentReport_; }
    TRpReportSite* PartReport() const override;

    TRpBandSize& Size() { return *size_; }
    const TRpBandSize& Size() const { return *size_; }
    // The band owns its size; assigning another copies its values.
    void SetSize(TRpBandSize* size);

    TRpBandType BandType() const { return bandType_; }
    // The report puts its bands in order again.
    void SetBandType(TRpBandType type);
    bool PreCaluculateBandHeight() const { return preCalculate_; }
    void SetPreCaluculateBandHeight(bool value) { preCalculate_ = value; }
    bool KeepOnOnePage() const { return keepOnOnePage_; }
    void SetKeepOnOnePage(bool value) { keepOnOnePage_ = value; }
    bool AlignToBottom() const { return alignToBottom_; }
    void SetAlignToBottom(bool value) { alignToBottom_ = value; }
    bool TransparentBand() const { return transparentBand_; }
    void SetTransparentBand(bool value) { transparentBand_ = value; }
    bool ForceNewColumn() const { return forceNewColumn_; }
    void SetForceNewColumn(bool value) { forceNewColumn_ = value; }
    bool ForceNewPage() const { return forceNewPage_; }
    void SetForceNewPage(bool value) { forceNewPage_ = value; }
    bool Enabled() const { return bandEnabled_; }
    void SetEnabled(bool enabled) override;

    TRpCustomBand* LinkBand() const { return linkBand_; }
    // Refused when b's chain of link bands leads back to this band.
    void SetLinkBand(TRpCustomBand* band);

    TRpCustomController* NotifyController() const { return notifyController_; }
    void SetNotifyController(TRpCustomController* controller) { notifyController_ = controller; }

    // The area of the band's last output on the page, in device pixels.
    const gfx::TRect& BandFrameRect() const { return bandFrameRect_; }
    // How far the band has grown during its current printing (native units).
    long double Expanded() const { return expanded_; }
    long double NeededHeight() const { return Size().NativeLength(); }
    bool ParentUpdating() const { return parentUpdating_; }
    void SetParentUpdating(bool updating) { parentUpdating_ = updating; }
    std::int32_t LoadedHeight() const { return loadedHeight_; }

    // The first child band that continues this one, in the report's band order.
    bool HasChild() const { return ChildBand() != nullptr; }
    class TRpChildBand* ChildBand() const;
    void SetHasChild(bool hasChild);

    TRpUnit BandUnits() const override { return size_ ? size_->Units() : TRpUnit::Native; }
    // The band's size and those of its printables take unit.
    void SetBandUnits(TRpUnit unit);

    // Native height, with the heights of the link bands when follow is set.
    long double HeightWithLinks(bool follow) const;
    // Whether the page still has room for amount more below the band.
    bool CanExpand(long double amount) override;
    // A stretching printable asks for amount more; false when there is no
    // room. extra gets the band's growth, started tells a later printable of
    // the same pass that growth was already asked for.
    bool Expand(long double amount, long double& extra, bool& started) override;
    void AdvancePosition();
    long double OutputLimit() const override;

    // Prints the band at the report's position (see the file comment).
    void Print();

    void SetParent(ui::TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetZoom(std::int32_t zoom) override;
    void DrawRuler(gfx::TCanvas& canvas, TRpUnit unit) override;
    void Loaded() override;
    // The report that is freed lets go of its bands.
    void DetachFromReport();

    TRpBandBeforePrintEvent BeforePrint;
    TRpBandAfterPrintEvent AfterPrint;

protected:
    void SetBandTypeValue(TRpBandType type) { bandType_ = type; }
    void Notification(core::TComponent* component, core::TOperation operation) override;
    void PaintPanel(gfx::TCanvas& canvas) override;
    bool Designing() const { return HasState(core::csDesigning); }
    // Shown at design time when a link would close a circle.
    void RefuseCircularLink() const;

private:
    void SpaceCheck();
    // advanced: a printable that is not done got further in this pass.
    void PrintPrintables(bool first, bool& done, bool& advanced);
    // Printables with output left give it up.
    void DropOutputLeft();
    void ExportBackground();
    // Native height without pushing it to the control when it is unchanged.
    void SetNativeHeight(long double height);

    std::unique_ptr<TRpBandSize> size_;
    TCustomRpReport* parentReport_ = nullptr;
    TRpBandType bandType_ = TRpBandType::rbDetail;
    bool preCalculate_ = false;
    bool keepOnOnePage_ = false;
    bool alignToBottom_ = false;
    bool transparentBand_ = false;
    bool forceNewColumn_ = false;
    bool forceNewPage_ = false;
    bool bandEnabled_ = true;
    TRpCustomBand* linkBand_ = nullptr;
    TRpCustomController* notifyController_ = nullptr;
    gfx::TRect bandFrameRect_{};
    long double expanded_ = 0;
    bool parentUpdating_ = false;
    bool printing_ = false;
    std::int32_t loadedHeight_ = 40;
};

// A band of a kind chosen by its BandType.
class TRpBand : public TRpCustomBand {
public:
    explicit TRpBand(core::TComponent* owner) : TRpCustomBand(owner) {}
    std::string ClassName() const override { return "TRpBand"; }
};

// A band that continues another one (its ParentBand) right below it.
class TRpChildBand : public TRpCustomBand {
public:
    explicit TRpChildBand(core::TComponent* owner);
    std::string ClassName() const override { return "TRpChildBand"; }

    TRpCustomBand* ParentBand() const { return parentBand_; }
    // Refused when band's chain of parent bands leads back to this band.
    void SetParentBand(TRpCustomBand* band);
    // Printing a page footer's child as a page footer.
    void SetPrintingType(TRpBandType type) { SetBandTypeValue(type); }

protected:
    void Notification(core::TComponent* component, core::TOperation operation) override;

private:
    TRpCustomBand* parentBand_ = nullptr;
};

} // namespace report
