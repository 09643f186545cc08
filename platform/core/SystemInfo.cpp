#include "platform/core/SystemInfo.h"

#include <cstdlib>
#include <langinfo.h>
#include <locale.h>
#include <string>
#include <tuple>

namespace core {

TOsVersion PlatformVersion()
{
    return TOsVersion{10, 0, 0, 0};
}

bool PlatformVersionAtLeast(int major, int minor, int servicePackMajor, int servicePackMinor)
{
    const TOsVersion v = PlatformVersion();
    return std::tie(v.Major, v.Minor, v.ServicePackMajor, v.ServicePackMinor)
        >= std::tie(major, minor, servicePackMajor, servicePackMinor);
}

namespace {

std::string MeasurementLocaleName()
{
    for (const char* name : {"LC_ALL", "LC_MEASUREMENT", "LANG"})
        if (const char* value = std::getenv(name); value && *value)
            return value;
    return "C";
}

// Territories whose locales measure in inches, for a locale that is not installed.
bool TerritoryMeasuresInInches(const std::string& locale)
{
    const auto underscore = locale.find('_');
    if (underscore == std::string::npos)
        return false;
    const std::string territory = locale.substr(underscore + 1, 2);
    return territory == "US" || territory == "LR" || territory == "MM";
}

} // namespace

bool LocaleMeasuresInInches()
{
    const std::string name = MeasurementLocaleName();
    if (locale_t loc = newlocale(LC_MEASUREMENT_MASK, name.c_str(), static_cast<locale_t>(nullptr))) {
        // The first byte is 1 for the metric system, 2 for the U.S. one.
        const char* measurement = nl_langinfo_l(_NL_MEASUREMENT_MEASUREMENT, loc);
        const bool inches = measurement && measurement[0] == 2;
        freelocale(loc);
        return inches;
    }
    return TerritoryMeasuresInInches(name);
}

} // namespace core
