#pragma once
// What the program asks about the system it runs on: the version level of the
// platform and the user's measurement system.

namespace core {

struct TOsVersion {
    int Major = 0;
    int Minor = 0;
    int ServicePackMajor = 0;
    int ServicePackMinor = 0;
};

// The platform level the stand-ins provide. They behave as a current desktop
// system does (no behaviour of systems before 10.0 is emulated), so every
// "this version or later" test against an older level succeeds.
TOsVersion PlatformVersion();
// True when PlatformVersion() is the given level or later, compared field by
// field in the order major, minor, service pack major, service pack minor.
bool PlatformVersionAtLeast(int major, int minor, int servicePackMajor, int servicePackMinor);

// True when the user's locale measures in inches (the U.S. system), from the
// measurement category of the environment's locale (LC_ALL, LC_MEASUREMENT, LANG).
bool LocaleMeasuresInInches();

} // namespace core
