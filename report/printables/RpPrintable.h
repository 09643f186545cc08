#pragma once
// The base of every control that stands on a band or on a report and puts
// output on a report page. At design time it is placed, sized and painted as
// a control; its size object keeps position and extent in native units. In a
// run the band that holds it calls BeginRun, then PrintAt at the band's
// position for every printing of the band, then EndRun.

#include "platform/gfx/Types.h"
#include "platform/ui/kernel/CustomControl.h"
#include "platform/ui/kernel/Graphics.h"
#include "report/layout/RpReportSite.h"
#include "report/layout/RpUnits.h"
#include "report/printables/RpFrame.h"

#include <cstdint>
#include <memory>
#include <string>

namespace report {

class TRpPrintable;
class TRpPrintableEditor;
class TRpPrinter;

// A class of printables: its name and how to make one for an owner.
struct TRpPrintableClass {
    const char* Name;
    TRpPrintable* (*Create)(core::TComponent* owner);
};

// A class of printable editors; Create is none for a class that leaves
// operations to its descendants.
struct TRpPrintableEditorClass {
    const char* Name;
    std::unique_ptr<TRpPrintableEditor> (*Create)(TRpPrintable* control);
};

// Position and extent of a printable: four native values, read and written in
// the object's unit and pushed to the printable's pixel bounds. In the form
// stream the four travel only in "Values", in the order Height, Left, Top,
// Width.
class TRpPrintableSize : public TRpUnitBase {
public:
    enum TIndex : int { HeightIndex = 0, LeftIndex = 1, TopIndex = 2, WidthIndex = 3 };

    explicit TRpPrintableSize(TRpPrintable* printable = nullptr);
    std::string ClassName() const override { return "TRpPrintableSize"; }

    TRpPrintable* Printable() const { return printable_; }

    // The value of index in Units (0 and 2 vertical, 1 and 3 horizontal);
    // in pixels it is the design view's, zoomed by the panel the printable
    // stands on.
    long double GetValue(int index) const;
    // Stores the value given in Units (an index outside 0..3 stores nothing),
    // then applies the sizes.
    void SetValue(int index, long double value);
    long double Height() const { return GetValue(HeightIndex); }
    void SetHeight(long double value) { SetValue(HeightIndex, value); }
    long double Left() const { return GetValue(LeftIndex); }
    void SetLeft(long double value) { SetValue(LeftIndex, value); }
    long double Top() const { return GetValue(TopIndex); }
    void SetTop(long double value) { SetValue(TopIndex, value); }
    long double Width() const { return GetValue(WidthIndex); }
    void SetWidth(long double value) { SetValue(WidthIndex, value); }

    // Native values (0.1 mm).
    long double NativeValue(int index) const;
    long double NativeHeight() const { return values_[HeightIndex]; }
    long double NativeLeft() const { return values_[LeftIndex]; }
    long double NativeTop() const { return values_[TopIndex]; }
    long double NativeWidth() const { return values_[WidthIndex]; }
    // Stores a native value (an index outside 0..3 stores nothing), then
    // applies the sizes.
    void SetNativeValue(int index, long double value);

    // Sets the printable's pixel bounds from the native values at the
    // object's zoom.
    void ApplySizes() override;
    void ReadValues(core::TReader& reader) override;
    void WriteValues(core::TWriter& writer) override;

private:
    TRpPrintable* printable_;
    long double values_[4] = {20, 20, 20, 20};
};

class TRpPrintable : public ui::TCustomControl, public TRpReportPart {
public:
    explicit TRpPrintable(core::TComponent* owner);
    ~TRpPrintable() override;
    std::string ClassName() const override { return "TRpPrintable"; }
    static const TRpPrintableClass& StaticClass();

    // --- run hooks and print operations
    // Only a visible printable that is disabled does not print.
    virtual bool ShouldPrint();
    virtual const TRpPrintableEditorClass& EditorClass() const;
    // Moves the printable to the left, right or middle of its band.
    virtual void AlignInBand();
    virtual void BeginRun();
    // Prints at the band's position on the page (native units); the base
    // draws the frame.
    virtual void PrintAt(std::int32_t ofsX, std::int32_t ofsY);
    // Operation 2: the band's bounds changed. Operation 0: a band was printed.
    virtual void BandNotify(core::TObject* sender, int operation);
    virtual void SetAlignment(ui::TAlignment value);
    virtual void EndRun();

    // Band notification codes.
    static constexpr int kBandPrinted = 0;
    static constexpr int kBandBoundsChanged = 2;

    ui::TAlignment Alignment() const { return alignment_; }
    bool AlignToBand() const { return alignToBand_; }
    void SetAlignToBand(bool value);
    TRpFrame* Frame() const { return frame_.get(); }
    // Takes over the settings of frame; the printable keeps its own frame.
    void SetFrame(TRpFrame* frame);
    TRpPrintableSize& Size() { return *size_; }
    const TRpPrintableSize& Size() const { return *size_; }
    bool IsPrinting() const { return isPrinting_; }
    // False while a printable has output left for the next page.
    bool PrintFinished() const { return printFinished_; }
    // Whether the last printing put out anything that the printings before
    // it had not: a band gives up continuing a printable that stays unfinished
    // without getting further. A printable that continues says so itself.
    virtual bool OutputAdvanced() const { return false; }
    // Gives up the output left over (it is not printed), so that the next
    // printing starts afresh.
    virtual void DropOutputLeft() { printFinished_ = true; }
    TRpPrinter* RpPrinter() const { return rpPrinter_; }
    TRpReportSite* ParentReport() const { return parentReport_; }
    // The report tells every printable below it at a run's start, and a band
    // the printables on it when it joins a report.
    void SetParentReport(TRpReportSite* report);
    // As placing it on a panel of the report does: the report link, the
    // report's zoom, and the position kept.
    void AttachToReport(TRpReportSite* report);
    // True when the printable does not paint its background.
    bool Transparent() const { return (ControlStyle() & ui::csOpaque) == 0; }
    void SetTransparent(bool value);
    // Percentage of the design view (the size object's).
    std::int32_t Zoom() const { return size_->Zoom(); }
    bool AlignUpdating() const { return alignUpdating_; }
    std::int32_t LoadedLeft() const { return loadedLeft_; }
    std::int32_t LoadedTop() const { return loadedTop_; }
    std::int32_t LoadedWidth() const { return loadedWidth_; }
    std::int32_t LoadedHeight() const { return loadedHeight_; }

    // TRpReportPart
    TRpReportSite* PartReport() const override { return parentReport_; }
    bool PartTransparent() const override { return Transparent(); }

    void Loaded() override;
    void SetParent(ui::TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Paint() override;
    // The design-time background, corner marks and frame.
    void PaintBase();
    void PaintMarksAndFrame();
    void DrawCornerMarks();
    void SetPrintFinished(bool value) { printFinished_ = value; }
    // The band the printable stands on, or none.
    TRpBandSite* ParentBand() const;

private:
    bool alignUpdating_ = false;
    ui::TAlignment alignment_ = ui::TAlignment::taLeftJustify;
    bool alignToBand_ = false;
    std::unique_ptr<TRpFrame> frame_;
    bool isPrinting_ = false;
    TRpReportSite* parentReport_ = nullptr;
    bool printFinished_ = true;
    TRpPrinter* rpPrinter_ = nullptr;
    std::unique_ptr<TRpPrintableSize> size_;
    std::int32_t loadedTop_ = 0;
    std::int32_t loadedWidth_ = 0;
    std::int32_t loadedHeight_ = 0;
    std::int32_t loadedLeft_ = 0;
};

// Sets the zoom of the printable's size object and applies its sizes again.
void SetPrintableZoom(TRpPrintable& printable, std::int32_t zoom);

// The base of the small property editors of printables: it answers questions
// about the printable it edits, changes its properties and shows a settings
// dialog. Each printable class names its editor class through EditorClass.
class TRpPrintableEditor : public core::TObject {
public:
    explicit TRpPrintableEditor(TRpPrintable* control) : control_(control) {}
    std::string ClassName() const override { return "TRpPrintableEditor"; }
    static const TRpPrintableEditorClass& StaticClass();

    virtual ui::TColor GetColor() { return 0; }
    virtual ui::TFont* GetFont() { return nullptr; }
    virtual const TRpPrintableClass& ControlClass() { return TRpPrintable::StaticClass(); }
    virtual std::string GetText() { return {}; }
    // A short type name and a description for a designer's lists.
    virtual std::string GetName() { return {}; }
    virtual std::string GetDescription() { return {}; }
    virtual ui::TAlignment GetAlignment() { return ui::TAlignment::taLeftJustify; }
    virtual void SetAlignment(ui::TAlignment value) { (void)value; }
    virtual void SetColor(ui::TColor value) = 0;
    virtual void SetFont(ui::TFont* value) = 0;
    virtual void SetText(const std::string& value) = 0;
    // Shows the settings dialog; true when the user confirmed.
    virtual bool Execute() = 0;

    TRpPrintable* Control() const { return control_; }

private:
    TRpPrintable* control_;
};

} // namespace report
