// The report engine's per-page and per-record work: coding and decoding a
// page with the adaptive coder, storing and reading pages through the page
// list, and evaluating expressions once per record.

#include "platform/core/Component.h"
#include "platform/core/Streams.h"
#include "platform/data/ADOConnection.h"
#include "platform/data/ADOQuery.h"
#include "report/expr/RpEnvironment.h"
#include "report/expr/RpExpr.h"
#include "report/pages/RpCompress.h"
#include "report/pages/RpPageList.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

using namespace report;

namespace {

// Bytes like a recorded page: runs of fixed-layout records (small integers,
// many zeros) with text in between.
std::string PageLikeBytes(std::size_t size)
{
    std::mt19937 gen(42);
    std::string out;
    out.reserve(size);
    const std::string words[] = {"Rozsudek ", "Smlouva ", "Plná moc ", "Usnesení ", "2024 ", "č.j. "};
    while (out.size() < size) {
        for (int i = 0; i < 4; ++i) {
            const auto v = static_cast<std::uint32_t>(gen() % 4096);
            out.append(reinterpret_cast<const char*>(&v), 4);
        }
        out.append(8, '\0');
        out += words[gen() % 6];
    }
    out.resize(size);
    return out;
}

void BM_CompressPage(benchmark::State& state)
{
    const std::string page = PageLikeBytes(static_cast<std::size_t>(state.range(0)));
    std::size_t coded = 0;
    for (auto _ : state) {
        const std::string code = CompressBuffer(page);
        coded = code.size();
        benchmark::DoNotOptimize(code.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    state.counters["ratio"] = static_cast<double>(coded) / static_cast<double>(page.size());
}
BENCHMARK(BM_CompressPage)->Arg(64 << 10)->Arg(1 << 20);

void BM_ExpandPage(benchmark::State& state)
{
    const std::string page = PageLikeBytes(static_cast<std::size_t>(state.range(0)));
    const std::string code = CompressBuffer(page);
    for (auto _ : state) {
        const std::string back = ExpandBuffer(code, page.size());
        benchmark::DoNotOptimize(back.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ExpandPage)->Arg(64 << 10)->Arg(1 << 20);

// A 100-page report of 64 KiB pages, compressed, with every page read back.
void BM_PageListRun(benchmark::State& state)
{
    const std::string page = PageLikeBytes(64 << 10);
    for (auto _ : state) {
        TRpStream stream(250000);
        TRpPageList list;
        list.SetStream(&stream);
        list.SetCompression(state.range(0) != 0);
        for (int p = 0; p < 100; ++p)
            list.AddPage(page);
        list.Finish();
        for (int p = 1; p <= 100; ++p)
            benchmark::DoNotOptimize(list.GetPage(p));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 100 * (64 << 10));
}
BENCHMARK(BM_PageListRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Expressions a register report would print per record, with the record's
// values put into variables in place, as controllers publish theirs.
void BM_EvaluatePerRecord(benchmark::State& state)
{
    TRpEvEnvironment env;
    env.DefineVariable("QTY", "0");
    env.DefineVariable("AMOUNT", "0.0");
    env.DefineVariable("NAME", "''");
    env.PrepareEnvironment();
    TRpEvaluator label;
    label.SetLocalScope(&env);
    label.Parse("IF(QTY > 2, 'Velká', 'Malá') + ' ' + UPPER(NAME) + ': ' + STR(AMOUNT * 1.21)");
    TRpEvaluator total;
    total.SetLocalScope(&env);
    total.Parse("SUM(AMOUNT) / COUNT");
    total.ResetAggregates();
    TRpEvElement* qty = env.ConstantElement("QTY");
    TRpEvElement* amount = env.ConstantElement("AMOUNT");
    TRpEvElement* name = env.ConstantElement("NAME");
    std::int32_t record = 0;
    for (auto _ : state) {
        ++record;
        TRpEvEnvironment::PutIntegerConstant(qty, record % 5);
        TRpEvEnvironment::PutConstantValue(amount, TRpEvValue::Float(record * 0.5));
        TRpEvEnvironment::PutTextConstant(name, record % 2 ? "Nováková" : "Svoboda");
        benchmark::DoNotOptimize(label.Evaluate());
        total.AggregateStep();
        benchmark::DoNotOptimize(total.Evaluate());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    label.Release();
    total.Release();
    env.ReleaseEnvironment();
}
BENCHMARK(BM_EvaluatePerRecord);

// The same over the fields of a query of 10 000 rows, moving the cursor.
void BM_EvaluateFieldsPerRecord(benchmark::State& state)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("konverze-report-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string file = (folder / "bench.mdb").string();
    core::WriteFileBytes(file, "");
    {
        core::TComponent owner(nullptr);
        auto* connection = new data::TADOConnection(&owner);
        connection->SetConnectionString(std::string("Provider=") + data::TADOConnection::kProvider +
                                        ";Data Source=" + file);
        connection->Open();
        connection->Execute("CREATE TABLE orders (QTY INTEGER, AMOUNT REAL, NAME TEXT)");
        connection->Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000) "
                            "INSERT INTO orders SELECT i % 5, i * 0.5, 'Jméno ' || i FROM n");
        auto* query = new data::TADOQuery(&owner);
        query->SetName("ORDERS");
        query->SetConnection(connection);
        query->SQL()->Add("SELECT * FROM orders");
        query->Open();
        TRpDataSetList list = {query};
        TRpEvaluator label;
        label.AssignDataSets(&list);
        label.Parse("IF(QTY > 2, 'Velká', 'Malá') + ' ' + UPPER(NAME) + ': ' + STR([ORDERS.AMOUNT] * 1.21)");
        for (auto _ : state) {
            benchmark::DoNotOptimize(label.Evaluate());
            query->Next();
            if (query->Eof())
                query->First();
        }
        state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
        label.Release();
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}
BENCHMARK(BM_EvaluateFieldsPerRecord);

} // namespace
