// The export filter interface: what a filter does by default, and that the
// report's calls reach a filter's own operations through the base.
#include "report/printer/RpExportFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace report;

namespace {

class RecordingFilter : public TRpExportFilter {
public:
    using TRpExportFilter::TRpExportFilter;

    bool ExportSpaceQuery() override { return true; }
    void ExportStart(std::int32_t pageWidth, std::int32_t pageLength, const ui::TFont& font) override
    {
        TRpExportFilter::ExportStart(pageWidth, pageLength, font);
        calls.push_back("start " + std::to_string(pageWidth) + "x" + std::to_string(pageLength) + " " +
                        font.Name());
    }
    void ExportNewPage() override { calls.push_back("new page"); }
    void ExportEndPage() override { calls.push_back("end page"); }
    void ExportFinish() override { calls.push_back("finish"); }
    void ExportText(const ui::TFont&, gfx::TColor color, long double x, long double y, ui::TAlignment alignment,
                    const std::string& text) override
    {
        calls.push_back("text " + text + " " + std::to_string(color) + " " + std::to_string(static_cast<int>(x)) +
                        "," + std::to_string(static_cast<int>(y)) + " " +
                        std::to_string(static_cast<int>(alignment)));
    }

    std::vector<std::string> calls;
};

} // namespace

TEST(ExportFilterTest, TheBaseFilterDoesNothingButStart)
{
    TRpExportFilter filter("/tmp/out.any");
    EXPECT_EQ(filter.FileName(), "/tmp/out.any");
    EXPECT_FALSE(filter.Started());
    EXPECT_FALSE(filter.ExportSpaceQuery());
    ui::TFont font;
    filter.ExportNewPage();
    filter.ExportEndPage();
    filter.ExportText(font, gfx::clBlack, 1, 2, ui::TAlignment::taCenter, "x");
    EXPECT_FALSE(filter.Started());
    filter.ExportStart(2100, 2970, font);
    EXPECT_TRUE(filter.Started());
    filter.ExportFinish();
    EXPECT_TRUE(filter.Started());
}

TEST(ExportFilterTest, CallsReachTheFiltersOwnOperations)
{
    RecordingFilter recording("report.out");
    TRpExportFilter& filter = recording;
    ui::TFont font;
    font.SetName("Arial");
    EXPECT_TRUE(filter.ExportSpaceQuery());
    filter.ExportStart(2100, 2970, font);
    filter.ExportNewPage();
    filter.ExportText(font, gfx::clRed, 12.6L, 40, ui::TAlignment::taRightJustify, "Součet");
    filter.ExportEndPage();
    filter.ExportFinish();
    EXPECT_TRUE(filter.Started());
    EXPECT_EQ(recording.calls, (std::vector<std::string>{"start 2100x2970 Arial", "new page",
                                                         "text Součet 255 12,40 1", "end page", "finish"}));
}
