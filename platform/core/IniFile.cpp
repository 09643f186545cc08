#include "platform/core/IniFile.h"

#include "platform/core/Exceptions.h"
#include "platform/core/Files.h"
#include "platform/core/FormatSettings.h"
#include "platform/core/Letters.h"
#include "platform/core/Streams.h"
#include "platform/core/StringList.h"

#include <cstring>
#include <optional>
#include <vector>

namespace core {

namespace {

std::string_view Trim(std::string_view s)
{
    const std::size_t start = s.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    return s.substr(start, s.find_last_not_of(" \t") - start + 1);
}

enum class Kind { Blank, Comment, Section, Key, Other };

struct Entry {
    Kind kind = Kind::Other;
    std::string_view name;
    std::string_view value;
};

// The file as its lines, kept byte for byte: a line holds its own CR when the
// file ends its lines with CR LF, and only the LF between lines is implied.
struct IniText {
    std::vector<std::string> lines;
    bool crlf = false;
    bool finalLineEnd = true;

    static IniText Load(const std::string& fileName)
    {
        IniText text;
        std::string bytes;
        try {
            if (FileExists(fileName))
                bytes = ReadFileBytes(fileName);
        } catch (const Exception&) {
            // Unreadable: read as empty, the defaults apply.
        }
        text.crlf = bytes.find("\r\n") != std::string::npos;
        for (std::size_t start = 0; start < bytes.size();) {
            std::size_t end = bytes.find('\n', start);
            if (end == std::string::npos) {
                text.lines.push_back(bytes.substr(start));
                text.finalLineEnd = false;
                break;
            }
            text.lines.push_back(bytes.substr(start, end - start));
            start = end + 1;
        }
        return text;
    }

    std::string Join() const
    {
        std::string bytes;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            bytes += lines[i];
            if (i + 1 < lines.size() || finalLineEnd)
                bytes += '\n';
        }
        return bytes;
    }

    // A new line in the file's own style.
    std::string NewLine(std::string text) const { return crlf ? text + '\r' : text; }

    Entry At(std::size_t index) const
    {
        std::string_view line = lines[index];
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (index == 0 && line.substr(0, 3) == "\xEF\xBB\xBF") // byte order mark
            line.remove_prefix(3);
        line = Trim(line);
        Entry e;
        if (line.empty()) {
            e.kind = Kind::Blank;
        } else if (line[0] == ';' || line[0] == '#') {
            e.kind = Kind::Comment;
        } else if (line[0] == '[') {
            const std::size_t close = line.find(']');
            if (close != std::string_view::npos) {
                e.kind = Kind::Section;
                e.name = Trim(line.substr(1, close - 1));
            }
        } else if (const std::size_t eq = line.find('='); eq != std::string_view::npos) {
            e.name = Trim(line.substr(0, eq));
            e.value = Trim(line.substr(eq + 1));
            if (!e.name.empty())
                e.kind = Kind::Key;
        }
        return e;
    }

    // The lines of each section of that name: [begin, end) after its header.
    struct Span {
        std::size_t header, begin, end;
    };
    std::vector<Span> Sections(const std::string& section) const
    {
        std::vector<Span> spans;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const Entry e = At(i);
            if (e.kind != Kind::Section)
                continue;
            if (!spans.empty() && spans.back().end == lines.size())
                spans.back().end = i;
            if (AnsiSameText(e.name, section))
                spans.push_back({i, i + 1, lines.size()});
        }
        return spans;
    }

    // The line of the key: the first in any section of that name.
    std::optional<std::size_t> FindKey(const std::string& section, const std::string& ident) const
    {
        for (const Span& span : Sections(section))
            for (std::size_t i = span.begin; i < span.end; ++i)
                if (const Entry e = At(i); e.kind == Kind::Key && AnsiSameText(e.name, ident))
                    return i;
        return std::nullopt;
    }
};

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

} // namespace

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

namespace {

void Save(const std::string& fileName, const IniText& text)
{
    try {
        WriteFileReplacing(fileName, text.Join());
    } catch (const EInOutError& e) {
        throw EIniFileException("Unable to write to \"" + fileName + "\". " + std::strerror(e.ErrorCode()));
    }
}

} // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& ident,
                                 const std::string& fallback) const
{
    const IniText text = IniText::Load(fileName_);
    const auto line = text.FindKey(section, ident);
    return line ? std::string(text.At(*line).value) : fallback;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& ident, int fallback) const
{
    return StrToIntDef(ReadString(section, ident, ""), fallback);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& ident, bool fallback) const
{
    return ReadInteger(section, ident, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    if (HasLineBreak(section) || section.find(']') != std::string::npos || HasLineBreak(ident) ||
        ident.find('=') != std::string::npos || Trim(ident).empty() || HasLineBreak(value))
        throw EIniFileException("Cannot write \"" + ident + "\" in section [" + section + "] of \"" + fileName_ +
                                "\": the name or value does not fit on one INI line");
    IniText text = IniText::Load(fileName_);
    if (const auto line = text.FindKey(section, ident)) {
        // Keep the key as the file spells it, with any indentation.
        std::string& raw = text.lines[*line];
        const bool cr = !raw.empty() && raw.back() == '\r';
        raw = raw.substr(0, raw.find('=') + 1) + value + (cr ? "\r" : "");
    } else if (const auto spans = text.Sections(section); !spans.empty()) {
        // After the section's last line that is not blank, so blank lines
        // before the next section stay where they are.
        std::size_t at = spans.front().begin;
        for (std::size_t i = spans.front().begin; i < spans.front().end; ++i)
            if (text.At(i).kind != Kind::Blank)
                at = i + 1;
        if (at == text.lines.size())
            text.finalLineEnd = true;
        text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(at), text.NewLine(ident + "=" + value));
    } else {
        if (!text.lines.empty() && text.At(text.lines.size() - 1).kind != Kind::Blank)
            text.lines.push_back(text.NewLine(""));
        text.lines.push_back(text.NewLine("[" + section + "]"));
        text.lines.push_back(text.NewLine(ident + "=" + value));
        text.finalLineEnd = true;
    }
    Save(fileName_, text);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

bool TIniFile::SectionExists(const std::string& section) const
{
    return !IniText::Load(fileName_).Sections(section).empty();
}

bool TIniFile::ValueExists(const std::string& section, const std::string& ident) const
{
    return IniText::Load(fileName_).FindKey(section, ident).has_value();
}

void TIniFile::ReadSection(const std::string& section, TStrings& idents) const
{
    const IniText text = IniText::Load(fileName_);
    idents.BeginUpdate();
    idents.Clear();
    for (const auto& span : text.Sections(section))
        for (std::size_t i = span.begin; i < span.end; ++i)
            if (const Entry e = text.At(i); e.kind == Kind::Key)
                idents.Add(std::string(e.name));
    idents.EndUpdate();
}

void TIniFile::ReadSections(TStrings& sections) const
{
    const IniText text = IniText::Load(fileName_);
    sections.BeginUpdate();
    sections.Clear();
    for (std::size_t i = 0; i < text.lines.size(); ++i)
        if (const Entry e = text.At(i); e.kind == Kind::Section && sections.IndexOf(std::string(e.name)) < 0)
            sections.Add(std::string(e.name));
    sections.EndUpdate();
}

void TIniFile::ReadSectionValues(const std::string& section, TStrings& values) const
{
    const IniText text = IniText::Load(fileName_);
    values.BeginUpdate();
    values.Clear();
    for (const auto& span : text.Sections(section))
        for (std::size_t i = span.begin; i < span.end; ++i)
            if (const Entry e = text.At(i); e.kind == Kind::Key)
                values.Add(std::string(e.name) + "=" + std::string(e.value));
    values.EndUpdate();
}

void TIniFile::EraseSection(const std::string& section)
{
    IniText text = IniText::Load(fileName_);
    const auto spans = text.Sections(section);
    if (spans.empty())
        return;
    for (auto it = spans.rbegin(); it != spans.rend(); ++it)
        text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(it->header),
                         text.lines.begin() + static_cast<std::ptrdiff_t>(it->end));
    Save(fileName_, text);
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident)
{
    IniText text = IniText::Load(fileName_);
    const auto line = text.FindKey(section, ident);
    if (!line)
        return;
    text.lines.erase(text.lines.begin() + static_cast<std::ptrdiff_t>(*line));
    Save(fileName_, text);
}

} // namespace core
