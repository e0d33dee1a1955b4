// korvant-sim-com: the project's stand-in for KORVANT on Windows, a COM local
// server. It owns a top-level window of KORVANT's window class and registers
// its class object for "KVTLRN.Application", so that a request from another
// process for an object of that class gets its application object.
#include "korvant-sim/com/SimComControl.h"
#include "korvant-sim/com/SimComObjects.h"
#include "korvant-sim/com/SimComWindow.h"

#include "korvant-sim/FaultOptions.h"
#include "korvant-sim/PartProgram.h"
#include "korvant-sim/SimHost.h"

#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The stand-in's own class identifier, registered under "KVTLRN.Application".
const CLSID StandInClass = {0xf715f249, 0x82ad, 0x428b, {0xb3, 0x6b, 0x4c, 0x81, 0x6d, 0x1b, 0x8d, 0x9b}};
const wchar_t* const ProgId = L"KVTLRN.Application";
const wchar_t* const Description = L"KORVANT-Ersatz";

const char* const Usage =
    "korvant-sim-com [teileprogramm.json] [Optionen]\n"
    "Ersatz für KORVANT unter Windows: COM-Server für KVTLRN.Application mit einem Fenster der Klasse\n"
    "BrenholtKORVANTWndClass. Ohne Teileprogramm-Datei ist kein Teileprogramm aktiv.\n"
    "  --register, --unregister   die Klasse für den Benutzer und die Maschine ein- oder austragen\n"
    "  --save DATEI               das Teileprogramm beim Beenden in DATEI schreiben\n"
    "  --nothing                  ohne Teileprogramm ein Objekt liefern, dessen Standardwert \"Nothing\" "
    "lautet\n"
    "  --fail-get DISPID[:N,...]  Get dieser DISPID schlägt fehl (bei den Befehlen N ab 1, sonst überall)\n"
    "  --fail-put DISPID[:N,...]  Put dieser DISPID schlägt fehl, wie --fail-get\n"
    "  --delay MS                 jede Antwort um MS Millisekunden verzögern\n"
    "  --leave-after N            nach N beantworteten Aufrufen beenden\n"
    "  --hang-after N             nach N beantworteten Aufrufen nicht mehr antworten\n"
    "  --busy MS                  beschäftigt: MS Millisekunden lang jeden Aufruf abweisen\n"
    "  --busy-forever             beschäftigt: jeden Aufruf abweisen\n"
    "  --busy-after N             die Beschäftigung beginnt nach N beantworteten Aufrufen\n"
    "  --retry-later              abweisen mit SERVERCALL_RETRYLATER statt SERVERCALL_REJECTED\n"
    "  --empty DISPID[:N,...]     Get dieser DISPID liefert VT_EMPTY\n"
    "  --short DISPID[:N,...]     Get dieser DISPID liefert den Wert als VT_I2\n"
    "  --as-text DISPID[:N,...]   Get dieser DISPID liefert den Wert als Text\n"
    "  --fail-next N              die Aufzählung der Befehle schlägt bei Befehl N fehl\n"
    "  --false-with-last          die Aufzählung liefert den letzten Befehl mit S_FALSE\n"
    "  --leave-at-next N          bei Schritt N der Aufzählung beenden (Befehlszahl + 1: der Schritt,\n"
    "                             der das Ende findet)\n";

struct Options
{
    std::optional<std::string> partProgramFile;
    std::optional<std::string> saveFile;
    bool readsNothing = false;
    sim::FaultPlan faults;
    simcom::ComAnswers answers;
    enum class Registration
    {
        None,
        Register,
        Unregister
    } registration = Registration::None;
};

std::string toUtf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

Options parseOptions(const std::vector<std::string>& arguments)
{
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 == arguments.size())
                throw std::invalid_argument(argument + " braucht einen Wert");
            return arguments[++i];
        };
        if (argument == "--register")
            options.registration = Options::Registration::Register;
        else if (argument == "--unregister")
            options.registration = Options::Registration::Unregister;
        else if (argument == "--save")
            options.saveFile = value();
        else if (argument == "--nothing")
            options.readsNothing = true;
        else if (argument == "--fail-get")
            options.faults.failingGets.push_back(sim::parseFault(value()));
        else if (argument == "--fail-put")
            options.faults.failingPuts.push_back(sim::parseFault(value()));
        else if (argument == "--delay")
            options.faults.replyDelayMs = static_cast<int>(sim::parseCount(value()));
        else if (argument == "--leave-after")
            options.faults.leaveAfterCalls = sim::parseCount(value());
        else if (argument == "--hang-after")
            options.faults.hangAfterCalls = sim::parseCount(value());
        else if (argument == "--busy" || argument == "--busy-forever") {
            options.answers.busyForMs.reset();
            if (argument == "--busy")
                options.answers.busyForMs = sim::parseCount(value());
            // Busy from the first call on, unless --busy-after says otherwise.
            if (!options.answers.busyAfterCalls)
                options.answers.busyAfterCalls = 0;
        } else if (argument == "--busy-after")
            options.answers.busyAfterCalls = sim::parseCount(value());
        else if (argument == "--retry-later")
            options.answers.retryLater = true;
        else if (argument == "--empty")
            options.answers.emptyGets.push_back(sim::parseFault(value()));
        else if (argument == "--short")
            options.answers.shortGets.push_back(sim::parseFault(value()));
        else if (argument == "--as-text")
            options.answers.textGets.push_back(sim::parseFault(value()));
        else if (argument == "--fail-next")
            options.answers.failingNext = static_cast<std::size_t>(sim::parseCount(value()));
        else if (argument == "--leave-at-next")
            options.answers.leavingNext = static_cast<std::size_t>(sim::parseCount(value()));
        else if (argument == "--false-with-last")
            options.answers.falseWithLast = true;
        else if (argument == "-Embedding" || argument == "/Embedding")
            continue; // started by COM for a client: no part program
        else if (argument.rfind("-", 0) != 0 && !options.partProgramFile)
            options.partProgramFile = argument;
        else
            throw std::invalid_argument("unbekannte Angabe: " + argument);
    }
    return options;
}

std::wstring classIdText()
{
    wchar_t text[40] = {};
    StringFromGUID2(StandInClass, text, 40);
    return text;
}

bool setValue(HKEY root, const std::wstring& path, const std::wstring& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const bool written = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    return written;
}

// The class under Software\Classes of the given hive: the name leads to the
// class identifier, which leads to this executable.
bool registerIn(HKEY hive)
{
    wchar_t executable[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, executable, MAX_PATH);
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring classKey = classes + L"CLSID\\" + classIdText();
    return setValue(hive, classes + ProgId, Description) &&
           setValue(hive, classes + ProgId + L"\\CLSID", classIdText()) &&
           setValue(hive, classKey, Description) && setValue(hive, classKey + L"\\ProgID", ProgId) &&
           setValue(hive, classKey + L"\\LocalServer32", L"\"" + std::wstring(executable) + L"\"");
}

void unregisterIn(HKEY hive)
{
    const std::wstring classes = L"Software\\Classes\\";
    RegDeleteTreeW(hive, (classes + ProgId).c_str());
    RegDeleteKeyW(hive, (classes + ProgId).c_str());
    RegDeleteTreeW(hive, (classes + L"CLSID\\" + classIdText()).c_str());
    RegDeleteKeyW(hive, (classes + L"CLSID\\" + classIdText()).c_str());
}

// For the current user and, where allowed, for the machine (some COM
// implementations read only the machine's classes).
int changeRegistration(Options::Registration registration)
{
    if (registration == Options::Registration::Unregister) {
        unregisterIn(HKEY_CURRENT_USER);
        unregisterIn(HKEY_LOCAL_MACHINE);
        return 0;
    }
    if (!registerIn(HKEY_CURRENT_USER)) {
        std::fprintf(stderr, "korvant-sim-com: Eintragen für den Benutzer fehlgeschlagen\n");
        return 1;
    }
    if (!registerIn(HKEY_LOCAL_MACHINE))
        std::fprintf(stderr, "korvant-sim-com: für die Maschine nicht eingetragen (keine Rechte)\n");
    return 0;
}

int serve(const Options& options)
{
    sim::PartProgram program;
    if (options.partProgramFile)
        program = sim::readPartProgram(*options.partProgramFile);
    sim::PartProgramState state = sim::PartProgramState::Active;
    if (!options.partProgramFile)
        state = options.readsNothing ? sim::PartProgramState::ReadsNothing : sim::PartProgramState::None;
    sim::SimHost host(std::move(program), state, options.faults);
    simcom::Server server{host, options.answers};
    simcom::BusyFilter filter(server);
    IMessageFilter* previousFilter = nullptr;
    CoRegisterMessageFilter(&filter, &previousFilter);

    // The class object first, then the window: whoever finds the window can connect.
    simcom::ApplicationFactory factory(server);
    DWORD registration = 0;
    if (FAILED(CoRegisterClassObject(StandInClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                     &registration))) {
        std::fprintf(stderr, "korvant-sim-com: Klassenobjekt nicht anzumelden\n");
        return 1;
    }
    const simcom::PartProgramWindow window(host);
    server.window = window.handle();
    if (!server.window) {
        CoRevokeClassObject(registration);
        std::fprintf(stderr, "korvant-sim-com: Fenster nicht anzulegen\n");
        return 1;
    }
    ShowWindow(server.window, SW_SHOWNOACTIVATE);

    // Until the window is closed (by the user, or by the host leaving).
    MSG message;
    while (IsWindow(server.window) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    CoRevokeClassObject(registration);
    CoRegisterMessageFilter(previousFilter, nullptr);
    if (options.saveFile)
        sim::writePartProgram(host.program(), *options.saveFile);
    return 0;
}

} // namespace

int main()
{
    int count = 0;
    wchar_t** wideArguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(toUtf8(wideArguments[i]));
    LocalFree(wideArguments);

    Options options;
    try {
        options = parseOptions(arguments);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvant-sim-com: %s\n\n%s", error.what(), Usage);
        return 2;
    }
    if (options.registration != Options::Registration::None)
        return changeRegistration(options.registration);

    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    int result = 1;
    try {
        result = serve(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvant-sim-com: %s\n", error.what());
    }
    CoUninitialize();
    return result;
}
