// Starts a program and measures the time from just before its start to the
// moment a visible top-level window with the given title exists. Asks the
// window manager from outside, so the program under test needs no hook of its
// own; works under Wine's null driver too. Prints the milliseconds and ends
// the program.
//
// Usage: dalmerin-window-timer TITLE TIMEOUT_MS PROGRAM [ARGUMENT...]
#include <windows.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// The program and its arguments as one command line, each quoted.
std::wstring commandLine(int argc, wchar_t** argv, int first)
{
    std::wstring line;
    for (int i = first; i < argc; ++i)
        line += (i > first ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";
    return line;
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 4) {
        std::fprintf(stderr, "Aufruf: dalmerin-window-timer TITEL ZEITLIMIT_MS PROGRAMM [ARGUMENT...]\n");
        return 2;
    }
    const wchar_t* wanted = argv[1];
    const long timeoutMs = std::wcstol(argv[2], nullptr, 10);
    std::wstring line = commandLine(argc, argv, 3);

    using Clock = std::chrono::steady_clock;
    const Clock::time_point started = Clock::now();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "Programm startet nicht\n");
        return 2;
    }
    int outcome = 1;
    for (;;) {
        const HWND window = FindWindowW(nullptr, wanted);
        if (window && IsWindowVisible(window)) {
            const std::chrono::duration<double, std::milli> elapsed = Clock::now() - started;
            std::printf("%.1f\n", elapsed.count());
            outcome = 0;
            break;
        }
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
        if (waited > timeoutMs || WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "Kein Fenster erschienen\n");
            break;
        }
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    LocalFree(argv);
    return outcome;
}
