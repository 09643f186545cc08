#pragma once
// A temporary data folder for benchmarks: a copy of the shipped konverze.mdb
// (found beside the benchmark program) holding one user and a register of
// conversions from 2008 on, about 40 a day. The folder goes with the object.

#include <filesystem>
#include <string>

namespace bench {

class TBenchRegister {
public:
    // rows conversions; every fifth one without the date the input was drawn up.
    TBenchRegister(const std::string& name, int rows);
    ~TBenchRegister();
    TBenchRegister(const TBenchRegister&) = delete;
    TBenchRegister& operator=(const TBenchRegister&) = delete;

    // The folder as the program addresses folders: ending with "/".
    std::string Folder() const { return folder_.string() + "/"; }
    std::string DatabaseFile() const { return (folder_ / "konverze.mdb").string(); }
    std::string ConnectionString() const;
    // Writes the settings file so that the program starts without the update check.
    void DisableStartupUpdateCheck() const;

    static constexpr const char* kUserName = "JUDr. Jana Nováková";
    static constexpr const char* kIssuingPerson = "Mgr. Petr Svoboda";

private:
    void Fill(int rows) const;

    std::filesystem::path folder_;
};

} // namespace bench
