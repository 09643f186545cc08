#pragma once
// The start-up benchmarks of the register program (StartUpBench.cpp).

#include <string>

namespace bench {

// Registers them for a register in dataFolder (ending with "/"); they rewrite its settings file.
void RegisterStartUpBenchmarks(const std::string& dataFolder);

} // namespace bench
