#include "platform/shell/Process.h"
#include "platform/shell/Shell.h"
#include "tests/support/StandInTool.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace {

using testsupport::PathOverride;
using testsupport::StandInTool;
using testsupport::TempFolder;
using namespace std::chrono_literals;

TEST(ShellOpen, HandsAnExistingFileToTheOpenerByItsAbsolutePath) {
    StandInTool opener("xdg-open");
    TempFolder folder;
    const std::string file = folder.File("evidence_01.05.2010-31.05.2010.csv");
    std::ofstream(file) << "x";

    ASSERT_TRUE(shell::ShellExecute("open", file, shell::SW_SHOWNORMAL));
    const auto arguments = opener.Arguments();
    ASSERT_TRUE(arguments);
    EXPECT_EQ(*arguments, std::vector<std::string>{file});
}

TEST(ShellOpen, MakesARelativePathAbsoluteSoItIsNeverTakenForAnOption) {
    StandInTool opener("xdg-open");
    TempFolder folder;
    std::ofstream(folder.File("-v")) << "x";
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());

    const bool opened = shell::ShellOpen("-v");
    std::filesystem::current_path(cwd);
    ASSERT_TRUE(opened);
    const auto arguments = opener.Arguments();
    ASSERT_TRUE(arguments);
    EXPECT_EQ(*arguments, std::vector<std::string>{folder.File("-v")});
}

TEST(ShellOpen, OpensFoldersWebPagesAndMailtoLinks) {
    TempFolder folder;
    for (const std::string& target : {folder.Path().string() + "/", std::string("https://www.example.cz/stazeni.php"),
                                     std::string("mailto:autor@example.cz")}) {
        StandInTool opener("xdg-open");
        ASSERT_TRUE(shell::ShellExecute("", target)) << target;
        const auto arguments = opener.Arguments();
        ASSERT_TRUE(arguments) << target;
        EXPECT_EQ(*arguments, std::vector<std::string>{target});
    }
}

TEST(ShellOpen, FailsWithoutStartingAnythingForAMissingFileOrAnotherVerb) {
    StandInTool opener("xdg-open");
    TempFolder folder;
    std::ofstream(folder.File("a.xls")) << "x";

    EXPECT_FALSE(shell::ShellOpen(folder.File("missing.xls")));
    EXPECT_FALSE(shell::ShellOpen(""));
    EXPECT_FALSE(shell::ShellExecute("print", folder.File("a.xls")));
    EXPECT_FALSE(shell::ShellExecute("edit", "https://www.example.cz/"));
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(opener.Ran());
}

TEST(ShellOpen, FailsWhenNoOpenerIsOnThePath) {
    TempFolder empty;
    PathOverride path(empty.Path().string());
    EXPECT_FALSE(shell::ShellOpen("https://www.example.cz/"));
}

TEST(ShellOpen, TellsUrlsFromPaths) {
    EXPECT_TRUE(shell::IsUrl("https://www.example.cz/"));
    EXPECT_TRUE(shell::IsUrl("mailto:autor@example.cz"));
    EXPECT_TRUE(shell::IsUrl("file:///tmp/a.xls"));
    EXPECT_TRUE(shell::IsUrl("svn+ssh://host/x"));
    EXPECT_FALSE(shell::IsUrl("/tmp/a:b.xls"));
    EXPECT_FALSE(shell::IsUrl("C:\\export.xls"));
    EXPECT_FALSE(shell::IsUrl("a.xls"));
    EXPECT_FALSE(shell::IsUrl("-x:y"));
    EXPECT_FALSE(shell::IsUrl("1http://x"));
    EXPECT_FALSE(shell::IsUrl("my file:x"));
}

TEST(RunProcess, GivesTheExitStatusOrMinusOneWhenTheProgramIsMissing) {
    EXPECT_EQ(shell::RunProcess({"sh", "-c", "exit 0"}), 0);
    EXPECT_EQ(shell::RunProcess({"sh", "-c", "exit 3"}), 3);
    EXPECT_EQ(shell::RunProcess({"sh", "-c", "kill -TERM $$"}), 128 + 15);
    EXPECT_EQ(shell::RunProcess({"konverze-no-such-program"}), -1);
    EXPECT_EQ(shell::RunProcess({}), -1);
    EXPECT_FALSE(shell::StartDetached({"konverze-no-such-program"}));
}

} // namespace
