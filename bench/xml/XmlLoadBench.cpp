// Loading and saving two generated 50 MB documents with our library and, as
// comparison points, pugixml's DOM and libxml2's tree, in one run.
//
// Every measurement runs in a process of its own (this program started again
// with --case=...): a parser that runs right after another one has freed its
// tree would pay that tree's page faults. In the child the first load in the
// fresh process is timed alone, together with the memory it took (the growth
// of the resident set) and the time to free that tree; then Google Benchmark
// times five more loads (or saves) in processor time and reports the median.
// The parent prints MB/s, the ratios, the tree's memory and the first load.
//
// A save writes the loaded document to memory with each library's default
// settings: ours as it was read (whitespace kept, the document's line breaks,
// which are CR LF unless set otherwise, UTF-8) into a memory stream whose
// block stays between saves; pugixml indented by tabs with LF, without the
// comments and blank texts its default parse leaves out, escaping texts on
// the way (they are kept unescaped); libxml2 as it was read. MB/s counts the
// document's size for all three; the bytes each one wrote are printed beside.
//
//   xml_load_bench                      every case on both documents
//   xml_load_bench --documents=catalog  one document (register, catalog)

#include "bench/xml/BenchDocuments.h"

#include "xml/FastStreams.h"
#include "xml/XmlDocument.h"

#include "platform/core/Streams.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <pugixml.hpp>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Resident bytes of this process.
std::int64_t ResidentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// One parser with its tree: load from memory or a file, free, save to memory.
class Subject {
public:
    virtual ~Subject() = default;
    // Untimed set-up before the first load.
    virtual void Prepare(const std::string&) {}
    virtual void Load(const std::string& text) = 0;
    virtual void LoadFile(const std::string& path) { Load(core::ReadFileBytes(path)); }
    virtual void Free() = 0;
    // The whole document as text; the size written.
    virtual std::size_t Save() = 0;
    virtual bool Loaded() const = 0;
};

class Ours : public Subject {
public:
    // The bytes in a stream of ours, so that the load reads them from memory.
    void Prepare(const std::string& text) override { stream_ = std::make_unique<xml::TxStringStream>(text); }
    void Load(const std::string&) override
    {
        stream_->SetPosition(0);
        doc_ = std::make_unique<xml::TXmlDocument>(nullptr);
        doc_->LoadFromStream(*stream_);
    }
    void LoadFile(const std::string& path) override
    {
        doc_ = std::make_unique<xml::TXmlDocument>(nullptr);
        doc_->LoadFromFile(path);
    }
    void Free() override { doc_.reset(); }
    std::size_t Save() override
    {
        out_.SetSize(0); // the block stays: every save writes to memory already mapped
        doc_->SaveToStream(out_);
        return static_cast<std::size_t>(out_.Size());
    }
    bool Loaded() const override { return doc_ != nullptr && doc_->RootElement() != nullptr && doc_->RootElement()->ElementCount() > 1000; }

private:
    std::unique_ptr<xml::TxStringStream> stream_;
    std::unique_ptr<xml::TXmlDocument> doc_;
    xml::TxFastMemStream out_;
};

class Pugi : public Subject {
public:
    void Load(const std::string& text) override
    {
        doc_ = std::make_unique<pugi::xml_document>();
        ok_ = static_cast<bool>(doc_->load_buffer(text.data(), text.size()));
    }
    void Free() override { doc_.reset(); }
    std::size_t Save() override
    {
        out_.text.clear(); // the capacity stays
        doc_->save(out_);
        return out_.text.size();
    }
    bool Loaded() const override { return ok_ && doc_->document_element(); }

private:
    struct Collect : pugi::xml_writer {
        std::string text;
        void write(const void* data, std::size_t size) override { text.append(static_cast<const char*>(data), size); }
    };
    std::unique_ptr<pugi::xml_document> doc_;
    Collect out_;
    bool ok_ = false;
};

class Libxml2 : public Subject {
public:
    ~Libxml2() override { Free(); }
    void Load(const std::string& text) override
    {
        doc_ = xmlReadMemory(text.data(), static_cast<int>(text.size()), "bench.xml", nullptr,
                             XML_PARSE_NONET | XML_PARSE_HUGE);
    }
    void Free() override
    {
        if (doc_ != nullptr)
            xmlFreeDoc(doc_);
        doc_ = nullptr;
    }
    std::size_t Save() override
    {
        out_.clear(); // the capacity stays
        xmlSaveCtxtPtr save = xmlSaveToIO(&Append, nullptr, &out_, nullptr, 0);
        xmlSaveDoc(save, doc_);
        xmlSaveClose(save);
        return out_.size();
    }
    bool Loaded() const override { return doc_ != nullptr && xmlDocGetRootElement(doc_) != nullptr; }

private:
    static int Append(void* context, const char* buffer, int length)
    {
        static_cast<std::string*>(context)->append(buffer, static_cast<std::size_t>(length));
        return length;
    }

    xmlDocPtr doc_ = nullptr;
    std::string out_;
};

std::unique_ptr<Subject> MakeSubject(const std::string& parser)
{
    if (parser == "ours")
        return std::make_unique<Ours>();
    if (parser == "pugixml")
        return std::make_unique<Pugi>();
    return std::make_unique<Libxml2>();
}

// --- the child: one parser, one document, one operation ---------------------------------

struct Medians {
    double seconds = 0;     // processor time of the operation
    double freeSeconds = 0; // of freeing the tree after a load
};

class MedianReporter : public benchmark::BenchmarkReporter {
public:
    explicit MedianReporter(Medians& medians) : medians_(medians) {}
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median")
                continue;
            medians_.seconds = run.GetAdjustedCPUTime() / 1e3; // reported in ms
            const auto it = run.counters.find("free_s");
            if (it != run.counters.end())
                medians_.freeSeconds = it->second.value;
        }
    }

private:
    Medians& medians_;
};

int RunChild(const std::string& parser, const std::string& operation, const std::string& path)
{
    // Memory freed after a load stays with the process, as it would for a
    // program that loads again: the loads after the first one are then timed
    // without the page faults of a fresh heap, for every parser alike.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
    const std::string text = core::ReadFileBytes(path);
    std::unique_ptr<Subject> subject = MakeSubject(parser);
    const bool fromFile = operation == "file";
    if (!fromFile)
        subject->Prepare(text);

    // The first load in this fresh process, which also warms up the next ones.
    const std::int64_t residentBefore = ResidentBytes();
    double start = CpuSeconds();
    fromFile ? subject->LoadFile(path) : subject->Load(text);
    const double firstLoad = CpuSeconds() - start;
    const std::int64_t treeBytes = ResidentBytes() - residentBefore;
    if (!subject->Loaded()) {
        std::fprintf(stderr, "%s could not load %s\n", parser.c_str(), path.c_str());
        return 1;
    }
    double firstFree = 0;
    if (operation != "save") {
        start = CpuSeconds();
        subject->Free();
        firstFree = CpuSeconds() - start;
    }

    long long savedBytes = 0; // what a save wrote: the parsers keep and write different things
    benchmark::RegisterBenchmark(operation.c_str(), [&](benchmark::State& state) {
        double freeing = 0;
        for (auto _ : state) {
            if (operation == "save") {
                savedBytes = static_cast<long long>(subject->Save());
                benchmark::DoNotOptimize(savedBytes);
                continue;
            }
            fromFile ? subject->LoadFile(path) : subject->Load(text);
            state.PauseTiming();
            const double freeStart = CpuSeconds();
            subject->Free();
            freeing += CpuSeconds() - freeStart;
            state.ResumeTiming();
        }
        state.counters["free_s"] = freeing / static_cast<double>(state.iterations());
    })
        ->Iterations(1)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true)
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMillisecond);
    Medians medians;
    MedianReporter reporter(medians);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("RESULT %.6f %.6f %.6f %.6f %lld %lld\n", medians.seconds, medians.freeSeconds, firstLoad, firstFree,
                static_cast<long long>(treeBytes), savedBytes);
    return 0;
}

// --- the parent: every case, each in its own process --------------------------------------

struct Result {
    double seconds = 0, freeSeconds = 0, firstLoad = 0, firstFree = 0;
    long long treeBytes = 0;
    long long savedBytes = 0;
    bool ok = false;
};

Result RunCase(const std::string& self, const std::string& parser, const std::string& operation,
               const std::string& path)
{
    const std::string command =
        "'" + self + "' --case=" + parser + ":" + operation + " --document='" + path + "' 2>&1";
    Result result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        if (std::sscanf(line, "RESULT %lf %lf %lf %lf %lld %lld", &result.seconds, &result.freeSeconds, &result.firstLoad,
                        &result.firstFree, &result.treeBytes, &result.savedBytes) == 6)
            result.ok = true;
        else
            std::fputs(line, stderr);
    }
    result.ok = pclose(pipe) == 0 && result.ok;
    return result;
}

void Report(const std::string& name, const std::string& self, const std::string& path, double megabytes)
{
    std::printf("\n%s: %.1f MB\n", name.c_str(), megabytes);
    std::printf("%-16s %10s %12s %12s %12s %10s\n", "", "MB/s", "first load", "tree MB", "tree/doc", "free/load");
    std::map<std::string, Result> loads;
    for (const auto& [parser, operation] : std::vector<std::pair<std::string, std::string>>{
             {"ours", "load"}, {"ours", "file"}, {"pugixml", "load"}, {"libxml2", "load"}}) {
        const Result r = RunCase(self, parser, operation, path);
        const std::string label = parser + (operation == "file" ? " (file)" : "");
        loads[label] = r;
        if (!r.ok) {
            std::printf("%-16s failed\n", label.c_str());
            continue;
        }
        std::printf("%-16s %10.1f %9.1f ms %12.1f %12.2f %10.2f\n", label.c_str(), megabytes / r.seconds,
                    r.firstLoad * 1e3, static_cast<double>(r.treeBytes) / 1e6,
                    static_cast<double>(r.treeBytes) / (megabytes * 1e6), r.freeSeconds / r.seconds);
    }
    const auto ratio = [&](const std::string& a, const std::string& b) {
        return loads[a].ok && loads[b].ok ? loads[b].seconds / loads[a].seconds : 0.0;
    };
    std::printf("load  ours / libxml2 %6.2f   ours / pugixml %6.2f   file time / memory time %6.2f\n",
                ratio("ours", "libxml2"), ratio("ours", "pugixml"),
                loads["ours (file)"].ok ? loads["ours (file)"].seconds / loads["ours"].seconds : 0.0);

    std::map<std::string, Result> saves;
    std::printf("save ");
    for (const std::string parser : {"ours", "pugixml", "libxml2"}) {
        saves[parser] = RunCase(self, parser, "save", path);
        std::printf(" %s %.1f MB/s (%.1f MB written) ", parser.c_str(),
                    saves[parser].ok ? megabytes / saves[parser].seconds : 0.0,
                    static_cast<double>(saves[parser].savedBytes) / 1e6);
    }
    const auto saveRatio = [&](const std::string& b) {
        return saves["ours"].ok && saves[b].ok ? saves[b].seconds / saves["ours"].seconds : 0.0;
    };
    std::printf("\nsave  ours / pugixml %6.2f   ours / libxml2 %6.2f\n", saveRatio("pugixml"), saveRatio("libxml2"));
}

std::string Argument(int argc, char** argv, const std::string& name)
{
    const std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0)
            return argv[i] + prefix.size();
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    xmlInitParser();
    const std::string child = Argument(argc, argv, "case");
    if (!child.empty()) {
        int benchArgc = 1;
        benchmark::Initialize(&benchArgc, argv);
        const auto colon = child.find(':');
        const int rc = RunChild(child.substr(0, colon), child.substr(colon + 1), Argument(argc, argv, "document"));
        xmlCleanupParser();
        return rc;
    }

    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return 1;
    std::string only = Argument(argc, argv, "documents");
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("xml_load_bench." + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    for (const auto& [name, make] : std::vector<std::pair<std::string, std::string (*)(std::size_t)>>{
             {"register", &xmlbench::RegisterDocument}, {"catalog", &xmlbench::CatalogDocument}}) {
        if (!only.empty() && only != name)
            continue;
        const std::string text = make(xmlbench::kDocumentSize);
        const std::string path = (folder / (name + ".xml")).string();
        core::WriteFileBytes(path, text);
        Report(name + (name == "register" ? " (CR LF)" : " (LF)"), self, path, static_cast<double>(text.size()) / 1e6);
    }
    std::filesystem::remove_all(folder);
    xmlCleanupParser();
    return 0;
}
