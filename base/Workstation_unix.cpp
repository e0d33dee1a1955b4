#include "base/Workstation.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>

namespace workstation {

QString loginName()
{
    // The account the program runs as; $USER can say anything.
    if (const passwd* account = getpwuid(geteuid()))
        return QString::fromLocal8Bit(account->pw_name);
    return QString();
}

QString computerName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return QString();
    return QString::fromLocal8Bit(name);
}

} // namespace workstation
