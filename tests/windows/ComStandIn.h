#pragma once

// The Windows stand-in KORVANT (korvant-sim-com) in its own process, driven
// from a test: started with a part program, found by its window class as
// Dalmerin finds it, asked how many of its objects are alive, and closed as a
// user would close it, its part program then read back.
#include "korvant-sim/PartProgram.h"
#include "korvant-sim/com/SimComControl.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

namespace comstandin {

// The stand-in's executable, as the build put it.
inline const char* const Program = KORVANT_SIM_COM;

inline std::string temporaryFile(const char* name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "dalmerin-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

// Runs the stand-in with these arguments (such as its registration) to its end.
inline bool runToEnd(const std::string& arguments)
{
    std::string commandLine = "\"" + std::string(Program) + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    WaitForSingleObject(process.hProcess, 10000);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode == 0;
}

// One running stand-in with the given part program (none: no part program
// active). Ends with its part program saved, or killed when a test left it
// hanging.
class StandIn
{
public:
    explicit StandIn(const std::optional<sim::PartProgram>& program, const std::string& options = {})
        : m_programFile(temporaryFile("teileprogramm.json")), m_saveFile(temporaryFile("gespeichert.json"))
    {
        DeleteFileA(m_saveFile.c_str());
        std::string commandLine = "\"" + std::string(Program) + "\" --save \"" + m_saveFile + "\" " + options;
        if (program) {
            sim::writePartProgram(*program, m_programFile);
            commandLine += " \"" + m_programFile + "\"";
        }
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &m_process))
            return;
        for (int waited = 0; waited < 10000 && !m_window; waited += 10) {
            Sleep(10);
            m_window = FindWindowA(simcom::WindowClass, nullptr);
        }
    }
    ~StandIn()
    {
        if (!m_process.hProcess)
            return;
        // Closed as a user would close it, so that it withdraws its class
        // object; only a stand-in that stopped answering is killed.
        if (m_window)
            PostMessageA(m_window, WM_CLOSE, 0, 0);
        if (!hasEnded(5000))
            TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, 10000);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
        DeleteFileA(m_programFile.c_str());
        DeleteFileA(m_saveFile.c_str());
    }
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;

    bool isRunning() const { return m_window != nullptr; }

    // Objects the stand-in handed out that are still alive; -1 when it does not answer.
    long liveObjects() const
    {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(m_window, simcom::LiveObjectsMessage, 0, 0, SMTO_BLOCK, 5000, &result))
            return -1;
        return static_cast<long>(result);
    }

    // The gets and puts it has answered so far; -1 when it does not answer.
    long calls() const
    {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(m_window, simcom::CallCountMessage, 0, 0, SMTO_BLOCK, 5000, &result))
            return -1;
        return static_cast<long>(result);
    }

    // Whether it has ended by itself within the given time.
    bool hasEnded(DWORD withinMs) const
    {
        return WaitForSingleObject(m_process.hProcess, withinMs) == WAIT_OBJECT_0;
    }

    // Closes the stand-in and reads back its part program (empty when it cannot).
    sim::PartProgram closeAndRead()
    {
        PostMessageA(m_window, WM_CLOSE, 0, 0);
        if (!hasEnded(10000))
            return {};
        try {
            return sim::readPartProgram(m_saveFile);
        } catch (const std::exception& error) {
            std::printf("    %s\n", error.what());
            return {};
        }
    }

private:
    std::string m_programFile;
    std::string m_saveFile;
    PROCESS_INFORMATION m_process{};
    HWND m_window = nullptr;
};

} // namespace comstandin
