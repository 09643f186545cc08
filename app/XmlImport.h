#pragma once
// What the import reads from the outside form program's data file: the
// record of one conversion below the top-level element "d:root".

#include "platform/core/DateTime.h"
#include "platform/core/Exceptions.h"
#include "xml/XmlDocument.h"

#include <string>

namespace app {

struct TConversionData {
    std::string SerialNumber; // "d:poradove_cislo"
    std::string Designation;  // "d:oznaceni_vstupu"
    std::string DateText;     // "d:datum_sepsani", day.month.year
    // "d:id" in "d:uschovna" in "d:vystup"; empty when the file has no "d:vystup".
    std::string DepositoryId;
};

// A required element is missing; Element() names it.
class EMissingElement : public core::Exception {
public:
    explicit EMissingElement(const std::string& element);
    const std::string& Element() const { return element_; }

private:
    std::string element_;
};

// Reads the conversion from a loaded document. The root is the first
// top-level node named exactly "d:root"; below it every element is found by
// name in any letter case, depth first. Raises EMissingElement.
TConversionData ReadConversionData(const xml::TXmlDocument& document);

// The date drawn up as the data file writes it: day, month and year separated
// by "."; when it is no date, an EConvertError in Czech naming the text and
// the register field (fieldLabel) it was meant for.
core::TDateTime ImportDate(const std::string& text, const std::string& fieldLabel);

// What the user reads when the file lacks an element.
std::string MissingElementMessage(const std::string& fileName, const std::string& element);

} // namespace app
