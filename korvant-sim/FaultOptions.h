#pragma once

#include "korvant-sim/SimHost.h"

#include <string>

// The stand-ins' fault-injection options, read the same way on every platform.
// Both throw std::invalid_argument with a readable German reason.
namespace sim {

// A count of calls or milliseconds: a whole number, 0 or more.
long parseCount(const std::string& text);

// "15" or "15:3,7": the dispatch identifier, then the commands (from 1) it fails on.
InjectedFault parseFault(const std::string& text);

} // namespace sim
