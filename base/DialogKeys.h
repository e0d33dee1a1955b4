#pragma once

#include <functional>

class QKeyEvent;
class QPushButton;
class QWidget;

// The keys of the program's dialogs, as on Windows: Enter presses the focused
// push button, or else the default button; Escape runs `escape`. Returns
// whether the key was one of them and has been handled.
bool handleDialogKey(QKeyEvent* event, QWidget* dialog, QPushButton* defaultButton,
                     const std::function<void()>& escape);
