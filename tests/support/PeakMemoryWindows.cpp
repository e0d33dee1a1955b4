#include "tests/support/PeakMemory.h"

#include <windows.h>
#include <psapi.h>

long peakMemoryKiB()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}
