#include "base/Workstation.h"

#include <windows.h>

namespace workstation {

QString loginName()
{
    wchar_t name[256 + 1] = {}; // UNLEN
    DWORD size = sizeof name / sizeof name[0];
    if (!GetUserNameW(name, &size))
        return QString();
    return QString::fromWCharArray(name);
}

QString computerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name / sizeof name[0];
    if (!GetComputerNameW(name, &size))
        return QString();
    return QString::fromWCharArray(name, int(size));
}

} // namespace workstation
