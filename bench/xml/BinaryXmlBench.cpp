// Speed of the binary form: saving and loading a register-like document of
// 100 000 records (names shared, values mostly unique).

#include "xml/FastStreams.h"
#include "xml/XmlDocument.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace xml;

namespace {

constexpr int kRecords = 100000;

void BuildRegister(TXmlDocument& doc)
{
    doc.ResetContent(true, false, true);
    TxElement* root = doc.RootElement();
    root->SetName("Evidence");
    for (int i = 0; i < kRecords; ++i) {
        TXmlNode* record = root->ChildAdd("Konverze");
        record->AttributeAddNamed("cislo", std::to_string(100000 + i) + "/2024");
        record->AttributeAddNamed("typ", i % 3 ? "listinná" : "elektronická");
        record->ChildAdd("Oznaceni")->SetValue("Příliš žluťoučký kůň úpěl ďábelské ódy č. " + std::to_string(i));
        record->ChildAdd("Pocet")->SetValue(std::to_string(i % 17 + 1));
    }
}

std::string SavedForm(TXmlDocument& doc)
{
    TxStringStream out;
    doc.SaveBinaryStream(out);
    return out.AsString();
}

void SaveBinary(benchmark::State& state)
{
    TXmlDocument doc(nullptr);
    BuildRegister(doc);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        TxFastMemStream out(1 << 20);
        doc.SaveBinaryStream(out);
        bytes = out.SizeInUse();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["form_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(SaveBinary)->Unit(benchmark::kMillisecond);

void LoadBinary(benchmark::State& state)
{
    TXmlDocument source(nullptr);
    BuildRegister(source);
    const std::string form = SavedForm(source);
    TXmlDocument doc(nullptr);
    for (auto _ : state) {
        TxStringStream in(form);
        doc.LoadBinaryStream(in);
        benchmark::DoNotOptimize(doc.TopNodeCount());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(form.size()));
}
BENCHMARK(LoadBinary)->Unit(benchmark::kMillisecond);

// The text form of the same document, for comparison.
void WriteText(benchmark::State& state)
{
    TXmlDocument doc(nullptr);
    BuildRegister(doc);
    std::size_t size = 0;
    for (auto _ : state)
        size = doc.WriteToUtf8Text().size();
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
    state.counters["text_bytes"] = static_cast<double>(size);
}
BENCHMARK(WriteText)->Unit(benchmark::kMillisecond);

} // namespace
