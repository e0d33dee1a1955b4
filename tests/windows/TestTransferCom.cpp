// The transfer end to end through the COM adapter, against the real Windows
// stand-in KORVANT (korvant-sim-com) in its own process, under Wine.
// Usage: test_transfer_com STAND-IN.exe [name filter]
#include "WineCheck.h"

#include "ComHost.h"
#include "NumberReading.h"
#include "SimComControl.h"
#include "TransferCases.h"
#include "TransferCommand.h"
#include "TransferWindow.h"

#include "PartProgram.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string standInPath;

// The window side of a run: a chosen table, an English locale, and a record
// of what the user would have seen.
class RecordingWindow : public TransferWindow
{
public:
    std::string oldVal = "1";
    std::vector<std::string> messages;
    bool waitPointer = false;

    bool isEditMode() const override { return false; }
    std::string tablePath() const override { return "C:\\Tabellen\\Grenzfälle.tabelle"; }
    std::vector<std::string> labelCaptions() const override { return transfercases::tableCaptions(); }
    std::optional<double> readLocaleNumber(const std::string& text) const override
    {
        return readPlainNumber(text, '.');
    }
    std::string oldValSetting() const override { return oldVal; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void setWaitPointer() override { waitPointer = true; }
    void restorePointer() override { waitPointer = false; }
    void reportProgress(std::size_t, std::optional<std::size_t>) override {}
};

std::string temporaryFile(const char* name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "dalmerin-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

// Runs a korvant-sim-com program (the stand-in, or its registration) and waits for its end.
bool runToEnd(const std::string& arguments)
{
    std::string commandLine = "\"" + standInPath + "\" " + arguments;
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

// One running stand-in KORVANT with the given part program (none: no part
// program active). Ends with its part program saved, or killed when a test
// left it hanging.
class StandIn
{
public:
    explicit StandIn(const std::optional<sim::PartProgram>& program, const std::string& options = {})
        : m_programFile(temporaryFile("teileprogramm.json")), m_saveFile(temporaryFile("gespeichert.json"))
    {
        DeleteFileA(m_saveFile.c_str());
        std::string commandLine = "\"" + standInPath + "\" --save \"" + m_saveFile + "\" " + options;
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

    // Whether it has ended by itself within the given time.
    bool hasEnded(DWORD withinMs) const
    {
        return WaitForSingleObject(m_process.hProcess, withinMs) == WAIT_OBJECT_0;
    }

    // Closes the stand-in and reads back its part program.
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

void runOnce(RecordingWindow& window)
{
    ComHost host;
    runTransfer(window, host);
}

void checkTolerances(const sim::PartProgram& after, bool overwriting)
{
    const auto& cases = transfercases::cases();
    CHECK_EQUAL(after.commands.size(), cases.size());
    for (std::size_t i = 0; i < std::min(after.commands.size(), cases.size()); ++i) {
        const transfercases::Tolerances expected =
            overwriting ? cases[i].afterOverwriting : cases[i].afterKeeping;
        if (!winecheck::nearlyEqual(after.commands[i].plus, expected.plus) ||
            !winecheck::nearlyEqual(after.commands[i].minus, expected.minus))
            winecheck::fail(__FILE__, __LINE__,
                            std::string(cases[i].what) + ": " + winecheck::show(after.commands[i].plus) +
                                " / " + winecheck::show(after.commands[i].minus) + ", expected " +
                                winecheck::show(expected.plus) + " / " + winecheck::show(expected.minus));
    }
}

// The 0-based index of the first case that gets tolerances written into an empty dimension.
std::size_t firstWrittenCase()
{
    const auto& cases = transfercases::cases();
    for (std::size_t i = 0; i < cases.size(); ++i)
        if (cases[i].before.plus == 0 && cases[i].before.minus == 0 && cases[i].afterKeeping.plus != 0)
            return i;
    return 0;
}

WINE_TEST(hostWindowNotFound)
{
    RecordingWindow window;
    runOnce(window);
    CHECK_EQUAL(window.messages, std::vector<std::string>{transfertexts::StartKorvant});
    CHECK(!window.waitPointer);
}

WINE_TEST(noPartProgramActive)
{
    for (const char* options : {"", "--nothing"}) {
        StandIn standIn(std::nullopt, options);
        CHECK(standIn.isRunning());
        RecordingWindow window;
        runOnce(window);
        CHECK_EQUAL(window.messages, std::vector<std::string>{transfertexts::NoPartProgram});
        CHECK(!window.waitPointer);
        CHECK_EQUAL(standIn.liveObjects(), 0L);
    }
}

WINE_TEST(classNotRegistered)
{
    CHECK(runToEnd("--unregister"));
    {
        StandIn standIn(transfercases::partProgram());
        CHECK(standIn.isRunning());
        RecordingWindow window;
        runOnce(window);
        CHECK_EQUAL(window.messages, std::vector<std::string>{transfertexts::ConnectionFailed});
        CHECK(!window.waitPointer);
        CHECK_EQUAL(standIn.liveObjects(), 0L);
        const sim::PartProgram before = transfercases::partProgram();
        const sim::PartProgram after = standIn.closeAndRead();
        CHECK_EQUAL(after.commands.size(), before.commands.size());
        for (std::size_t i = 0; i < std::min(after.commands.size(), before.commands.size()); ++i) {
            CHECK_EQUAL(after.commands[i].plus, before.commands[i].plus);
            CHECK_EQUAL(after.commands[i].minus, before.commands[i].minus);
        }
    }
    CHECK(runToEnd("--register"));
}

WINE_TEST(everyCaseKeepingExistingTolerances)
{
    StandIn standIn(transfercases::partProgram());
    RecordingWindow window;
    runOnce(window);
    CHECK(window.messages.empty());
    CHECK(!window.waitPointer);
    CHECK_EQUAL(standIn.liveObjects(), 0L);
    checkTolerances(standIn.closeAndRead(), false);
}

WINE_TEST(everyCaseOverwritingExistingTolerances)
{
    StandIn standIn(transfercases::partProgram());
    RecordingWindow window;
    window.oldVal = "0";
    runOnce(window);
    CHECK(window.messages.empty());
    CHECK_EQUAL(standIn.liveObjects(), 0L);
    checkTolerances(standIn.closeAndRead(), true);
}

WINE_TEST(secondRunKeepsWhatTheFirstWrote)
{
    StandIn standIn(transfercases::partProgram());
    RecordingWindow window;
    runOnce(window);
    runOnce(window);
    CHECK(window.messages.empty());
    CHECK_EQUAL(standIn.liveObjects(), 0L);
    checkTolerances(standIn.closeAndRead(), false);
}

WINE_TEST(failingReadSkipsExactlyThatCommand)
{
    const std::size_t failing = firstWrittenCase();
    for (int dispid : {17, 8, 6, 10, 15, 14, 29}) {
        StandIn standIn(transfercases::partProgram(),
                        "--fail-get " + std::to_string(dispid) + ":" + std::to_string(failing + 1));
        RecordingWindow window;
        runOnce(window);
        CHECK(window.messages.empty());
        CHECK_EQUAL(standIn.liveObjects(), 0L);
        sim::PartProgram after = standIn.closeAndRead();
        if (after.commands.size() <= failing) {
            winecheck::fail(__FILE__, __LINE__, "part program not read back");
            continue;
        }
        CHECK_EQUAL(after.commands[failing].plus, 0.0);
        CHECK_EQUAL(after.commands[failing].minus, 0.0);
        // Every other command as without the fault.
        after.commands[failing].plus = transfercases::cases()[failing].afterKeeping.plus;
        after.commands[failing].minus = transfercases::cases()[failing].afterKeeping.minus;
        checkTolerances(after, false);
    }
}

WINE_TEST(failingPutsEachOnTheirOwn)
{
    const std::size_t failing = firstWrittenCase();
    StandIn standIn(transfercases::partProgram(), "--fail-put 15:" + std::to_string(failing + 1));
    RecordingWindow window;
    runOnce(window);
    CHECK(window.messages.empty());
    CHECK_EQUAL(standIn.liveObjects(), 0L);
    sim::PartProgram after = standIn.closeAndRead();
    if (after.commands.size() <= failing) {
        winecheck::fail(__FILE__, __LINE__, "part program not read back");
        return;
    }
    CHECK_EQUAL(after.commands[failing].plus, 0.0);
    CHECK_NEAR(after.commands[failing].minus, transfercases::cases()[failing].afterKeeping.minus);
    after.commands[failing].plus = transfercases::cases()[failing].afterKeeping.plus;
    checkTolerances(after, false);
}

WINE_TEST(hostLeavingMidRunEndsTheRun)
{
    StandIn standIn(transfercases::partProgram(), "--leave-after 40");
    RecordingWindow window;
    const DWORD start = GetTickCount();
    runOnce(window);
    CHECK(GetTickCount() - start < 10000);
    CHECK_EQUAL(window.messages, std::vector<std::string>{transfertexts::ConnectionLost});
    CHECK(!window.waitPointer);
    CHECK(standIn.hasEnded(10000));
}

std::string textOf(const korvant::CallResult<korvant::Value>& result)
{
    const std::string* text = std::get_if<std::string>(&result.value);
    return result.ok() && text ? *text : std::string("(kein Text)");
}

// Text crosses the process boundary as BSTR and arrives as the same UTF-8.
WINE_TEST(umlautsSurviveTheTrip)
{
    sim::PartProgram program;
    program.name = "Prüfplan Größe Ä–Ö";
    sim::Command command;
    command.typeCode = 1106;
    command.isDimension = true;
    command.nominal = 5;
    command.axis = "Ü-Achse ß";
    program.commands.push_back(command);
    StandIn standIn(program);

    using namespace korvant;
    ComHost host;
    CHECK(host.findHostWindow());
    const CallResult<ObjectRef> application = host.createApplication();
    CHECK(application.ok());
    const CallResult<Value> partProgram =
        host.get(application.value, Interface::Application, dispid::ActivePartProgram);
    const ObjectRef* partProgramRef = std::get_if<ObjectRef>(&partProgram.value);
    CHECK(partProgramRef && !partProgramRef->isEmpty());
    const ObjectRef partProgramObject = partProgramRef ? *partProgramRef : ObjectRef{};
    const CallResult<Value> name = host.get(partProgramObject, Interface::PartProgram, dispid::DefaultValue);
    CHECK_EQUAL(textOf(name), program.name);

    const CallResult<Value> commands = host.get(partProgramObject, Interface::PartProgram, dispid::Commands);
    const ObjectRef* commandsRef = std::get_if<ObjectRef>(&commands.value);
    CHECK(commandsRef);
    auto enumerator = host.enumerate(commandsRef ? *commandsRef : ObjectRef{});
    CHECK(enumerator.ok() && enumerator.value);
    if (enumerator.value) {
        const auto first = enumerator.value->next();
        CHECK(first.ok() && first.value);
        const ObjectRef commandObject = first.value.value_or(ObjectRef{});
        const CallResult<Value> view = host.get(commandObject, Interface::Command, dispid::DimensionView);
        const ObjectRef* dimension = std::get_if<ObjectRef>(&view.value);
        CHECK(dimension);
        const CallResult<Value> axis =
            host.get(dimension ? *dimension : ObjectRef{}, Interface::Dimension, dispid::AxisText);
        CHECK_EQUAL(textOf(axis), command.axis);
        const auto end = enumerator.value->next();
        CHECK(end.ok() && !end.value);
        enumerator.value.reset();
    }
    host.endRun();
    CHECK_EQUAL(standIn.liveObjects(), 0L);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::printf("usage: test_transfer_com STAND-IN.exe [name filter]\n");
        return 2;
    }
    standInPath = argv[1];
    // As in the program, where the GUI toolkit keeps the user-interface
    // thread in its apartment for the whole session.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int result = winecheck::runAll(argc > 2 ? argv[2] : nullptr);
    CoUninitialize();
    return result;
}
