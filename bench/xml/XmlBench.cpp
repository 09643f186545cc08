// Speed of the XML library's foundations: interning, line-end folding, code
// page and UTF-16 conversion, escaping.

#include "xml/Conversions.h"
#include "xml/FastStreams.h"
#include "xml/SymbolTable.h"
#include "xml/TextRoutines.h"
#include "xml/XmlDocument.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

using namespace xml;

namespace {

std::string SampleText(std::size_t size)
{
    const std::string line = "<D:Oznaceni_Vstupu typ=\"listina\">Příliš žluťoučký kůň úpěl ďábelské ódy</D:Oznaceni_Vstupu>\r\n";
    std::string text;
    while (text.size() < size)
        text += line;
    return text;
}

void InternNames(benchmark::State& state)
{
    std::vector<std::string> names;
    for (int i = 0; i < 100000; ++i)
        names.push_back("element" + std::to_string(i % 5000) + (i % 3 ? "" : "_value_" + std::to_string(i)));
    for (auto _ : state) {
        TxSymbolTable table(nullptr);
        for (const std::string& name : names)
            benchmark::DoNotOptimize(table.Intern(name));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(names.size()));
}
BENCHMARK(InternNames);

void CopyFoldingLineEnds(benchmark::State& state)
{
    const std::string text = SampleText(1 << 20);
    std::string out(text.size(), '\0');
    for (auto _ : state) {
        bool folding = false;
        benchmark::DoNotOptimize(Utf8CopyBuffer(text.data(), out.data(), text.size(), folding));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(CopyFoldingLineEnds);

void Utf8ToUtf16(benchmark::State& state)
{
    const std::string text = SampleText(1 << 20);
    std::u16string out(text.size(), u'\0');
    for (auto _ : state)
        benchmark::DoNotOptimize(Utf8ToUtf16Buffer(text.data(), out.data(), text.size()));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(Utf8ToUtf16);

void Utf8ToWindows1250(benchmark::State& state)
{
    const std::string text = SampleText(1 << 20);
    std::string out(text.size(), '\0');
    for (auto _ : state) {
        bool substitution = false;
        benchmark::DoNotOptimize(Utf8ToAnsiBuffer(text.data(), out.data(), 1250, substitution, text.size()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(Utf8ToWindows1250);

void EscapeAndUnescape(benchmark::State& state)
{
    const std::string text = SampleText(1 << 16);
    for (auto _ : state)
        benchmark::DoNotOptimize(UnescapeText(EscapeText(text)));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(EscapeAndUnescape);

void BufferedWriting(benchmark::State& state)
{
    const std::string piece = "<element attribute=\"value\">";
    for (auto _ : state) {
        TxFastMemStream target(1 << 20);
        {
            TxBufferWriter writer(target, 65536);
            for (int i = 0; i < 100000; ++i)
                writer.Write(piece.data(), static_cast<std::int64_t>(piece.size()));
        }
        benchmark::DoNotOptimize(target.Memory());
    }
    state.SetBytesProcessed(state.iterations() * 100000 * static_cast<std::int64_t>(piece.size()));
}
BENCHMARK(BufferedWriting);

// A register-like document: 20 000 records of five fields with Czech text.
std::unique_ptr<TXmlDocument> Register()
{
    auto doc = std::make_unique<TXmlDocument>(nullptr, true, false, true, "Konverze");
    TxElement* root = doc->RootElement();
    for (int i = 0; i < 20000; ++i) {
        TXmlNode* record = root->ChildAdd("Zaznam");
        record->PutAttrInt("cislo", i);
        record->PutChildString("Oznaceni", "Výpis z katastru nemovitostí č. " + std::to_string(i));
        record->PutChildInt("Stran", i % 17 + 1);
        record->PutChildString("Vydal", "Mgr. Jana Nováková, advokátka");
        record->PutChildString("Poznamka", "a < b & \"c\"");
        record->PutChildFloat("Cena", 30.5 * (i % 9));
    }
    return doc;
}

void BuildDocument(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Register());
    state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BuildDocument)->Unit(benchmark::kMillisecond);

void WriteDocument(benchmark::State& state)
{
    const auto doc = Register();
    doc->SetLayout(static_cast<TxXmlLayout>(state.range(0)));
    doc->SetTextEncoding(static_cast<TxTextEncoding>(state.range(1)));
    doc->SetTextCodePage(1250);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = doc->WriteToText();
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
// Readable UTF-8, compact UTF-8, readable Windows-1250, readable UTF-16.
BENCHMARK(WriteDocument)->Args({1, 1})->Args({0, 1})->Args({1, 0})->Args({1, 3})->Unit(benchmark::kMillisecond);

void FreeDeepTree(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<TXmlDocument>(nullptr, false, false, true, "n");
        TXmlNode* node = doc->RootElement();
        for (int i = 0; i < 100000; ++i)
            node = node->ChildAdd("n");
        state.ResumeTiming();
        doc.reset();
    }
}
BENCHMARK(FreeDeepTree)->Unit(benchmark::kMillisecond);

} // namespace

// Loading with RepairStructure: a wide document whose elements are all closed,
// and one whose last element is never closed, so that the repair pass walks
// the whole tree and moves content. Both must stay linear in the node count.
void LoadWithRepair(benchmark::State& state)
{
    const bool unclosed = state.range(1) != 0;
    std::string text = "<r>";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        text += "<a k=\"v\">x</a>";
    text += unclosed ? "<b><c>t</r>" : "</r>";
    TXmlDocument doc(nullptr);
    doc.SetRepairStructure(true);
    for (auto _ : state)
        doc.LoadFromText(text);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(LoadWithRepair)->Args({10000, 0})->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);
