#include "report/RpLabel.h"

#include "platform/core/Filer.h"
#include "platform/gfx/GraphicsObjects.h"
#include "report/RpExportFilter.h"
#include "report/RpMath.h"
#include "report/RpPrinter.h"
#include "report/RpShape.h"

#include <algorithm>

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

int TRpCustomLabel::LineWidth(const std::string& text)
{
    if (TRpReportSite* report = ParentReport())
        return gfx::MulDiv(report->ReportTextWidth(Font(), text), Zoom(), 100);
    ui::AssignControlFont(Canvas().Font(), Font());
    return Canvas().TextWidth(text);
}

int TRpCustomLabel::LineHeightPx()
{
    TRpReportSite* report = ParentReport();
    if (report == nullptr)
        return 0;
    return report->ReportTextHeight(Font(), "W") * Zoom() / 100;
}

int TRpCustomLabel::FrameSides() const
{
    int width = 0;
    if (Frame()->DrawLeft())
        width += Frame()->Width();
    if (Frame()->DrawRight())
        width += Frame()->Width();
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
    int width = 0;
    for (const std::string& line : formattedLines_)
        width = std::max(width, LineWidth(line));
    width += FrameSides();
    FlagScope updating(updatingBounds_);
    switch (EffectiveAlignment()) {
    case ui::TAlignment::taRightJustify: SetLeft(Left() + Width() - width); break;
    case ui::TAlignment::taCenter: SetLeft(Left() + (Width() - width) / 2); break;
    default: break;
    }
    SetWidth(width);
    if (formattedLines_.empty() && HasState(core::csDesigning))
        SetHeight(minimumHeight);
    if (Height() < minimumHeight)
        SetHeight(minimumHeight);
}

void TRpCustomLabel::FormatText(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    if (text.find('\r') != std::string::npos) {
        std::size_t start = 0;
        for (std::size_t cr = text.find('\r'); cr != std::string::npos; cr = text.find('\r', start)) {
            FormatText(text.substr(start, cr - start));
            start = cr + 1;
        }
        FormatText(text.substr(start));
        return;
    }
    lineBuffer_.clear();
    lineEnded_ = false;
    if (autoSize_) {
        AddLine(text);
        return;
    }
    // A word runs up to and including the next blank or hyphen.
    const std::size_t linesBefore = formattedLines_.size();
    std::size_t start = 0;
    while (start < text.size() && !lineEnded_) {
        std::size_t end = text.find_first_of(" -", start);
        end = end == std::string::npos ? text.size() : end + 1;
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
    const int width = Width();
    if (LineWidth(lineBuffer_ + word) <= width) {
        lineBuffer_ += word;
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
                 canvas.TextHeight("W") / printer->YFactor()};
    PrintLines(s);
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
        s.LineHeight = canvas.TextHeight("W") / printer->YFactor();
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
    const int count = static_cast<int>(formattedLines_.size());
    while (currentLine_ < count && LineFits(s)) {
        PrintLine(s, currentLine_);
        ++currentLine_;
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
    if (s.Bottom >= s.CurY + s.LineHeight)
        return true;
    if (!autoStretch_)
        return false;
    TRpBandSite* band = ParentBand();
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
        s.Canvas->ExtTextOut(s.Printer->XPos(s.StartX), s.Printer->YPos(s.CurY), s.Options, nullptr, line);
        if (TRpExportFilter* filter = ParentReport() != nullptr ? ParentReport()->ExportingFilter() : nullptr)
            filter->ExportText(Font(), Color(), s.StartX, s.CurY, s.Alignment, line);
    }
    s.CurY += s.LineHeight;
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
    for (std::size_t i = 0; i < formattedLines_.size(); ++i)
        canvas.ExtTextOut(x, y + static_cast<int>(i) * lineHeight, 0, nullptr, formattedLines_[i]);
    canvas.SetTextAlign(gfx::TA_TOP | gfx::TA_LEFT);
    // The background covered the marks and the frame: they go on top again.
    PaintMarksAndFrame();
}

} // namespace report
