#pragma once
// What the report engine sets up when the process starts and releases when
// it ends, in this order: the report classes registered for reading stored
// descriptions by class name; the constants that export filters would use;
// the design colour scheme chosen by the display's colour count and the
// default unit chosen by the locale's measurement system. Shutdown runs the
// steps in the reverse order.

#include "platform/core/StringList.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// The font-family keywords of rich text, by family.
inline constexpr std::array<std::string_view, 8> kRtfFontFamilies = {
    "\\fnil", "\\froman", "\\fswiss", "\\fmodern", "\\fscript", "\\fdecor", "\\ftech", "\\fbidi"};
// The capacity of the export filters' font list.
inline constexpr int kExportFontListSize = 50;
// The export filters' font list; exists between start-up and shutdown.
core::TStringList* ExportFontList();

// The classes a stored report may name, in the order they are registered.
std::vector<std::string> ReportClassNames();

// How the start-up steps learn about the machine; tests give their own.
struct TRpStartupEnvironment {
    // Colours the display shows; -1 for more than the count can tell.
    long long DisplayColors = -1;
    // The locale's measurement-system value ("0" metric, "1" U.S.).
    std::string MeasurementSystem = "0";
};
// What this machine's display and locale say.
TRpStartupEnvironment SystemStartupEnvironment();

// Runs the start-up steps on construction and the shutdown steps, reversed,
// on destruction. One lives while the program runs.
class TRpEngineStartup {
public:
    explicit TRpEngineStartup(const TRpStartupEnvironment& environment = SystemStartupEnvironment());
    ~TRpEngineStartup();
    TRpEngineStartup(const TRpEngineStartup&) = delete;
    TRpEngineStartup& operator=(const TRpEngineStartup&) = delete;

    // The steps run so far, in order, for what a test wants to see.
    static const std::vector<std::string>& Log();

private:
    void RegisterClasses();
    void UnregisterClasses();

    std::vector<std::string> registered_;
};

} // namespace report
