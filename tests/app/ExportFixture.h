#pragma once
// The register of known rows for the export tests: a user and a period of
// May 2010 with its borders, the TEMP folder of the test's own, and stand-in
// mail and open programs that record what they were given instead of
// bringing up the desktop's programs.

#include "RegisterFixture.h"

#include "app/ExportForm.h"
#include "tests/support/StandInTool.h"

#include <memory>
#include <optional>
#include <string>

namespace apptest {

// A UTF-8 text in Windows-1250, from a table of the letters the tests use
// (independent of the program's own code pages).
std::string Cp1250(const std::string& utf8);
// The whole content of a file; nullopt when it cannot be read.
std::optional<std::string> FileBytes(const std::string& fileName);

class ExportFixture : public RegisterFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // A register row with every value chosen; a negative input date stores NULL.
    void AddConversion(const std::string& serial, double converted, const std::string& designation,
                       double inputDate, bool waived, const std::string& receipt);
    // The period on the form's pickers.
    void SetPeriod(double start, double end);

    app::TExport_Form* Export() const { return app::Export_Form; }
    // The register's SQL lines joined, for comparisons.
    std::string RegisterSql() const;
    // Waits for the desktop's opener to be started and returns what it was
    // given (empty when it never ran); the next start is recorded afresh.
    std::vector<std::string> Opened();

    std::string temp_;  // the TEMP folder, ending with "/"
    std::string copies_;  // the program's own folder in it, for the copies it hands over
    std::unique_ptr<testsupport::StandInTool> mailer_;
    std::unique_ptr<testsupport::StandInTool> opener_;

private:
    std::optional<std::string> oldTemp_;
};

// The register of the export tests: the user JUDr. Jana Nováková (12345),
// rows on both sides of May 2010 and on its last day's borders.
class PeriodExport : public ExportFixture {
protected:
    void SetUp() override;
    // Rows 1/2010 to 4/2010 lie within 1.5.2010-31.5.2010, 0/2010 and 5/2010 outside.
    static double May1() { return core::EncodeDate(2010, 5, 1); }
    static double May31() { return core::EncodeDate(2010, 5, 31); }
};

} // namespace apptest
