#pragma once

#include "transfer/core/KorvantHost.h"

#include <memory>

// The connection to KORVANT on this platform: over the D-Bus session bus on
// Linux, over COM on Windows. CMake picks the implementation.
std::unique_ptr<korvant::Host> createPlatformHost();
