#pragma once

#include <QString>

// The copyright notice stored in the program's own version information, as the
// About and support windows show it.
QString copyrightNotice();
