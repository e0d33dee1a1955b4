#pragma once

// What a test needs to know to drive the Windows stand-in KORVANT from
// outside: the class of its main window and the message that tells how many
// of its objects are alive.
namespace simcom {

inline const char* const WindowClass = "BrenholtKORVANTWndClass";
// Sent to the main window: the result is the number of objects the stand-in
// has handed out that are still alive (0 once every client let go of them).
constexpr unsigned LiveObjectsMessage = 0x8000 + 1; // WM_APP + 1

} // namespace simcom
