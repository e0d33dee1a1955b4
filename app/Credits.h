#pragma once

// Who made the program and how to reach them, as the start, About and support
// windows show it.
namespace credits {

inline const char* const DeveloperName = "M. Kellner";
inline const char* const CompanyLine = "Kellner Messtechnik-Software, Aalen";
inline const char* const SupportAddress = "dalmerin@kellner-messtechnik.de";
inline const char* const Copyright = "Copyright © 2024–2026 Kellner Messtechnik-Software";

} // namespace credits
