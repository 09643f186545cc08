#include "platform/core/FloatControl.h"
#include "platform/core/Ole.h"
#include "platform/core/SystemInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <cmath>
#include <optional>

using namespace core;

namespace {

TEST(FloatControlTest, MaskAndRestore)
{
    const auto start = TFloatEnvironment::Current();
    UnmaskFloatExceptions(FE_DIVBYZERO | FE_INVALID);
    EXPECT_EQ(TrappingFloatExceptions(), FE_DIVBYZERO | FE_INVALID);
    const auto trapping = TFloatEnvironment::Current();

    MaskFloatExceptions();
    EXPECT_EQ(TrappingFloatExceptions(), 0);
    volatile double zero = 0.0;
    EXPECT_TRUE(std::isinf(1.0 / zero)); // would trap if unmasked

    trapping.Apply();
    EXPECT_EQ(TrappingFloatExceptions(), FE_DIVBYZERO | FE_INVALID);
    start.Apply();
    EXPECT_EQ(TrappingFloatExceptions(), 0);
}

TEST(OleTest, InitialisationIsCountedPerThread)
{
    const int before = OleInitCount();
    ASSERT_EQ(before, 0);
    EXPECT_EQ(OleInitialize(), S_OK);
    EXPECT_EQ(OleInitialize(), S_FALSE);
    std::thread([] { EXPECT_EQ(OleInitialize(), S_OK); OleUninitialize(); }).join();
    EXPECT_EQ(OleInitCount(), 2);
    OleUninitialize();
    OleUninitialize();
    OleUninitialize(); // unpaired: ignored
    EXPECT_EQ(OleInitCount(), 0);
    EXPECT_EQ(OleInitialize(), S_OK);
    OleUninitialize();
    EXPECT_TRUE(Failed(E_FAIL));
    EXPECT_TRUE(Succeeded(S_FALSE));
    EXPECT_EQ(static_cast<std::uint32_t>(E_NOTIMPL), 0x80004001u);
}

TEST(SystemInfoTest, VersionTestsCompareFieldByField)
{
    EXPECT_TRUE(PlatformVersionAtLeast(5, 1, 2, 0));
    EXPECT_TRUE(PlatformVersionAtLeast(10, 0, 0, 0));
    EXPECT_FALSE(PlatformVersionAtLeast(10, 0, 1, 0));
    EXPECT_FALSE(PlatformVersionAtLeast(11, 0, 0, 0));
}

class LocaleEnv {
public:
    explicit LocaleEnv(const char* value)
    {
        for (const char* name : {"LC_ALL", "LC_MEASUREMENT", "LANG"}) {
            const char* old = std::getenv(name);
            saved_[index_++] = old ? std::optional<std::string>(old) : std::nullopt;
            unsetenv(name);
        }
        if (value)
            setenv("LANG", value, 1);
    }
    ~LocaleEnv()
    {
        int i = 0;
        for (const char* name : {"LC_ALL", "LC_MEASUREMENT", "LANG"}) {
            if (saved_[i])
                setenv(name, saved_[i]->c_str(), 1);
            else
                unsetenv(name);
            ++i;
        }
    }

private:
    std::optional<std::string> saved_[3];
    int index_ = 0;
};

TEST(SystemInfoTest, MeasurementSystemFollowsTheLocale)
{
    {
        LocaleEnv env("en_US.UTF-8");
        EXPECT_TRUE(LocaleMeasuresInInches());
    }
    {
        LocaleEnv env("cs_CZ.UTF-8");
        EXPECT_FALSE(LocaleMeasuresInInches());
    }
    {
        LocaleEnv env(nullptr);
        EXPECT_FALSE(LocaleMeasuresInInches());
    }
    {
        LocaleEnv env("en_GB");
        setenv("LC_MEASUREMENT", "en_US", 1);
        EXPECT_TRUE(LocaleMeasuresInInches());
    }
}

} // namespace
