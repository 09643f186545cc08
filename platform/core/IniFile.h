#pragma once
// INI files: "[section]" lines, each followed by "key=value" lines. Sections
// and keys are found without regard to letter case (AnsiSameText), blanks
// around names and values do not count, and lines beginning with ";" or "#"
// are comments.
//
// Every call reads the file afresh and every change is written at once, so two
// objects on the same file never work on a stale copy. A change rewrites only
// the line it concerns (or adds one): other sections, keys, comments, blank
// lines and their order stay byte for byte, and so do the file's line ends
// (CR LF or LF, as found; a new file gets LF). The text is UTF-8. The file is
// replaced through a temporary file, so a failed write leaves the old one.
//
// Reading a missing or unreadable file gives the defaults; a change that
// cannot be written raises EIniFileException naming the file.

#include "platform/core/Component.h"

#include <string>

namespace core {

class TStrings;

class TIniFile : public TObject {
public:
    explicit TIniFile(std::string fileName);
    std::string ClassName() const override { return "TIniFile"; }

    const std::string& FileName() const noexcept { return fileName_; }

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& fallback) const;
    // The value as a decimal or hexadecimal ("0x1F", "$1F") integer, else the fallback.
    int ReadInteger(const std::string& section, const std::string& ident, int fallback) const;
    // An integer value: any but 0 is true. A value that is no integer gives the fallback.
    bool ReadBool(const std::string& section, const std::string& ident, bool fallback) const;

    // Line breaks in any of the three, "=" in a key or "]" in a section name
    // would break the file: such a write raises EIniFileException and changes
    // nothing. Blanks around a value are written but not read back.
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& ident, int value);
    // Writes "1" or "0".
    void WriteBool(const std::string& section, const std::string& ident, bool value);

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& ident) const;
    // The keys of a section, the sections of the file, and a section's
    // "key=value" lines, each in file order.
    void ReadSection(const std::string& section, TStrings& idents) const;
    void ReadSections(TStrings& sections) const;
    void ReadSectionValues(const std::string& section, TStrings& values) const;

    // Remove a whole section (each one of that name) or one key. Nothing is
    // written when there is nothing to remove.
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& ident);
    // Changes reach the file at once; kept for callers that flush.
    void UpdateFile() {}

private:
    std::string fileName_;
};

} // namespace core
