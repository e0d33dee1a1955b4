#pragma once

#include <QString>

// Who works where, for the release record and the transfer's report: the
// user's login name and the computer's name as the system gives them, empty
// where it gives none.
namespace workstation {

QString loginName();
QString computerName();

} // namespace workstation
