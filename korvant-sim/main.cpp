// korvant-sim: the project's stand-in for KORVANT on the D-Bus session bus.
#include "korvant-sim/DBusObjects.h"
#include "korvant-sim/FaultOptions.h"
#include "korvant-sim/PartProgram.h"
#include "korvant-sim/SimHost.h"
#include "korvant-sim/SimWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusError>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString BusName = QStringLiteral("KVTLRN.Application");

int signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the event loop normally, so --save still writes.
void quitOnTerminate(QCoreApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGTERM, onTerminate);
    std::signal(SIGINT, onTerminate);
}

bool wantsHeadless(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--headless") == 0)
            return true;
    return false;
}

// What the command line asks for; the faults read by the parser the COM twin uses too.
struct Options
{
    std::optional<std::string> partProgramFile;
    std::optional<std::string> saveFile;
    bool headless = false;
    bool readsNothing = false;
    sim::FaultPlan faults;
    DBusObjects::ApplicationObject application = DBusObjects::ApplicationObject::Normal;
};

// Ends the program on --help or an unknown option, as QCommandLineParser does;
// throws std::invalid_argument for a value it cannot read.
Options parseOptions(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Ersatz für KORVANT auf dem D-Bus-Sitzungsbus: besitzt den Namen KVTLRN.Application, bietet unter\n"
        "/Application, /PartProgram, /Commands und /Command/N die Methoden Get(i) -> v und Put(i, v)\n"
        "und zeigt das Teileprogramm in einem Fenster.\n"
        "Teileprogramm-Datei (JSON): {\"name\": \"...\", \"commands\": [{\"type\": 1101, \"dimension\": "
        "true,\n"
        "\"nominal\": 12.5, \"plus\": 0, \"minus\": 0, \"axis\": \"X\"}, ...]}"));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("teileprogramm"),
        QStringLiteral("Teileprogramm-Datei; ohne sie ist kein Teileprogramm aktiv."),
        QStringLiteral("[teileprogramm.json]"));
    const QCommandLineOption headlessOption(QStringLiteral("headless"),
                                            QStringLiteral("Ohne Fenster laufen."));
    const QCommandLineOption saveOption(QStringLiteral("save"),
                                        QStringLiteral("Das Teileprogramm beim Beenden in DATEI schreiben."),
                                        QStringLiteral("DATEI"));
    const QCommandLineOption nothingOption(
        QStringLiteral("nothing"),
        QStringLiteral("Ohne Teileprogramm ein Objekt liefern, dessen Standardwert \"Nothing\" lautet, "
                       "statt der leeren Referenz."));
    const QCommandLineOption failGetOption(
        QStringLiteral("fail-get"),
        QStringLiteral("Get dieser DISPID schlägt fehl, bei den genannten Befehlen (ab 1) oder bei allen "
                       "Objekten. Mehrfach angebbar."),
        QStringLiteral("DISPID[:N,N...]"));
    const QCommandLineOption failPutOption(QStringLiteral("fail-put"),
                                           QStringLiteral("Put dieser DISPID schlägt fehl, wie --fail-get."),
                                           QStringLiteral("DISPID[:N,N...]"));
    const QCommandLineOption delayOption(QStringLiteral("delay"),
                                         QStringLiteral("Jede Antwort um MS Millisekunden verzögern."),
                                         QStringLiteral("MS"));
    const QCommandLineOption leaveOption(QStringLiteral("leave-after"),
                                         QStringLiteral("Nach N beantworteten Aufrufen den Bus verlassen."),
                                         QStringLiteral("N"));
    const QCommandLineOption hangOption(QStringLiteral("hang-after"),
                                        QStringLiteral("Nach N beantworteten Aufrufen nicht mehr antworten."),
                                        QStringLiteral("N"));
    const QCommandLineOption noApplicationOption(QStringLiteral("no-application-object"),
                                                 QStringLiteral("Kein Objekt unter /Application anbieten."));
    const QCommandLineOption foreignApplicationOption(
        QStringLiteral("foreign-application-object"),
        QStringLiteral("Unter /Application ein Objekt ohne KVTLRN.Application anbieten."));
    parser.addOptions({headlessOption, saveOption, nothingOption, failGetOption, failPutOption, delayOption,
                       leaveOption, hangOption, noApplicationOption, foreignApplicationOption});
    parser.process(app);

    Options options;
    if (!parser.positionalArguments().isEmpty())
        options.partProgramFile = parser.positionalArguments().at(0).toStdString();
    if (parser.isSet(saveOption))
        options.saveFile = parser.value(saveOption).toStdString();
    options.headless = parser.isSet(headlessOption);
    options.readsNothing = parser.isSet(nothingOption);
    for (const QString& text : parser.values(failGetOption))
        options.faults.failingGets.push_back(sim::parseFault(text.toStdString()));
    for (const QString& text : parser.values(failPutOption))
        options.faults.failingPuts.push_back(sim::parseFault(text.toStdString()));
    const auto count = [&parser](const QCommandLineOption& option) -> std::optional<long> {
        if (!parser.isSet(option))
            return std::nullopt;
        return sim::parseCount(parser.value(option).toStdString());
    };
    options.faults.replyDelayMs = static_cast<int>(count(delayOption).value_or(0));
    options.faults.leaveAfterCalls = count(leaveOption);
    options.faults.hangAfterCalls = count(hangOption);
    if (parser.isSet(noApplicationOption))
        options.application = DBusObjects::ApplicationObject::Missing;
    else if (parser.isSet(foreignApplicationOption))
        options.application = DBusObjects::ApplicationObject::Foreign;
    return options;
}

// Serves the part program on the session bus until the event loop ends.
int serve(QCoreApplication& app, Options options)
{
    sim::PartProgram program;
    if (options.partProgramFile)
        program = sim::readPartProgram(*options.partProgramFile);
    sim::PartProgramState state = sim::PartProgramState::Active;
    if (!options.partProgramFile)
        state = options.readsNothing ? sim::PartProgramState::ReadsNothing : sim::PartProgramState::None;
    sim::SimHost host(std::move(program), state, std::move(options.faults));

    std::unique_ptr<SimWindow> window;
    if (!options.headless) {
        window = std::make_unique<SimWindow>(host.program());
        host.onCommandChanged = [&window](std::size_t index) { window->showCommand(index); };
        window->show();
    }

    DBusObjects objects(host, options.application);
    // Headless, the application is no QApplication: qApp would name the wrong type.
    QObject::connect(&objects, &DBusObjects::leaveRequested, &app,
                     [&app] { QTimer::singleShot(100, &app, &QCoreApplication::quit); });

    QDBusConnection bus = QDBusConnection::sessionBus();
    // The objects first, then the name: whoever sees the name finds the objects.
    if (!bus.registerVirtualObject(QStringLiteral("/"), &objects, QDBusConnection::SubPath) ||
        !bus.registerService(BusName)) {
        std::fprintf(stderr, "korvant-sim: %s nicht auf dem Sitzungsbus anzumelden: %s\n",
                     qPrintable(BusName), qPrintable(bus.lastError().message()));
        return 1;
    }
    quitOnTerminate(app);

    const int result = app.exec();
    bus.unregisterService(BusName);
    if (options.saveFile) {
        try {
            sim::writePartProgram(host.program(), *options.saveFile);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "korvant-sim: %s\n", error.what());
            return 1;
        }
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    // The widgets need a QApplication, which needs a display; headless it does without.
    std::unique_ptr<QCoreApplication> app(wantsHeadless(argc, argv) ? new QCoreApplication(argc, argv)
                                                                    : new QApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("korvant-sim"));
    try {
        return serve(*app, parseOptions(*app));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvant-sim: %s\n", error.what());
        return 2;
    }
}
