#pragma once

#include <string>

// The program's title and version, as every window shows them.
namespace appinfo {

inline const char* const Title = "Dalmerin";
constexpr int VersionMajor = 1;
constexpr int VersionMinor = 2;
constexpr int VersionRevision = 1;

// "1.2.1": major, minor and revision in plain decimal, joined by ".".
inline std::string versionText()
{
    return std::to_string(VersionMajor) + "." + std::to_string(VersionMinor) + "." +
           std::to_string(VersionRevision);
}

// "Dalmerin Version 1.2.1", the caption of the main window and the file dialogs.
inline std::string titleWithVersion()
{
    return std::string(Title) + " Version " + versionText();
}

} // namespace appinfo
