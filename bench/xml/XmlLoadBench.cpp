// Loading a generated 50 MB document from memory into a tree: our document,
// and for comparison pugixml's DOM and libxml2's tree parse, in the same run.
// Each iteration parses into a fresh tree; freeing the tree is not timed.
// At the end the MB/s of each and our ratio to each are printed.

#include "xml/FastStreams.h"
#include "xml/XmlDocument.h"
#include "xml/XmlParser.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kDocumentSize = 50u * 1000u * 1000u;

// Records of a conversion register: elements nested three deep, attributes,
// text with Czech letters, references, numbers that make most values unique.
const std::string& Document()
{
    static const std::string text = [] {
        static const char* const designations[] = {
            "Příliš žluťoučký kůň úpěl ďábelské ódy",
            "Smlouva o převodu vlastnického práva k nemovitosti",
            "Plná moc &amp; prohlášení o shodě",
            "Výpis z obchodního rejstříku č. j.",
        };
        std::string doc = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                          "<d:root xmlns:d=\"http://www.example.cz/konverze\" verze=\"2.1\">\r\n";
        doc.reserve(kDocumentSize + 4096);
        for (unsigned i = 1; doc.size() < kDocumentSize; ++i) {
            const std::string n = std::to_string(i);
            doc += "  <d:zaznam id=\"" + n + "\" typ=\"" + (i % 3 ? "listinná" : "elektronická") +
                   "\" datum=\"2009-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10) + "\">\r\n";
            doc += "    <d:Poradove_cislo>" + n + "/2009</d:Poradove_cislo>\r\n";
            doc += "    <d:Oznaceni>" + std::string(designations[i % 4]) + " " + n + "</d:Oznaceni>\r\n";
            doc += "    <d:Pocet_stran>" + std::to_string(1 + i % 40) + "</d:Pocet_stran>\r\n";
            doc += "    <d:Overil jmeno=\"Mgr. Jan Novák\" cislo=\"" + std::to_string(100 + i % 7) + "\"/>\r\n";
            doc += "    <d:Poznamka>Ověřeno dne " + std::to_string(1 + i % 28) +
                   ". 3. 2009 &lt;bez výhrad&gt;</d:Poznamka>\r\n";
            doc += "  </d:zaznam>\r\n";
        }
        doc += "</d:root>\r\n";
        return doc;
    }();
    return text;
}

void SetBytes(benchmark::State& state)
{
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Document().size()));
}

void OurDocument(benchmark::State& state)
{
    xml::TxStringStream stream(Document());
    for (auto _ : state) {
        auto doc = std::make_unique<xml::TXmlDocument>(nullptr);
        stream.SetPosition(0);
        doc->LoadFromStream(stream);
        if (doc->RootElement() == nullptr || doc->RootElement()->ElementCount() < 1000)
            state.SkipWithError("the document was not read");
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    SetBytes(state);
}
BENCHMARK(OurDocument)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The parser alone: decoding and scanning from tag to tag, no tree.
void OurTokens(benchmark::State& state)
{
    xml::TxStringStream stream(Document());
    for (auto _ : state) {
        stream.SetPosition(0);
        xml::TxXmlParser parser(stream, xml::TxXmlParser::kDefaultChunkSize, nullptr);
        parser.DetectEncoding();
        std::size_t tokens = 0;
        while (!parser.EndOfStream()) {
            parser.ReadUntilChar('<');
            parser.Flush();
            ++tokens;
        }
        benchmark::DoNotOptimize(tokens);
    }
    SetBytes(state);
}
BENCHMARK(OurTokens)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void Pugixml(benchmark::State& state)
{
    const std::string& text = Document();
    for (auto _ : state) {
        auto doc = std::make_unique<pugi::xml_document>();
        const pugi::xml_parse_result result = doc->load_buffer(text.data(), text.size());
        if (!result)
            state.SkipWithError(result.description());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    SetBytes(state);
}
BENCHMARK(Pugixml)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void Libxml2(benchmark::State& state)
{
    const std::string& text = Document();
    for (auto _ : state) {
        xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), "bench.xml", nullptr,
                                      XML_PARSE_NONET | XML_PARSE_HUGE);
        if (doc == nullptr)
            state.SkipWithError("libxml2 could not parse the document");
        state.PauseTiming();
        xmlFreeDoc(doc);
        state.ResumeTiming();
    }
    SetBytes(state);
}
BENCHMARK(Libxml2)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The console report, then MB/s of each and our ratio to each other one.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end() && !run.error_occurred)
                rates_[run.benchmark_name()] = it->second.value / 1e6;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nDocument: %.1f MB\n", static_cast<double>(Document().size()) / 1e6);
        for (const auto& [name, rate] : rates_)
            std::printf("%-40s %8.1f MB/s\n", name.c_str(), rate);
        const auto ours = rates_.find(kOurs);
        if (ours == rates_.end())
            return;
        for (const auto& [name, rate] : rates_)
            if (name != kOurs && name.rfind("Our", 0) != 0 && rate > 0)
                std::printf("ours / %-33s %8.2f\n", name.c_str(), ours->second / rate);
    }

private:
    static constexpr const char* kOurs = "OurDocument/min_time:2.000";
    std::map<std::string, double> rates_;
};

} // namespace

int main(int argc, char** argv)
{
    xmlInitParser();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    xmlCleanupParser();
    return 0;
}
