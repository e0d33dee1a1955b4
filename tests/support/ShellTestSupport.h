#pragma once

#include "tests/support/MessageRecorder.h"
#include "app/Shell.h"
#include "base/MessageBox.h"
#include "tests/support/GuiTestSupport.h"

#include <QTemporaryDir>

#include <memory>

namespace guitest {

// Where each test of the shell starts: a settings folder of its own, which is
// also where the file dialogs start, the German locale, no message recorded
// and a shell that has shown nothing yet.
inline std::unique_ptr<Shell> startShell(std::unique_ptr<QTemporaryDir>& settingsFolder)
{
    settingsFolder = std::make_unique<QTemporaryDir>();
    startClean(*settingsFolder);
    messages::clearRecord();
    return std::make_unique<Shell>(settingsFolder->path());
}

// The same, with KORVANT reached through `hosts`.
inline std::unique_ptr<Shell> startShell(std::unique_ptr<QTemporaryDir>& settingsFolder, HostFactory hosts)
{
    settingsFolder = std::make_unique<QTemporaryDir>();
    startClean(*settingsFolder);
    messages::clearRecord();
    return std::make_unique<Shell>(settingsFolder->path(), std::move(hosts));
}

} // namespace guitest
