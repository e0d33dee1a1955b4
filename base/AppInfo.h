#pragma once

#include "base/Version.h"

#include <string>

// The program's title and version, as every window shows them.
namespace appinfo {

inline const char* const Title = "Dalmerin";

// Major, minor and revision in plain decimal, joined by ".".
inline std::string versionText()
{
    return DALMERIN_VERSION;
}

// Title, " Version " and the version: the caption of the main window and the file dialogs.
inline std::string titleWithVersion()
{
    return std::string(Title) + " Version " + versionText();
}

} // namespace appinfo
