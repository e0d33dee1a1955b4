#include "tests/support/FileModes.h"

// Elsewhere a read-only file is read-only for every user.
ObeyFileModes::ObeyFileModes() = default;
ObeyFileModes::~ObeyFileModes() = default;
OrdinaryUser::OrdinaryUser() = default;
OrdinaryUser::~OrdinaryUser() = default;
