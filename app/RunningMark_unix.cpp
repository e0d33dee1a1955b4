#include "app/RunningMark.h"

// Packages are replaced by the package manager, which needs no mark.
RunningMark::RunningMark() = default;

RunningMark::~RunningMark() = default;
