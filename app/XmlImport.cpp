#include "app/XmlImport.h"

#include "platform/core/Files.h"
#include "platform/core/FormatSettings.h"
#include "platform/data/Field.h"

namespace app {

EMissingElement::EMissingElement(const std::string& element)
    : core::Exception("Chybí prvek \"" + element + "\"."), element_(element)
{
}

namespace {

const xml::TXmlNode& Required(const xml::TXmlNode& parent, const char* name)
{
    const xml::TXmlNode* node = parent.SearchNode(name);
    if (node == nullptr)
        throw EMissingElement(name);
    return *node;
}

} // namespace

TConversionData ReadConversionData(const xml::TXmlDocument& document)
{
    const xml::TXmlNode* root = nullptr;
    for (int i = 0; i < document.TopNodeCount() && root == nullptr; ++i) {
        const xml::TXmlNode* node = document.TopNodes().ItemAt(i);
        if (node->GetName() == "d:root")
            root = node;
    }
    if (root == nullptr)
        throw EMissingElement("d:root");

    TConversionData data;
    const xml::TXmlNode& record = Required(*root, "d:evidence_provedenych_konverzi");
    data.Designation = Required(record, "d:oznaceni_vstupu").GetValue();
    data.DateText = Required(record, "d:datum_sepsani").GetValue();
    data.SerialNumber = Required(record, "d:poradove_cislo").GetValue();
    if (const xml::TXmlNode* output = root->SearchNode("d:vystup"))
        data.DepositoryId = Required(Required(*output, "d:uschovna"), "d:id").GetValue();
    return data;
}

core::TDateTime ImportDate(const std::string& text, const std::string& fieldLabel)
{
    core::TFormatSettings settings = core::GetLocaleFormatSettings();
    settings.DateSeparator = ".";
    settings.ShortDateFormat = "dd.mmm.yyyy";
    settings.TimeSeparator = ":";
    settings.LongTimeFormat = "hh:nn";
    core::TDateTime date = 0;
    if (!core::TryStrToDate(text, date, settings))
        throw core::EConvertError(data::NotADateMessage(text, fieldLabel));
    return date;
}

std::string MissingElementMessage(const std::string& fileName, const std::string& element)
{
    return "V souboru \"" + core::ExtractFileName(fileName) + "\" chybí prvek \"" + element +
           "\". Do evidence nebylo nic zapsáno.";
}

} // namespace app
