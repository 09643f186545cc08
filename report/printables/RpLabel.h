#pragma once
// The text printables. A label turns its caption into lines (word wrap,
// explicit line breaks, automatic width) and prints them line by line; with
// AutoStretch it grows its band for lines below its height, and when the band
// cannot grow it continues on the next page. TRpLabel prints a fixed caption.

#include "report/printables/RpPrintable.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace core {
class TFiler;
class TReader;
class TWriter;
} // namespace core

namespace report {

// Reading order and alignment of a control's text.
enum class TBiDiMode : std::uint8_t {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly,
};

// Value: the text about to be printed; a handler may change it for this printing.
using TRpLabelOnPrintEvent = std::function<void(core::TObject* sender, std::string& value)>;

class TRpCustomLabel : public TRpPrintable {
public:
    explicit TRpCustomLabel(core::TComponent* owner);
    ~TRpCustomLabel() override;
    std::string ClassName() const override { return "TRpCustomLabel"; }

    // --- operations of the label kinds
    // The caption is what gets formatted.
    virtual bool IsCaptionBased() const { return true; }
    // Cuts the printed text into FormattedLines; with AutoSize it also sizes
    // the label to the widest line.
    virtual void FormatLines();
    // The handlers of the stream property "FontSize".
    virtual void ReadFontSize(core::TReader& reader);
    virtual void WriteFontSize(core::TWriter& writer);
    // Defines "FontSize" (always written).
    virtual void DefineProperties(core::TFiler& filer);

    void BeginRun() override;
    void PrintAt(std::int32_t ofsX, std::int32_t ofsY) override;
    // True when the last printing printed a line.
    bool OutputAdvanced() const override { return linesPrinted_ > 0; }
    void SetAlignment(ui::TAlignment value) override;
    void EndRun() override;

    void Loaded() override;
    void SetName(const std::string& name) override;
    void SetParent(ui::TWinControl* parent) override;

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value) { autoSize_ = value; }
    bool AutoStretch() const { return autoStretch_; }
    void SetAutoStretch(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool value) { parentBiDiMode_ = value; }
    // Right-to-left alignment mirrors left and right; right-to-left reading
    // writes the text from the right.
    bool UseRightToLeftAlignment() const { return biDiMode_ == TBiDiMode::bdRightToLeft; }
    bool UseRightToLeftReading() const { return biDiMode_ != TBiDiMode::bdLeftToRight; }
    // Alignment, mirrored for right-to-left alignment.
    ui::TAlignment EffectiveAlignment() const;

    const std::string& PrintCaption() const { return printCaption_; }
    const std::vector<std::string>& FormattedLines() const { return formattedLines_; }
    // Index of the next line to print while the label continues over pages.
    int CurrentLine() const { return currentLine_; }
    int FontSize() const { return fontSize_; }

    TRpLabelOnPrintEvent OnPrint;

protected:
    // Sets the caption, also to the text it has: the printed text follows
    // it and the lines are formatted again.
    void SetLabelCaption(const std::string& caption);
    void CaptionSet();
    // The text of this printing, in place of the caption.
    void SetPrintCaption(const std::string& text) { printCaption_ = text; }
    void CaptionChanged() override { CaptionSet(); }
    void FontChanged() override;
    void Paint() override;

    // Width of text in native units, as every device will have it.
    long double LineWidth(const std::string& text);
    // Height of a line in native units (0 without a report).
    long double LineHeight();
    // Height of a line in screen pixels at the zoom.
    int LineHeightPx();

private:
    struct PrintState;

    // Cuts the text at its line ends into paragraphs.
    void FormatText(std::string text);
    void FormatParagraph(const std::string& text);
    void AddWord(std::string word);
    void AddLine(const std::string& line) { formattedLines_.push_back(line); }
    void PrintLines(PrintState& state);
    // Native height of a printed line.
    long double PrintedLineHeight(gfx::TCanvas& canvas, const TRpPrinter& printer);
    bool LineFits(PrintState& state);
    void PrintLine(PrintState& state, int index);
    // Device advances of the line's characters as the report laid it out;
    // empty where the device is to place them itself.
    std::vector<std::int32_t> LineAdvances(const std::string& line, long double factor);
    // The frame's left and right sides, in native units.
    long double FrameSides() const;

    bool autoSize_ = true;
    bool autoStretch_ = false;
    int currentLine_ = 0;
    int linesPrinted_ = 0;
    std::string printCaption_;
    int fontSize_ = 0;
    std::vector<std::string> formattedLines_;
    bool wordWrap_ = true;
    bool updatingBounds_ = false;
    TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
    bool parentBiDiMode_ = true;

    // Formatting state of one paragraph.
    std::string lineBuffer_;
    bool lineEnded_ = false;
    bool hasReport_ = false;
};

// A label with a fixed caption.
class TRpLabel : public TRpCustomLabel {
public:
    explicit TRpLabel(core::TComponent* owner) : TRpCustomLabel(owner) {}
    std::string ClassName() const override { return "TRpLabel"; }
    static const TRpPrintableClass& StaticClass();
    // TRpLabelEditor.
    const TRpPrintableEditorClass& EditorClass() const override;
};

} // namespace report
