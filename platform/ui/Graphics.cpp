#include "platform/ui/Graphics.h"

#include "platform/core/Exceptions.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QPalette>

namespace ui {

QColor ColorToQColor(TColor color)
{
    auto value = static_cast<std::uint32_t>(color);
    if ((value & 0x80000000u) != 0) {
        QPalette palette = QApplication::palette();
        switch (value & 0xFF) {
        case 0x05: return palette.color(QPalette::Base);
        case 0x08: return palette.color(QPalette::Text);
        case 0x0D: return palette.color(QPalette::Highlight);
        case 0x0E: return palette.color(QPalette::HighlightedText);
        case 0x11: return palette.color(QPalette::Disabled, QPalette::Text);
        case 0x12: return palette.color(QPalette::ButtonText);
        case 0x18: return palette.color(QPalette::ToolTipBase);
        default: return palette.color(QPalette::Window);
        }
    }
    if (color == clNone || color == clDefault)
        return QColor();
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

TColor QColorToColor(const QColor& color)
{
    if (!color.isValid())
        return clNone;
    return RGBColor(color.red(), color.green(), color.blue());
}

void TFont::SetName(const std::string& name)
{
    if (name == name_)
        return;
    name_ = name;
    Changed();
}

void TFont::SetSize(int size)
{
    if (size == size_)
        return;
    size_ = size;
    Changed();
}

void TFont::SetStyle(TFontStyles style)
{
    if (style == style_)
        return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Changed();
}

void TFont::Assign(core::TPersistent* source)
{
    auto* font = dynamic_cast<TFont*>(source);
    if (font == nullptr) {
        core::TPersistent::Assign(source);
        return;
    }
    name_ = font->name_;
    size_ = font->size_;
    style_ = font->style_;
    color_ = font->color_;
    Changed();
}

QFont TFont::ToQFont() const
{
    QFont font;
    // The classic desktop faces are rarely installed here; a face of similar
    // width stands in, so that captions fit the room the forms give them.
    QStringList families{QString::fromStdString(name_)};
    if (name_ == "Tahoma" || name_ == "MS Sans Serif")
        families << QStringLiteral("DejaVu Sans Condensed") << QStringLiteral("Liberation Sans Narrow")
                 << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans");
    font.setFamilies(families);
    font.setPointSize(size_);
    font.setBold((style_ & fsBold) != 0);
    font.setItalic((style_ & fsItalic) != 0);
    font.setUnderline((style_ & fsUnderline) != 0);
    font.setStrikeOut((style_ & fsStrikeOut) != 0);
    return font;
}

void TFont::Changed()
{
    if (OnChange)
        OnChange(this);
}

} // namespace ui
