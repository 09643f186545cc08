#include "bench/xml/BenchDocuments.h"

namespace xmlbench {

std::string RegisterDocument(std::size_t size)
{
    static const char* const designations[] = {
        "Příliš žluťoučký kůň úpěl ďábelské ódy",
        "Smlouva o převodu vlastnického práva k nemovitosti",
        "Plná moc &amp; prohlášení o shodě",
        "Výpis z obchodního rejstříku č. j.",
    };
    std::string doc = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                      "<d:root xmlns:d=\"http://www.example.cz/konverze\" verze=\"2.1\">\r\n";
    doc.reserve(size + 4096);
    for (unsigned i = 1; doc.size() < size; ++i) {
        const std::string n = std::to_string(i);
        doc += "  <d:zaznam id=\"" + n + "\" typ=\"" + (i % 3 ? "listinná" : "elektronická") + "\" datum=\"2009-0" +
               std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10) + "\">\r\n";
        doc += "    <d:Poradove_cislo>" + n + "/2009</d:Poradove_cislo>\r\n";
        doc += "    <d:Oznaceni>" + std::string(designations[i % 4]) + " " + n + "</d:Oznaceni>\r\n";
        doc += "    <d:Pocet_stran>" + std::to_string(1 + i % 40) + "</d:Pocet_stran>\r\n";
        doc += "    <d:Overil jmeno=\"Mgr. Jan Novák\" cislo=\"" + std::to_string(100 + i % 7) + "\"/>\r\n";
        doc += "    <d:Poznamka>Ověřeno dne " + std::to_string(1 + i % 28) + ". 3. 2009 &lt;bez výhrad&gt;</d:Poznamka>\r\n";
        doc += "  </d:zaznam>\r\n";
    }
    doc += "</d:root>\r\n";
    return doc;
}

std::string CatalogDocument(std::size_t size)
{
    static const char* const goods[] = {
        "Šroub M6×20 pozinkovaný", "Matice M6 &amp; podložka", "Hmoždinka 8 mm", "Vrut do dřeva 4×40",
        "Kotva chemická", "Páska izolační černá", "Lepidlo &quot;Rychlé&quot;", "Kabel CYKY 3×2,5",
        "Žárovka 60&#160;W", "Spojka &#x2013; mosaz",
    };
    static const char* const units[] = {"ks", "bal", "m", "kg"};
    static const char* const stores[] = {"Brno", "Praha", "Ostrava", "Plzeň", "Jihlava"};
    std::string doc = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<katalog vydani=\"2009-03\" mena=\"CZK\">\n";
    doc.reserve(size + 4096);
    for (unsigned i = 1; doc.size() < size; ++i) {
        const std::string n = std::to_string(i);
        if (i % 50 == 1)
            doc += "<!-- skupina " + std::to_string(i / 50 + 1) + ": zboží ze skladu " + stores[i % 5] + " -->\n";
        doc += "<polozka kod=\"P" + n + "\" sk=\"" + std::to_string(i % 97) + "\" cena=\"" +
               std::to_string(1 + i % 500) + "." + std::to_string(10 + i % 90) + "\"";
        if (i % 2 == 0)
            doc += std::string(" mj=\"") + units[i % 4] + "\"";
        doc += ">";
        doc += std::string("<nazev>") + goods[i % 10] + "</nazev>";
        doc += "<sklad misto=\"" + std::string(stores[i % 5]) + "\" regal=\"" + std::to_string(i % 40) +
               "\" stav=\"" + std::to_string(i % 1000) + "\"/>";
        if (i % 10 == 0)
            doc += "<pozn><![CDATA[Cena platí pro odběr <10 ks> & více]]></pozn>";
        doc += "</polozka>\n";
    }
    doc += "</katalog>\n";
    return doc;
}

} // namespace xmlbench
