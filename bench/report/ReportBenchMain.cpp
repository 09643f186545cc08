// The main of the report benchmarks that draw: a headless application (the
// report's windows and canvases need one) and an empty printer list, so that
// no run waits on the print system.

#include "platform/print/Printer.h"
#include "platform/ui/kernel/Application.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::TApplication application(argc, argv);
    application.Initialize();
    print::SetPrinterLister([] { return std::vector<std::string>{}; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
