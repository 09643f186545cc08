// The copies an export hands to the mail client and the spreadsheet program
// are removed at the next start once a day old; no other file is.

#include "ExportFixture.h"

#include "app/Startup.h"
#include "platform/core/Files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>

using namespace apptest;
using ExportCopies = PeriodExport;

TEST_F(ExportCopies, CopiesADayOldGoAtTheNextStartAndNothingElseDoes)
{
    // A workbook saved where the user named it, mailed and opened; a text
    // export to its default target in TEMP, mailed and opened.
    Export()->CheckBox2->SetChecked(true);
    Export()->CheckBox1->SetChecked(true);
    Export()->Edit1->SetText(folder_ + "vypis");
    Export()->Button2Click(nullptr);
    const std::vector<std::string> opened = Opened();
    ASSERT_EQ(opened.size(), 1u);
    Export()->Edit1->SetText("");
    Export()->Button5Click(nullptr);
    ASSERT_TRUE(Messages().empty()) << dialogs_.Describe();
    EXPECT_EQ(std::filesystem::status(copies_).permissions(), std::filesystem::perms::owner_all);

    const struct {
        std::string file;
        int hours;
        bool kept;
    } entries[]{
        {opened[0], 25, false},  // the workbook the spreadsheet program opened
        {copies_ + "evidence_01_05_2010-31_05_2010.xls", 25, false},  // mailed
        {copies_ + "evidence_01_05_2010-31_05_2010.csv", 25, false},  // mailed and opened
        {copies_ + "Sešit1-Zz99Yy.xls", 23, true},                    // not a day old yet
        {folder_ + "vypis.xls", 25, true},                            // the targets
        {temp_ + "evidence_01.05.2010-31.05.2010.csv", 25, true},
        {temp_ + "evidence_01_05_2010-31_05_2010.xls", 25, true},  // other programs' files
        {temp_ + "Sešit1-Ab12Cd.xls", 25, true},
        {copies_ + "můj výpis.xls", 25, true},      // saved there under a name of the user's
        {copies_ + "Sešit2-Ln1234.xls", 25, true},  // a link, whatever its name
    };
    std::filesystem::create_symlink(folder_ + "vypis.xls", copies_ + "Sešit2-Ln1234.xls");
    for (const auto& entry : entries) {
        if (!std::filesystem::exists(std::filesystem::symlink_status(entry.file)))
            std::ofstream(entry.file) << "x";
        const timespec back{std::time(nullptr) - entry.hours * 3600, 0};
        const timespec times[2]{back, back};
        ASSERT_EQ(utimensat(AT_FDCWD, entry.file.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << entry.file;
    }

    // The program ends and starts again.
    FreeForms();
    app::CreateForms();
    for (const auto& entry : entries)
        EXPECT_EQ(std::filesystem::exists(std::filesystem::symlink_status(entry.file)), entry.kept) << entry.file;
}
