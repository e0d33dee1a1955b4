// The transfer end to end through the COM adapter, against the real Windows
// stand-in KORVANT (korvant-sim-com) in its own process, under Wine.
#include "ComHost.h"
#include "ComStandIn.h"
#include "NumberReading.h"
#include "TransferCases.h"
#include "TransferCommand.h"
#include "TransferWindow.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTest>

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using comstandin::StandIn;

namespace {

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

    QStringList shownMessages() const
    {
        QStringList shown;
        for (const std::string& message : messages)
            shown << QString::fromStdString(message);
        return shown;
    }
};

QStringList only(const char* message)
{
    return {QString::fromUtf8(message)};
}

bool nearlyEqual(double actual, double expected)
{
    return std::fabs(actual - expected) <= 1e-12 * (1 + std::fabs(expected));
}

void runOnce(RecordingWindow& window)
{
    ComHost host;
    runTransfer(window, host);
}

void checkTolerances(const sim::PartProgram& after, bool overwriting)
{
    const auto& cases = transfercases::cases();
    QCOMPARE(after.commands.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const transfercases::Tolerances expected =
            overwriting ? cases[i].afterOverwriting : cases[i].afterKeeping;
        QVERIFY2(nearlyEqual(after.commands[i].plus, expected.plus) &&
                     nearlyEqual(after.commands[i].minus, expected.minus),
                 qPrintable(QStringLiteral("%1: %2 / %3, erwartet %4 / %5")
                                .arg(QString::fromUtf8(cases[i].what))
                                .arg(after.commands[i].plus)
                                .arg(after.commands[i].minus)
                                .arg(expected.plus)
                                .arg(expected.minus)));
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

std::string textOf(const korvant::CallResult<korvant::Value>& result)
{
    const std::string* text = std::get_if<std::string>(&result.value);
    return result.ok() && text ? *text : std::string("(kein Text)");
}

} // namespace

class TestTransferCom : public QObject
{
    Q_OBJECT

private slots:
    void hostWindowNotFound();
    void noPartProgramActive();
    void classNotRegistered();
    void everyCaseKeepingExistingTolerances();
    void everyCaseOverwritingExistingTolerances();
    void secondRunKeepsWhatTheFirstWrote();
    void failingReadSkipsExactlyThatCommand();
    void failingPutsEachOnTheirOwn();
    void hostLeavingMidRunEndsTheRun();
    void umlautsSurviveTheTrip();
};

void TestTransferCom::hostWindowNotFound()
{
    RecordingWindow window;
    runOnce(window);
    QCOMPARE(window.shownMessages(), only(transfertexts::StartKorvant));
    QVERIFY(!window.waitPointer);
}

void TestTransferCom::noPartProgramActive()
{
    for (const char* options : {"", "--nothing"}) {
        StandIn standIn(std::nullopt, options);
        QVERIFY(standIn.isRunning());
        RecordingWindow window;
        runOnce(window);
        QCOMPARE(window.shownMessages(), only(transfertexts::NoPartProgram));
        QVERIFY(!window.waitPointer);
        QCOMPARE(standIn.liveObjects(), 0L);
    }
}

void TestTransferCom::classNotRegistered()
{
    QVERIFY(comstandin::runToEnd("--unregister"));
    {
        StandIn standIn(transfercases::partProgram());
        QVERIFY(standIn.isRunning());
        RecordingWindow window;
        runOnce(window);
        QCOMPARE(window.shownMessages(), only(transfertexts::ConnectionFailed));
        QVERIFY(!window.waitPointer);
        QCOMPARE(standIn.liveObjects(), 0L);
        const sim::PartProgram before = transfercases::partProgram();
        const sim::PartProgram after = standIn.closeAndRead();
        QCOMPARE(after.commands.size(), before.commands.size());
        for (std::size_t i = 0; i < std::min(after.commands.size(), before.commands.size()); ++i) {
            QCOMPARE(after.commands[i].plus, before.commands[i].plus);
            QCOMPARE(after.commands[i].minus, before.commands[i].minus);
        }
    }
    QVERIFY(comstandin::runToEnd("--register"));
}

void TestTransferCom::everyCaseKeepingExistingTolerances()
{
    StandIn standIn(transfercases::partProgram());
    RecordingWindow window;
    runOnce(window);
    QCOMPARE(window.shownMessages(), QStringList());
    QVERIFY(!window.waitPointer);
    QCOMPARE(standIn.liveObjects(), 0L);
    checkTolerances(standIn.closeAndRead(), false);
}

void TestTransferCom::everyCaseOverwritingExistingTolerances()
{
    StandIn standIn(transfercases::partProgram());
    RecordingWindow window;
    window.oldVal = "0";
    runOnce(window);
    QCOMPARE(window.shownMessages(), QStringList());
    QCOMPARE(standIn.liveObjects(), 0L);
    checkTolerances(standIn.closeAndRead(), true);
}

void TestTransferCom::secondRunKeepsWhatTheFirstWrote()
{
    StandIn standIn(transfercases::partProgram());
    RecordingWindow window;
    runOnce(window);
    runOnce(window);
    QCOMPARE(window.shownMessages(), QStringList());
    QCOMPARE(standIn.liveObjects(), 0L);
    checkTolerances(standIn.closeAndRead(), false);
}

void TestTransferCom::failingReadSkipsExactlyThatCommand()
{
    const std::size_t failing = firstWrittenCase();
    for (int dispid : {17, 8, 6, 10, 15, 14, 29}) {
        StandIn standIn(transfercases::partProgram(),
                        "--fail-get " + std::to_string(dispid) + ":" + std::to_string(failing + 1));
        RecordingWindow window;
        runOnce(window);
        QCOMPARE(window.shownMessages(), QStringList());
        QCOMPARE(standIn.liveObjects(), 0L);
        sim::PartProgram after = standIn.closeAndRead();
        QVERIFY2(after.commands.size() > failing, "Teileprogramm nicht zurückgelesen");
        QCOMPARE(after.commands[failing].plus, 0.0);
        QCOMPARE(after.commands[failing].minus, 0.0);
        // Every other command as without the fault.
        after.commands[failing].plus = transfercases::cases()[failing].afterKeeping.plus;
        after.commands[failing].minus = transfercases::cases()[failing].afterKeeping.minus;
        checkTolerances(after, false);
    }
}

void TestTransferCom::failingPutsEachOnTheirOwn()
{
    const std::size_t failing = firstWrittenCase();
    StandIn standIn(transfercases::partProgram(), "--fail-put 15:" + std::to_string(failing + 1));
    RecordingWindow window;
    runOnce(window);
    QCOMPARE(window.shownMessages(), QStringList());
    QCOMPARE(standIn.liveObjects(), 0L);
    sim::PartProgram after = standIn.closeAndRead();
    QVERIFY2(after.commands.size() > failing, "Teileprogramm nicht zurückgelesen");
    QCOMPARE(after.commands[failing].plus, 0.0);
    QVERIFY(nearlyEqual(after.commands[failing].minus, transfercases::cases()[failing].afterKeeping.minus));
    after.commands[failing].plus = transfercases::cases()[failing].afterKeeping.plus;
    checkTolerances(after, false);
}

void TestTransferCom::hostLeavingMidRunEndsTheRun()
{
    StandIn standIn(transfercases::partProgram(), "--leave-after 40");
    RecordingWindow window;
    const DWORD start = GetTickCount();
    runOnce(window);
    QVERIFY(GetTickCount() - start < 10000);
    QCOMPARE(window.shownMessages(), only(transfertexts::ConnectionLost));
    QVERIFY(!window.waitPointer);
    QVERIFY(standIn.hasEnded(10000));
}

// Text crosses the process boundary as BSTR and arrives as the same UTF-8.
void TestTransferCom::umlautsSurviveTheTrip()
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
    QVERIFY(host.findHostWindow());
    const CallResult<ObjectRef> application = host.createApplication();
    QVERIFY(application.ok());
    const CallResult<Value> partProgram =
        host.get(application.value, Interface::Application, dispid::ActivePartProgram);
    const ObjectRef* partProgramRef = std::get_if<ObjectRef>(&partProgram.value);
    QVERIFY(partProgramRef && !partProgramRef->isEmpty());
    const ObjectRef partProgramObject = partProgramRef ? *partProgramRef : ObjectRef{};
    const CallResult<Value> name = host.get(partProgramObject, Interface::PartProgram, dispid::DefaultValue);
    QCOMPARE(textOf(name), program.name);

    const CallResult<Value> commands = host.get(partProgramObject, Interface::PartProgram, dispid::Commands);
    const ObjectRef* commandsRef = std::get_if<ObjectRef>(&commands.value);
    QVERIFY(commandsRef);
    auto enumerator = host.enumerate(commandsRef ? *commandsRef : ObjectRef{});
    QVERIFY(enumerator.ok() && enumerator.value);
    if (enumerator.value) {
        const auto first = enumerator.value->next();
        QVERIFY(first.ok() && first.value);
        const ObjectRef commandObject = first.value.value_or(ObjectRef{});
        const CallResult<Value> view = host.get(commandObject, Interface::Command, dispid::DimensionView);
        const ObjectRef* dimension = std::get_if<ObjectRef>(&view.value);
        QVERIFY(dimension);
        const CallResult<Value> axis =
            host.get(dimension ? *dimension : ObjectRef{}, Interface::Dimension, dispid::AxisText);
        QCOMPARE(textOf(axis), command.axis);
        const auto end = enumerator.value->next();
        QVERIFY(end.ok() && !end.value);
        enumerator.value.reset();
    }
    host.endRun();
    QCOMPARE(standIn.liveObjects(), 0L);
}


int main(int argc, char** argv)
{
    // As in the program, where the GUI toolkit keeps the user-interface
    // thread in its apartment for the whole session.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    QCoreApplication application(argc, argv);
    TestTransferCom test;
    const int result = QTest::qExec(&test, argc, argv);
    CoUninitialize();
    return result;
}

#include "TestTransferCom.moc"
