#pragma once

#include "korvant-sim/SimHost.h"

#include <windows.h>

#include <string>

// The Windows stand-in's main window, of KORVANT's window class, so that
// Dalmerin finds it. Titled with the part program's name, it lists the
// commands (number, type code, axis, nominal, plus, minus) as the Linux
// stand-in does and shows a command again after every put that changed it, so
// that a transfer can be watched as it arrives. It answers LiveObjectsMessage.
namespace simcom {

class PartProgramWindow
{
public:
    // Follows the host's puts from now on; null handle() when the window cannot be made.
    explicit PartProgramWindow(sim::SimHost& host);
    ~PartProgramWindow();
    PartProgramWindow(const PartProgramWindow&) = delete;
    PartProgramWindow& operator=(const PartProgramWindow&) = delete;

    HWND handle() const { return m_window; }
    // The list of commands, a child of the window.
    HWND list() const { return m_list; }

private:
    void showCommand(std::size_t index);

    sim::SimHost& m_host;
    HWND m_window = nullptr;
    HWND m_list = nullptr;
};

// The text as Windows shows it.
std::wstring toWide(const std::string& utf8);

} // namespace simcom
