#include "report/printables/RpLabel.h"

#include "platform/core/Filer.h"
#include "platform/core/Unicode.h"
#include "platform/gfx/GraphicsObjects.h"
#include "report/layout/RpMath.h"
#include "report/printables/RpShape.h"
#include "report/printer/RpExportFilter.h"
#include "report/printer/RpPrinter.h"

#include <algorithm>
#include <utility>

namespace report {

namespace {

TRpPrintable* NewLabel(core::TComponent* owner)
{
    return new TRpLabel(owner);
}

// Bytes of the UTF-8 character that starts at text[i].
std::size_t CharLength(const std::string& text, std::size_t i)
{
    std::size_t n = 1;
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

// text without its last UTF-8 character.
void DropLastChar(std::string& text)
{
    std::size_t i = text.size();
    while (i > 0 && (static_cast<unsigned char>(text[i - 1]) & 0xC0) == 0x80)
        --i;
    text.resize(i > 0 ? i - 1 : 0);
}

// Sets a flag for the lifetime of the scope.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = saved_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

} // namespace

const TRpPrintableClass& TRpLabel::StaticClass()
{
    static const TRpPrintableClass labelClass{"TRpLabel", &NewLabel};
    return labelClass;
}

// What one printing of a label keeps while it goes through its lines.
struct TRpCustomLabel::PrintState {
    TRpPrinter* Printer;
    gfx::TCanvas* Canvas;
    long double X, Y, Width, Height, LineHeight;
    long double Extra = 0;
    long double Bottom = 0;
    long double CurY = 0;
    long double StartX = 0;
    std::uint32_t Options = 0;
    ui::TAlignment Alignment = ui::TAlignment::taLeftJustify;
    bool Started = false;
};

TRpCustomLabel::TRpCustomLabel(core::TComponent* owner) : TRpPrintable(owner)
{
    SetTransparent(false);
}

TRpCustomLabel::~TRpCustomLabel() = default;

ui::TAlignment TRpCustomLabel::EffectiveAlignment() const
{
    if (!UseRightToLeftAlignment())
        return Alignment();
    switch (Alignment()) {
    case ui::TAlignment::taLeftJustify: return ui::TAlignment::taRightJustify;
    case ui::TAlignment::taRightJustify: return ui::TAlignment::taLeftJustify;
    default: return ui::TAlignment::taCenter;
    }
}

void TRpCustomLabel::SetLabelCaption(const std::string& caption)
{
    if (caption == Caption())
        CaptionSet();
    else
        SetCaption(caption);
}

void TRpCustomLabel::CaptionSet()
{
    printCaption_ = Caption();
    FormatLines();
    Invalidate();
}

void TRpCustomLabel::FontChanged()
{
    TRpPrintable::FontChanged();
    FormatLines();
}

void TRpCustomLabel::SetName(const std::string& name)
{
    const bool follow = Caption().empty() || Caption() == Name();
    TRpPrintable::SetName(name);
    if (follow)
        SetCaption(name);
}

void TRpCustomLabel::SetParent(ui::TWinControl* parent)
{
    TRpPrintable::SetParent(parent);
    if (!HasState(core::csDestroying))
        FormatLines();
}

void TRpCustomLabel::SetAutoStretch(bool value)
{
    autoStretch_ = value;
    Invalidate();
}

void TRpCustomLabel::SetWordWrap(bool value)
{
    wordWrap_ = value;
    Invalidate();
}

void TRpCustomLabel::SetBiDiMode(TBiDiMode value)
{
    biDiMode_ = value;
    parentBiDiMode_ = false;
    Invalidate();
}

void TRpCustomLabel::SetAlignment(ui::TAlignment value)
{
    TRpPrintable::SetAlignment(value);
}

void TRpCustomLabel::BeginRun()
{
    TRpPrintable::BeginRun();
    CaptionSet();
}

void TRpCustomLabel::EndRun()
{
    TRpPrintable::EndRun();
}

void TRpCustomLabel::DefineProperties(core::TFiler& filer)
{
    filer.DefineProperty(
        "FontSize", [this](core::TReader& reader) { ReadFontSize(reader); },
        [this](core::TWriter& writer) { WriteFontSize(writer); }, true);
}

void TRpCustomLabel::ReadFontSize(core::TReader& reader)
{
    fontSize_ = static_cast<int>(reader.ReadInteger());
}

void TRpCustomLabel::WriteFontSize(core::TWriter& writer)
{
    writer.WriteInteger(Font().Size());
}

void TRpCustomLabel::Loaded()
{
    TRpPrintable::Loaded();
    if (fontSize_ > 0)
        Font().SetSize(fontSize_);
}

// ---- measuring and formatting ----

long double TRpCustomLabel::LineWidth(const std::string& text)
{
    if (TRpReportSite* report = ParentReport())
        return report->ReportTextWidth(Font(), text);
    // Without a report: the label's own canvas, its screen pixels made native.
    ui::AssignControlFont(Canvas().Font(), Font());
    return static_cast<long double>(Canvas().TextWidth(text)) * 254 / Size().Resolution();
}

long double TRpCustomLabel::LineHeight()
{
    TRpReportSite* report = ParentReport();
    return report != nullptr ? report->ReportTextHeight(Font(), "W") : 0;
}

int TRpCustomLabel::LineHeightPx()
{
    const int pixels = RpRound(LineHeight() * Size().Resolution() / 254);
    return pixels * Zoom() / 100;
}

long double TRpCustomLabel::FrameSides() const
{
    // As the printing moves the text right of a left side.
    const long double side = RpRound(Frame()->Width() / 72.0L * 254);
    long double width = 0;
    if (Frame()->DrawLeft())
        width += side;
    if (Frame()->DrawRight())
        width += side;
    return width;
}

void TRpCustomLabel::FormatLines()
{
    if (Parent() == nullptr)
        return;
    formattedLines_.clear();
    hasReport_ = ParentReport() != nullptr;
    FormatText(printCaption_);
    if (!hasReport_ || updatingBounds_)
        return;
    const int minimumHeight = LineHeightPx() + 1;
    if (Height() < minimumHeight) {
        FlagScope updating(updatingBounds_);
        SetHeight(minimumHeight);
    }
    if (!autoSize_)
        return;
    // The widest line in native units, so the width is the page's.
    long double width = 0;
    for (const std::string& line : formattedLines_)
        width = std::max(width, LineWidth(line));
    width += FrameSides();
    FlagScope updating(updatingBounds_);
    TRpPrintableSize& size = Size();
    const long double shift = size.NativeWidth() - width;
    switch (EffectiveAlignment()) {
    case ui::TAlignment::taRightJustify:
        size.SetNativeValue(TRpPrintableSize::LeftIndex, size.NativeLeft() + shift);
        break;
    case ui::TAlignment::taCenter:
        size.SetNativeValue(TRpPrintableSize::LeftIndex, size.NativeLeft() + shift / 2);
        break;
    default: break;
    }
    size.SetNativeValue(TRpPrintableSize::WidthIndex, width);
    if (formattedLines_.empty() && HasState(core::csDesigning))
        SetHeight(minimumHeight);
    if (Height() < minimumHeight)
        SetHeight(minimumHeight);
}

void TRpCustomLabel::FormatText(std::string text)
{
    // CR LF, a lone CR and a lone LF (the line end of text stored on this
    // platform) each end a line; a trailing one gives an empty last line.
    std::size_t start = 0;
    for (std::size_t end = text.find_first_of("\r\n"); end != std::string::npos;
         end = text.find_first_of("\r\n", start)) {
        FormatParagraph(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    FormatParagraph(text.substr(start));
}

void TRpCustomLabel::FormatParagraph(const std::string& text)
{
    lineBuffer_.clear();
    lineEnded_ = false;
    if (autoSize_) {
        AddLine(text);
        return;
    }
    // A word runs up to and including the next blank or hyphen. A tab is a
    // place to break as well: it begins a word, so the word after it can go
    // to the next line with it.
    const std::size_t linesBefore = formattedLines_.size();
    std::size_t start = 0;
    while (start < text.size() && !lineEnded_) {
        std::size_t end = text.find_first_of(" -\t", text[start] == '\t' ? start + 1 : start);
        if (end == std::string::npos)
            end = text.size();
        else if (text[end] != '\t')
            ++end;
        AddWord(text.substr(start, end - start));
        start = end;
    }
    // The rest of the paragraph is its last line; a paragraph whose last
    // word was cut to the width has no rest, and gets no blank line after it.
    if (!lineEnded_ && (!lineBuffer_.empty() || formattedLines_.size() == linesBefore))
        AddLine(lineBuffer_);
}

void TRpCustomLabel::AddWord(std::string word)
{
    // Native units, so the lines break alike for every device.
    const long double width = Size().NativeWidth();
    if (LineWidth(lineBuffer_ + word) <= width) {
        lineBuffer_ += word;
        return;
    }
    // A word behind a tab that does not fit begins a line; the tab advances
    // there only when the word still fits after it.
    const bool tabbed = wordWrap_ && word.front() == '\t';
    if (tabbed && lineBuffer_.empty()) {
        word.erase(0, 1);
        if (!word.empty())
            AddWord(std::move(word));
        return;
    }
    if (lineBuffer_.empty()) {
        // The word alone is too wide: the characters that fit, the rest is dropped.
        std::size_t i = 0;
        while (i < word.size()) {
            const std::size_t n = CharLength(word, i);
            if (LineWidth(lineBuffer_ + word.substr(i, n)) >= width)
                break;
            lineBuffer_ += word.substr(i, n);
            i += n;
        }
        word.clear();
    }
    AddLine(lineBuffer_);
    lineBuffer_.clear();
    if (!wordWrap_) {
        // Only the first line of the paragraph is kept.
        lineEnded_ = true;
        return;
    }
    if (tabbed && LineWidth(word) > width)
        word.erase(0, 1);
    if (!word.empty() && LineWidth(word) > width) {
        while (!word.empty() && LineWidth(word) > width)
            DropLastChar(word);
        if (!word.empty())
            AddLine(word);
        word.clear();
    }
    lineBuffer_ = word;
}

// ---- printing ----

void TRpCustomLabel::PrintAt(std::int32_t ofsX, std::int32_t ofsY)
{
    if (!ShouldPrint())
        return;
    TRpPrinter* printer = RpPrinter();
    if (printer == nullptr && ParentReport() != nullptr)
        printer = ParentReport()->ReportRpPrinter();
    if (printer == nullptr || printer->Canvas() == nullptr)
        return;
    gfx::TCanvas& canvas = *printer->Canvas();
    ui::AssignControlFont(canvas.Font(), Font());
    const TRpPrintableSize& size = Size();
    PrintState s{printer,
                 &canvas,
                 ofsX + size.NativeLeft(),
                 ofsY + size.NativeTop(),
                 size.NativeWidth(),
                 size.NativeHeight(),
                 PrintedLineHeight(canvas, *printer)};
    PrintLines(s);
}

long double TRpCustomLabel::PrintedLineHeight(gfx::TCanvas& canvas, const TRpPrinter& printer)
{
    // The report's line height is the same on every device, and so are the
    // page breaks of stretching labels.
    if (ParentReport() != nullptr)
        return LineHeight();
    return canvas.TextHeight("W") / printer.YFactor();
}

void TRpCustomLabel::PrintLines(PrintState& s)
{
    TRpPrinter* printer = s.Printer;
    gfx::TCanvas& canvas = *s.Canvas;
    const long double origWidth = s.Width;

    bool captionReplaced = false;
    std::string savedCaption;
    if (!printCaption_.empty() && OnPrint) {
        std::string value = printCaption_;
        OnPrint(this, value);
        ui::AssignControlFont(canvas.Font(), Font());
        s.Height = Size().NativeHeight();
        s.LineHeight = PrintedLineHeight(canvas, *printer);
        if (value != printCaption_) {
            savedCaption = printCaption_;
            printCaption_ = value;
            captionReplaced = true;
            FormatLines();
        }
    }
    FormatLines();
    s.Width = Size().NativeWidth();

    TRpExportFilter* filter = ParentReport() != nullptr ? ParentReport()->ExportingFilter() : nullptr;
    if (filter != nullptr && !Transparent() && Color() != gfx::clWhite) {
        // The background goes to the filter as a filled shape without outline.
        TRpShape background(nullptr);
        background.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
        background.Brush().SetColor(Color());
        background.Pen().SetStyle(gfx::TPenStyle::psClear);
        const std::int32_t left = printer->XPos(s.X);
        const std::int32_t top = printer->YPos(s.Y);
        background.SetBounds(left, top, printer->XSize(s.Width), printer->YSize(Size().NativeHeight()));
        filter->ExportShape(background, left, top);
    }
    if (!Transparent()) {
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.Pen().SetWidth(0);
        canvas.FillRect(gfx::Rect(printer->XPos(s.X), printer->YPos(s.Y), printer->XPos(s.X + s.Width),
                                  printer->YPos(s.Y + s.Height)));
    }

    long double w = 0;
    if (Frame()->AnySide()) {
        w = RpRound(Frame()->Width() / 72.0L * 254);
        if (Frame()->DrawTop())
            s.Y += w;
        if (Frame()->DrawLeft())
            s.X += w;
    }

    s.Alignment = EffectiveAlignment();
    s.StartX = s.X;
    if (AutoSize() && Alignment() == ui::TAlignment::taRightJustify)
        s.StartX = s.X - (s.Width - origWidth);
    else if (AutoSize() && Alignment() == ui::TAlignment::taCenter)
        s.StartX = s.X - (s.Width - origWidth) / 2;
    // Text goes out over what is there, whatever brush the canvas holds.
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    canvas.SetBkMode(gfx::TRANSPARENT);
    std::uint32_t textAlign = gfx::TA_TOP;
    if (UseRightToLeftReading()) {
        s.Options |= gfx::ETO_RTLREADING;
        textAlign |= gfx::TA_RTLREADING;
    }
    switch (s.Alignment) {
    case ui::TAlignment::taRightJustify:
        textAlign |= gfx::TA_RIGHT;
        s.StartX += s.Width;
        break;
    case ui::TAlignment::taCenter:
        textAlign |= gfx::TA_CENTER;
        s.StartX += s.Width / 2;
        break;
    default: textAlign |= gfx::TA_LEFT; break;
    }
    canvas.SetTextAlign(textAlign);

    s.Bottom = s.Y + s.Height + 1;
    s.CurY = s.Y;
    if (PrintFinished())
        currentLine_ = 0;
    linesPrinted_ = 0;
    const int count = static_cast<int>(formattedLines_.size());
    while (currentLine_ < count && LineFits(s)) {
        PrintLine(s, currentLine_);
        ++currentLine_;
        ++linesPrinted_;
    }
    SetPrintFinished(!(currentLine_ < count && autoStretch_));

    canvas.ResetClip();
    if (captionReplaced)
        printCaption_ = savedCaption;

    if (Frame()->AnySide()) {
        const gfx::TRect rect = gfx::Rect(printer->XPos(s.X - w), printer->YPos(s.Y - w), printer->XPos(s.X + s.Width),
                                          printer->YPos(s.Y + s.Height + s.Extra));
        Frame()->DrawFrame(canvas, rect, printer->XFactor(), printer->YFactor());
    }
}

bool TRpCustomLabel::LineFits(PrintState& s)
{
    TRpBandSite* band = ParentBand();
    // No line goes below what the band may reach where it prints: the rest
    // waits for the next page, or is clipped where the band cannot move on.
    if (band != nullptr && s.CurY + s.LineHeight > band->OutputLimit() + 1)
        return false;
    if (s.Bottom >= s.CurY + s.LineHeight)
        return true;
    if (!autoStretch_)
        return false;
    if (band == nullptr || !band->CanExpand(s.LineHeight))
        return false;
    const long double oldExtra = s.Extra;
    band->Expand(s.LineHeight, s.Extra, s.Started);
    s.Bottom = s.Y + s.Height + 1 + s.Extra;
    if (!Transparent()) {
        // The strip the band grew by takes the label's background too.
        gfx::TCanvas& canvas = *s.Canvas;
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.FillRect(gfx::Rect(s.Printer->XPos(s.X), s.Printer->YPos(s.Y + s.Height + oldExtra),
                                  s.Printer->XPos(s.X + s.Width), s.Printer->YPos(s.Y + s.Height + s.Extra)));
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
        canvas.SetBkMode(gfx::TRANSPARENT);
    }
    return true;
}

void TRpCustomLabel::PrintLine(PrintState& s, int index)
{
    const std::string& line = formattedLines_[static_cast<std::size_t>(index)];
    if (!line.empty()) {
        const std::vector<std::int32_t> advances = LineAdvances(line, s.Printer->XFactor());
        s.Canvas->ExtTextOut(s.Printer->XPos(s.StartX), s.Printer->YPos(s.CurY), s.Options, nullptr, line,
                             advances.empty() ? nullptr : &advances);
        if (TRpExportFilter* filter = ParentReport() != nullptr ? ParentReport()->ExportingFilter() : nullptr)
            filter->ExportText(Font(), Color(), s.StartX, s.CurY, s.Alignment, line);
    }
    s.CurY += s.LineHeight;
}

std::vector<std::int32_t> TRpCustomLabel::LineAdvances(const std::string& line, long double factor)
{
    // Right-to-left text is shaped by the device; its places are not kept.
    TRpReportSite* report = ParentReport();
    if (report == nullptr || UseRightToLeftReading())
        return {};
    const std::u16string wide = core::Utf8ToUtf16(line);
    const std::vector<long double> positions = report->ReportTextPositions(Font(), wide);
    if (positions.size() != wide.size() + 1)
        return {};
    // Each boundary rounded on its own, so the errors do not add up along the line.
    std::vector<std::int32_t> advances(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i)
        advances[i] = RpRound(positions[i + 1] * factor) - RpRound(positions[i] * factor);
    return advances;
}

// ---- design-time painting ----

void TRpCustomLabel::Paint()
{
    if (IsPrinting())
        return;
    gfx::TCanvas& canvas = Canvas();
    ui::AssignControlFont(canvas.Font(), Font());
    const int zoomed = RpRound(static_cast<long double>(Font().Size()) * Zoom() / 100);
    if (zoomed != Font().Size())
        canvas.Font().SetSize(zoomed);
    PaintBase();
    FormatLines();
    const int w = Width();
    const int h = Height();
    if (!Transparent()) {
        canvas.Brush().SetStyle(gfx::TBrushStyle::bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.FillRect(gfx::Rect(0, 0, w, h));
    }
    int x = 0;
    int y = 0;
    if (Frame()->Width() > 0) {
        const int shift = RpRound(Zoom() * (Frame()->Width() / 72.0L * Size().Resolution()) / 100);
        if (Frame()->DrawTop())
            y += shift;
        if (Frame()->DrawLeft())
            x += shift;
    }
    std::uint32_t textAlign = gfx::TA_TOP;
    switch (EffectiveAlignment()) {
    case ui::TAlignment::taRightJustify:
        textAlign |= gfx::TA_RIGHT;
        x += ClientWidth();
        break;
    case ui::TAlignment::taCenter:
        textAlign |= gfx::TA_CENTER;
        x += ClientWidth() / 2;
        break;
    default: textAlign |= gfx::TA_LEFT; break;
    }
    canvas.Brush().SetStyle(gfx::TBrushStyle::bsClear);
    canvas.SetBkMode(gfx::TRANSPARENT);
    canvas.SetTextAlign(textAlign);
    const int lineHeight = canvas.TextHeight("W");
    // The characters stand where the page will have them, at the zoom.
    const long double factor = Size().Resolution() / 254.0L * Zoom() / 100;
    for (std::size_t i = 0; i < formattedLines_.size(); ++i) {
        const std::vector<std::int32_t> advances = LineAdvances(formattedLines_[i], factor);
        canvas.ExtTextOut(x, y + static_cast<int>(i) * lineHeight, 0, nullptr, formattedLines_[i],
                          advances.empty() ? nullptr : &advances);
    }
    canvas.SetTextAlign(gfx::TA_TOP | gfx::TA_LEFT);
    // The background covered the marks and the frame: they go on top again.
    PaintMarksAndFrame();
}

} // namespace report
