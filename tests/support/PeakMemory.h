#pragma once

// Peak resident memory of this process so far, in KiB (-1 where the system
// does not tell it). For the benchmarks and the soak.
long peakMemoryKiB();
