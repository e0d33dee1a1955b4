#pragma once

// What a test needs to know to drive the Windows stand-in KORVANT from
// outside: the class of its main window and the messages that tell how many
// of its objects are alive and how many calls it answered.
namespace simcom {

inline const char* const WindowClass = "BrenholtKORVANTWndClass";
// Sent to the main window: the result is the number of objects the stand-in
// has handed out that are still alive (0 once every client let go of them).
constexpr unsigned LiveObjectsMessage = 0x8000 + 1; // WM_APP + 1
// Sent to the main window: the result is the number of gets and puts it has
// taken so far (the enumeration's steps are not counted).
constexpr unsigned CallCountMessage = 0x8000 + 2;

} // namespace simcom
