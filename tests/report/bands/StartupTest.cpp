// Start-up of the report engine: classes by name, colour scheme, default unit,
// and the shutdown in reverse order.
#include "BandTestSupport.h"

#include "platform/core/ClassRegistry.h"
#include "platform/data/Query.h"
#include "report/bands/RpDesignColors.h"
#include "report/bands/RpStartup.h"
#include "report/layout/RpUnits.h"
#include "report/pages/RpPageSearch.h"

#include <gtest/gtest.h>

namespace report::testing {
namespace {

using Names = std::vector<std::string>;

TEST(Startup, StepsRunInOrderAndEndReversed)
{
    {
        TextSearchBusy = true;
        TRpEngineStartup startup({-1, "0"});
        EXPECT_FALSE(TextSearchBusy);
        EXPECT_EQ(TRpEngineStartup::Log(), (Names{"classes", "export constants", "report unit"}));
        ASSERT_NE(ExportFontList(), nullptr);
        EXPECT_EQ(ExportFontList()->Count(), 0);
        for (const std::string& name : ReportClassNames())
            EXPECT_TRUE(core::IsClassRegistered(name)) << name;
    }
    EXPECT_EQ(TRpEngineStartup::Log(), (Names{"classes", "export constants", "report unit", "report unit ends",
                                              "export constants end", "classes end"}));
    EXPECT_EQ(ExportFontList(), nullptr);
    EXPECT_FALSE(core::IsClassRegistered("TRpChildBand"));
    EXPECT_EQ(kRtfFontFamilies[1], "\\froman");
    EXPECT_EQ(kRtfFontFamilies[7], "\\fbidi");
}

TEST(Startup, ABandIsMadeByItsClassName)
{
    TRpEngineStartup startup({-1, "0"});
    EXPECT_EQ(ReportClassNames(), (Names{"TRpReport", "TRpBand", "TRpGroup", "TRpSubDetail", "TRpExpr", "TRpShape",
                                         "TTable", "TQuery", "TRpChildBand"}));
    ReportForm f;
    core::TComponent* band = core::CreateComponentOfClass("TRpChildBand", f.Form());
    ASSERT_NE(dynamic_cast<TRpChildBand*>(band), nullptr);
    EXPECT_EQ(band->Owner(), f.Form());
    EXPECT_NE(dynamic_cast<data::TQuery*>(core::CreateComponentOfClass("TQuery", f.Form())), nullptr);
    EXPECT_THROW(core::CreateComponentOfClass("TRpNothing", f.Form()), core::EClassNotFound);
    EXPECT_THROW(core::RegisterComponentClass<TRpBand>("TRpBand"), core::EFilerError);
}

TEST(Startup, ColourSchemeFollowsTheDisplaysColours)
{
    {
        TRpEngineStartup startup({256, "0"});
        EXPECT_EQ(DesignColors().GuidePenStyle, gfx::TPenStyle::psDash);
        EXPECT_EQ(DesignColors().GuideColor, gfx::RGBToColor(128, 128, 128));
        EXPECT_EQ(DesignColors().RulerMinorColor, gfx::RGBToColor(192, 192, 192));
    }
    {
        TRpEngineStartup startup({1LL << 24, "0"});
        EXPECT_EQ(DesignColors().GuidePenStyle, gfx::TPenStyle::psDot);
        EXPECT_EQ(DesignColors().GuideColor, gfx::RGBToColor(128, 128, 255));
        EXPECT_EQ(DesignColors().BandColor, gfx::RGBToColor(96, 96, 96));
    }
    TRpEngineStartup startup({-1, "0"});
    EXPECT_EQ(DesignColors().CaptionFontName, "Small Fonts");
    EXPECT_EQ(DesignColors().CaptionFontSize, 6);
}

TEST(Startup, AUSLocaleStartsNewReportsInInches)
{
    {
        TRpEngineStartup startup({-1, "1"});
        EXPECT_TRUE(UseUSUnits);
        ReportForm f;
        EXPECT_EQ(f.Report()->Units(), TRpUnit::Inches);
        EXPECT_EQ(f.Report()->Page().TopMargin(), 0.5L);
    }
    TRpEngineStartup startup({-1, "0"});
    EXPECT_FALSE(UseUSUnits);
    ReportForm f;
    EXPECT_EQ(f.Report()->Units(), TRpUnit::MM);
    EXPECT_EQ(f.Report()->Page().TopMargin(), 10);
}

} // namespace
} // namespace report::testing
