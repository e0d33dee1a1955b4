// The transfer end to end through the COM adapter, against the real Windows
// stand-in KORVANT (korvant-sim-com) in its own process, under Wine; the
// stand-in's objects in this process where marshalling would hide what the
// adapter meets.
#include "transfer/host/com/ComHost.h"
#include "tests/windows/ComStandIn.h"
#include "transfer/host/com/ComValues.h"
#include "table/core/NumberReading.h"
#include "korvant-sim/com/SimComObjects.h"
#include "korvant-sim/com/SimComWindow.h"
#include "tests/transfer/QtFingerprinting.h"
#include "tests/transfer/TransferCases.h"
#include "transfer/core/TransferCommand.h"
#include "transfer/core/TransferPort.h"
#include "transfer/core/TransferTexts.h"
#include "transfer/core/TransferUndo.h"
#include "table/core/PlainNumber.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTest>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using comstandin::StandIn;

namespace {

// The window side of a run: a chosen table, an English locale, and a record
// of what the user would have seen.
class RecordingWindow : public TransferPort
{
public:
    bool keepTolerances = true;
    std::vector<std::string> messages;
    bool waitPointer = false;
    std::optional<std::size_t> cancelAfter; // "Abbrechen" once this many commands are done
    std::function<bool()> stop;             // asked before every call: "Abbrechen" pressed

    const TableDocument& table() const override { return m_table; }
    tablecheck::Locale locale() const override
    {
        return {[](const std::string& text) { return readPlainNumber(text, '.'); }, '.'};
    }
    TableDocument::Fingerprinting fingerprinting() const override { return qtFingerprinting(); }
    bool keepExistingTolerances() const override { return keepTolerances; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void setWaitPointer() override { waitPointer = true; }
    void restorePointer() override { waitPointer = false; }
    bool reportProgress(std::size_t done, std::optional<std::size_t>) override { return done != cancelAfter; }
    bool stopRequested() override { return stop && stop(); }

    QStringList shownMessages() const
    {
        QStringList shown;
        for (const std::string& message : messages)
            shown << QString::fromStdString(message);
        return shown;
    }

private:
    TableDocument m_table =
        transfercases::tableDocument(transfercases::tableCaptions(), "C:\\Tabellen\\Grenzfälle.tabelle");
};

QStringList only(const std::string& message)
{
    return {QString::fromStdString(message)};
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

// What a run leaves in each case's dimension.
enum class Expected
{
    Keeping,      // "OldVal" "1"
    Overwriting,  // "OldVal" "0", or tolerances that read as unset
    TypeCodeOnly, // no axis text: only the type codes 1106 and 1107 qualify
    FirstTwoOnly  // the walk broke off at the third command
};

transfercases::Tolerances expectedFor(std::size_t i, Expected expected)
{
    const transfercases::TransferCase& one = transfercases::cases()[i];
    const transfercases::Tolerances before{one.before.plus, one.before.minus};
    switch (expected) {
    case Expected::Keeping:
        return one.afterKeeping;
    case Expected::Overwriting:
        return one.afterOverwriting;
    case Expected::TypeCodeOnly:
        return one.before.typeCode == 1106 || one.before.typeCode == 1107 ? one.afterKeeping : before;
    case Expected::FirstTwoOnly:
        return i < 2 ? one.afterKeeping : before;
    }
    return before;
}

void checkTolerances(const sim::PartProgram& after, Expected which)
{
    const auto& cases = transfercases::cases();
    QCOMPARE(after.commands.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const transfercases::Tolerances expected = expectedFor(i, which);
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

// The stand-in's objects served in this process, with the cases' part
// program: the adapter finds the window and creates the application object
// as usual, and every object reaches it unmarshalled, as it was returned.
class InProcessKorvant
{
public:
    explicit InProcessKorvant(const simcom::ComAnswers& answers)
        : m_host(transfercases::partProgram(), sim::PartProgramState::Active, {}), m_server{m_host, answers},
          m_factory(m_server)
    {
        CLSID applicationClass{};
        if (FAILED(CLSIDFromProgID(L"KVTLRN.Application", &applicationClass)) ||
            FAILED(CoRegisterClassObject(applicationClass, &m_factory, CLSCTX_INPROC_SERVER,
                                         REGCLS_MULTIPLEUSE, &m_registration)))
            return;
        m_window = std::make_unique<simcom::PartProgramWindow>(m_host);
    }
    ~InProcessKorvant()
    {
        m_window.reset();
        if (m_registration)
            CoRevokeClassObject(m_registration);
    }
    InProcessKorvant(const InProcessKorvant&) = delete;
    InProcessKorvant& operator=(const InProcessKorvant&) = delete;

    bool isServing() const { return m_window && m_window->handle(); }
    const simcom::PartProgramWindow& window() const { return *m_window; }
    const sim::PartProgram& program() const { return m_host.program(); }
    const simcom::Server& server() const { return m_server; }

private:
    sim::SimHost m_host;
    simcom::Server m_server;
    simcom::ApplicationFactory m_factory;
    DWORD m_registration = 0;
    std::unique_ptr<simcom::PartProgramWindow> m_window;
};

// One cell of the stand-in's list of commands, as it is shown.
QString shownText(HWND list, int row, int column)
{
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return QString::fromWCharArray(text);
}

// Number, type code, axis, nominal, plus, minus: as the list shows a command.
QStringList shownRow(HWND list, int row)
{
    QStringList cells;
    for (int column = 0; column < 6; ++column)
        cells << shownText(list, row, column);
    return cells;
}

QStringList expectedRow(const sim::Command& command, int row)
{
    const auto number = [&](double value) {
        return command.isDimension ? QString::number(value, 'g', 12) : QString();
    };
    return {QString::number(row + 1),
            QString::number(command.typeCode),
            QString::fromStdString(command.axis),
            number(command.nominal),
            number(command.plus),
            number(command.minus)};
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
    void failedCallsAreOrdinaryFailures();
    void automationAnswers_data();
    void automationAnswers();
    void conversions_data();
    void conversions();
    void walkBreakingOffEndsTheRun();
    void hostLeavingOnTheStepThatFindsTheEnd();
    void cancelTakesEffectAtTheNextCall_data();
    void cancelTakesEffectAtTheNextCall();
    void undoReadsNoFurtherThanItsRun();
    void dimensionViewIsASecondInterface();
    void busyHostIsWaitedFor_data();
    void busyHostIsWaitedFor();
    void busyHostIsNamed_data();
    void busyHostIsNamed();
    void hostLeavingMidRunEndsTheRun();
    void stoppedRunAndResumedUndoLeaveThePartProgramAsBefore();
    void umlautsSurviveTheTrip();
    void undoRestoresWhatTheRunWrote();
    void undoOfABusyHostIsNamed();
    void standInWindowFollowsTheRun();
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
    checkTolerances(standIn.closeAndRead(), Expected::Keeping);
}

// A failed call over COM is an ordinary failure, not a lost connection: a
// failing read skips its command, a failing put leaves the other put done.
void TestTransferCom::failedCallsAreOrdinaryFailures()
{
    const std::size_t failing = firstWrittenCase();
    const std::string command = std::to_string(failing + 1);
    const std::string next = std::to_string(failing + 2);
    StandIn standIn(transfercases::partProgram(), "--fail-get 10:" + command + " --fail-put 15:" + next);
    RecordingWindow window;
    runOnce(window);
    QCOMPARE(window.shownMessages(), QStringList());
    QCOMPARE(standIn.liveObjects(), 0L);
    sim::PartProgram after = standIn.closeAndRead();
    QVERIFY2(after.commands.size() > failing + 1, "Teileprogramm nicht zurückgelesen");
    const auto& cases = transfercases::cases();
    QCOMPARE(after.commands[failing].plus, cases[failing].before.plus);
    QCOMPARE(after.commands[failing].minus, cases[failing].before.minus);
    QCOMPARE(after.commands[failing + 1].plus, cases[failing + 1].before.plus);
    QVERIFY(nearlyEqual(after.commands[failing + 1].minus, cases[failing + 1].afterKeeping.minus));
    // Every other command as without the faults.
    for (std::size_t i : {failing, failing + 1}) {
        after.commands[i].plus = cases[i].afterKeeping.plus;
        after.commands[i].minus = cases[i].afterKeeping.minus;
    }
    checkTolerances(after, Expected::Keeping);
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

// KORVANT ends between the two puts of command 4, and again amid the undo's
// puts; each time it is started again with the part program as it left it.
// The stopped run, the stopped undo and the undo that finishes it leave the
// part program exactly as it was before the run.
void TestTransferCom::stoppedRunAndResumedUndoLeaveThePartProgramAsBefore()
{
    RecordingWindow window;
    std::optional<TransferReport> run;
    sim::PartProgram left;
    {
        // The way to the commands (4 calls), commands 1 and 2 (9 calls each), 3 (7 reads), 4's reads and plus
        // put.
        StandIn standIn(transfercases::partProgram(), "--leave-after 37");
        ComHost host;
        run = runTransfer(window, host);
        QVERIFY(standIn.hasEnded(10000));
        left = standIn.closeAndRead();
    }
    QCOMPARE(window.shownMessages(), only(transfertexts::ConnectionLost));
    QVERIFY(run && run->rows.size() == 4);
    QCOMPARE(run->rows[3].outcome, Outcome::PartlyWritten);
    QCOMPARE(left.commands.at(3).plus, 0.1);
    QCOMPARE(left.commands.at(3).minus, 0.0);
    window.messages.clear();
    {
        // The first pass, as far as the run read (4 + 4 * 7 calls), command 1's two puts and command 2's plus.
        StandIn standIn(left, "--leave-after 35");
        ComHost host;
        const auto undo = undoTransfer(window, host, *run);
        QVERIFY(undo);
        QVERIFY2(summary(*undo).find("teilweise zurückgesetzt: 1 von 3.") != std::string::npos,
                 summary(*undo).c_str());
        QVERIFY(standIn.hasEnded(10000));
        left = standIn.closeAndRead();
    }
    QCOMPARE(window.shownMessages(), only(transfertexts::UndoConnectionLost));
    QVERIFY(run->canBeUndone());
    window.messages.clear();
    {
        StandIn standIn(left);
        ComHost host;
        QVERIFY(undoTransfer(window, host, *run));
        QCOMPARE(standIn.liveObjects(), 0L);
        left = standIn.closeAndRead();
    }
    QCOMPARE(window.shownMessages(), QStringList());
    QVERIFY(!run->canBeUndone());
    const char* notAsBefore = transfercases::firstCaseNotAsBefore(left);
    QVERIFY2(!notAsBefore, notAsBefore);
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

Q_DECLARE_METATYPE(Expected)

// Values as a real automation server gives them, written values compared
// with the case table.
void TestTransferCom::automationAnswers_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<Expected>("expected");
    QTest::newRow("Empty tolerances are unset") << "--empty 15 --empty 14" << Expected::Overwriting;
    QTest::newRow("Empty axis") << "--empty 29" << Expected::TypeCodeOnly;
    QTest::newRow("Empty default value") << "--empty 0" << Expected::Keeping;
    QTest::newRow("flag as VT_I2") << "--short 17" << Expected::Keeping;
    QTest::newRow("numbers as text") << "--as-text 6 --as-text 10 --as-text 15 --as-text 14"
                                     << Expected::Keeping;
    QTest::newRow("S_FALSE with the last command") << "--false-with-last" << Expected::Keeping;
}

void TestTransferCom::automationAnswers()
{
    QFETCH(QString, options);
    QFETCH(Expected, expected);
    StandIn standIn(transfercases::partProgram(), options.toStdString());
    RecordingWindow window;
    runOnce(window);
    QCOMPARE(window.shownMessages(), QStringList());
    QCOMPARE(standIn.liveObjects(), 0L);
    checkTolerances(standIn.closeAndRead(), expected);
}

VARIANT variantOf(VARTYPE type, double number)
{
    VARIANT value;
    VariantInit(&value);
    if (type == VT_BSTR) {
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(number == 12.5 ? L"12.5" : L"zwölf");
        return value;
    }
    value.vt = VT_R8;
    value.dblVal = number;
    VariantChangeType(&value, &value, 0, type);
    if (type == VT_NULL || type == VT_EMPTY || type == VT_ERROR)
        value.vt = type;
    return value;
}

// The conversion table of a typed automation client, property by property.
void TestTransferCom::conversions_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("given");
    QTest::addColumn<int>("addressedTo");
    QTest::addColumn<int>("dispid");
    QTest::addColumn<QString>("expected"); // "" for a failed read
    const int command = static_cast<int>(korvant::Interface::Command);
    const int dimension = static_cast<int>(korvant::Interface::Dimension);
    const int partProgram = static_cast<int>(korvant::Interface::PartProgram);
    QTest::newRow("flag VT_I2 -1") << int(VT_I2) << -1.0 << command << 17 << "bool true";
    QTest::newRow("flag VT_I4 1") << int(VT_I4) << 1.0 << command << 17 << "bool true";
    QTest::newRow("flag Empty") << int(VT_EMPTY) << 0.0 << command << 17 << "bool false";
    QTest::newRow("type code VT_R8") << int(VT_R8) << 1101.0 << command << 6 << "int 1101";
    QTest::newRow("type code Empty") << int(VT_EMPTY) << 0.0 << command << 6 << "int 0";
    QTest::newRow("nominal as text") << int(VT_BSTR) << 12.5 << dimension << 10 << "double 12.5";
    QTest::newRow("nominal VT_I2") << int(VT_I2) << 7.0 << dimension << 10 << "double 7";
    QTest::newRow("tolerance Empty") << int(VT_EMPTY) << 0.0 << dimension << 15 << "double 0";
    QTest::newRow("axis Empty") << int(VT_EMPTY) << 0.0 << dimension << 29 << "text ";
    QTest::newRow("axis a number") << int(VT_I4) << 3.0 << dimension << 29 << "text 3";
    QTest::newRow("default value Empty") << int(VT_EMPTY) << 0.0 << partProgram << 0 << "text ";
    QTest::newRow("nominal Null") << int(VT_NULL) << 0.0 << dimension << 10 << "";
    QTest::newRow("nominal an error value") << int(VT_ERROR) << 0.0 << dimension << 10 << "";
    QTest::newRow("nominal text that is no number") << int(VT_BSTR) << 0.0 << dimension << 10 << "";
    QTest::newRow("flag Null") << int(VT_NULL) << 0.0 << command << 17 << "";
}

void TestTransferCom::conversions()
{
    QFETCH(int, type);
    QFETCH(double, given);
    QFETCH(int, addressedTo);
    QFETCH(int, dispid);
    QFETCH(QString, expected);
    VARIANT value = variantOf(static_cast<VARTYPE>(type), given);
    comvalues::ComObjects objects;
    const korvant::CallResult<korvant::Value> result =
        comvalues::toValue(objects, value, static_cast<korvant::Interface>(addressedTo), dispid);
    objects.clear([](IDispatch* object) { object->Release(); });
    VariantClear(&value);
    QString got;
    if (result.ok()) {
        if (const bool* flag = std::get_if<bool>(&result.value))
            got = *flag ? "bool true" : "bool false";
        else if (const std::int32_t* integer = std::get_if<std::int32_t>(&result.value))
            got = QStringLiteral("int %1").arg(*integer);
        else if (const double* number = std::get_if<double>(&result.value))
            got = QStringLiteral("double %1").arg(*number);
        else if (const std::string* text = std::get_if<std::string>(&result.value))
            got = QStringLiteral("text ") + QString::fromStdString(*text);
        else
            got = "something else";
    }
    QCOMPARE(got, expected);
}

// The commands after a failing fetch were not visited: the run says so.
void TestTransferCom::walkBreakingOffEndsTheRun()
{
    StandIn standIn(transfercases::partProgram(), "--fail-next 3");
    RecordingWindow window;
    runOnce(window);
    QCOMPARE(window.shownMessages(), only(transfertexts::ListBroken));
    QCOMPARE(standIn.liveObjects(), 0L);
    checkTolerances(standIn.closeAndRead(), Expected::FirstTwoOnly);
}

// KORVANT goes on the step after the last command, which IEnumVARIANT needs
// to find the end: the run stopped after command 26, and its undo, against
// KORVANT started again, leaves the part program exactly as before.
void TestTransferCom::hostLeavingOnTheStepThatFindsTheEnd()
{
    RecordingWindow window;
    std::optional<TransferReport> run;
    sim::PartProgram left;
    {
        StandIn standIn(transfercases::partProgram(), "--leave-at-next 27");
        ComHost host;
        run = runTransfer(window, host);
        QVERIFY(standIn.hasEnded(10000));
        left = standIn.closeAndRead();
    }
    QCOMPARE(window.shownMessages(), only(transfertexts::ConnectionLost));
    QVERIFY(run);
    QCOMPARE(run->rows.size(), std::size_t(25));
    QCOMPARE(QString::fromStdString(summary(*run)),
             QStringLiteral("25 Maße: 13 geschrieben, 3 behalten eigene Toleranzen, 4 kein Bereich, 3 mit nicht "
                            "erfasster Achse, 2 mit nicht erfasstem Typ. Übertragung abgebrochen nach Befehl 26: Die "
                            "Verbindung zu KORVANT wurde unterbrochen."));
    checkTolerances(left, Expected::Keeping);
    window.messages.clear();
    StandIn standIn(left);
    ComHost host;
    const auto undo = undoTransfer(window, host, *run);
    QCOMPARE(window.shownMessages(), QStringList());
    QVERIFY(undo && !run->canBeUndone());
    QCOMPARE(standIn.liveObjects(), 0L);
    const char* notAsBefore = transfercases::firstCaseNotAsBefore(standIn.closeAndRead());
    QVERIFY2(!notAsBefore, notAsBefore);
}

void TestTransferCom::cancelTakesEffectAtTheNextCall_data()
{
    QTest::addColumn<long>("pressedDuring");
    QTest::addColumn<long>("callsAfter");
    QTest::addColumn<std::size_t>("rows");
    // The way to the commands takes 4 calls, command 1 7 reads and calls 12 and 13 for its puts.
    QTest::newRow("during a read") << 8L << 0L << std::size_t(0);
    QTest::newRow("during the plus put: the minus put follows") << 12L << 1L << std::size_t(1);
}

// "Abbrechen", pressed while KORVANT takes 200 ms a call, is seen before the
// next call: none follows it but the second put of the dimension under way.
void TestTransferCom::cancelTakesEffectAtTheNextCall()
{
    QFETCH(long, pressedDuring);
    QFETCH(long, callsAfter);
    QFETCH(std::size_t, rows);
    StandIn standIn(transfercases::partProgram(), "--delay 200");
    RecordingWindow window;
    window.stop = [&] { return standIn.calls() >= pressedDuring; };
    ComHost host;
    const auto run = runTransfer(window, host);
    QVERIFY(run);
    QCOMPARE(run->end, TransferReport::End::Cancelled);
    QCOMPARE(standIn.calls() - pressedDuring, callsAfter);
    QCOMPARE(run->rows.size(), rows);
    QCOMPARE(standIn.liveObjects(), 0L);
}

// A run stopped after command 10 of 300: its undo compares commands 1 to 10,
// puts back their tolerances and reads none after them.
void TestTransferCom::undoReadsNoFurtherThanItsRun()
{
    sim::PartProgram program;
    program.name = "Dreihundert";
    program.commands.assign(300, transfercases::cases()[0].before);
    StandIn standIn(program);
    RecordingWindow window;
    window.cancelAfter = 10;
    ComHost runHost;
    std::optional<TransferReport> run = runTransfer(window, runHost);
    QVERIFY(run && run->canBeUndone());
    QCOMPARE(run->rows.size(), std::size_t(10));
    const long before = standIn.calls();
    ComHost undoHost;
    const auto undo = undoTransfer(window, undoHost, *run);
    QVERIFY(undo && !run->canBeUndone());
    // The way to the commands, 7 reads of each of the 10, and its 20 puts.
    QCOMPARE(standIn.calls() - before, 4L + 7 * 10 + 2 * 10);
    QCOMPARE(standIn.liveObjects(), 0L);
    const sim::PartProgram after = standIn.closeAndRead();
    QCOMPARE(after.commands.size(), std::size_t(300));
    for (const sim::Command& command : after.commands)
        QVERIFY(command.plus == 0 && command.minus == 0);
}

// The dimension view is a second interface of the command, with the
// dimension's members behind DISPIDs 10, 14 and 15 where the command's own
// interface has others: asking the view for IDispatch again would read and
// write those. Out of process Wine marshals the view as the command's primary
// interface, so the objects are served here.
void TestTransferCom::dimensionViewIsASecondInterface()
{
    simcom::ComAnswers answers;
    answers.secondView = true;
    InProcessKorvant korvant(answers);
    QVERIFY(korvant.isServing());
    RecordingWindow window;
    runOnce(window);
    QCOMPARE(window.shownMessages(), QStringList());
    QCOMPARE(simcom::liveObjects(), 0L);
    QCOMPARE(korvant.server().commandMembers.size(), std::size_t(0));
    checkTolerances(korvant.program(), Expected::Keeping);
}

// Wine passes SERVERCALL_RETRYLATER on as handled; on Windows it is retried too.
void TestTransferCom::busyHostIsWaitedFor_data()
{
    QTest::addColumn<QString>("options");
    QTest::newRow("rejected") << "--busy 2000";
    QTest::newRow("retry later") << "--busy 2000 --retry-later";
    QTest::newRow("mid-run") << "--busy 2000 --busy-after 40";
}

void TestTransferCom::busyHostIsWaitedFor()
{
    QFETCH(QString, options);
    StandIn standIn(transfercases::partProgram(), options.toStdString());
    RecordingWindow window;
    runOnce(window);
    QCOMPARE(window.shownMessages(), QStringList());
    QCOMPARE(standIn.liveObjects(), 0L);
    checkTolerances(standIn.closeAndRead(), Expected::Keeping);
}

void TestTransferCom::busyHostIsNamed_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("message");
    const QString nothing = QString::fromUtf8(transfertexts::BusyNothingWritten);
    QTest::newRow("from the request for the application on") << "--busy-forever" << nothing;
    QTest::newRow("before the part program is read") << "--busy-forever --busy-after 1" << nothing;
    QTest::newRow("mid-run") << "--busy-forever --busy-after 40" << QString::fromUtf8(transfertexts::Busy);
}

void TestTransferCom::busyHostIsNamed()
{
    QFETCH(QString, options);
    QFETCH(QString, message);
    StandIn standIn(transfercases::partProgram(), options.toStdString());
    RecordingWindow window;
    const DWORD start = GetTickCount();
    runOnce(window);
    const DWORD took = GetTickCount() - start;
    QVERIFY2(took < 15000, qPrintable(QStringLiteral("%1 ms").arg(took)));
    QCOMPARE(window.shownMessages(), QStringList{message});
    QVERIFY(!window.waitPointer);
    // A stand-in busy for ever rejects COM's own release calls as well, so it
    // keeps what it handed out before; only the run that got nothing is checked.
    if (QTest::currentDataTag() == QByteArray("from the request for the application on"))
        QCOMPARE(standIn.liveObjects(), 0L);
}

// The undo's two passes over COM: every dimension back as it was, and no
// reference left alive after either run.
void TestTransferCom::undoRestoresWhatTheRunWrote()
{
    StandIn standIn(transfercases::partProgram());
    RecordingWindow window;
    ComHost runHost;
    std::optional<TransferReport> run = runTransfer(window, runHost);
    QVERIFY(run && run->canBeUndone());
    QVERIFY(!run->commandCount || *run->commandCount == transfercases::cases().size());
    QCOMPARE(standIn.liveObjects(), 0L);

    ComHost undoHost;
    const std::optional<TransferReport> undo = undoTransfer(window, undoHost, *run);
    QCOMPARE(window.shownMessages(), QStringList());
    QVERIFY(!window.waitPointer);
    QVERIFY(undo && !run->canBeUndone());
    QCOMPARE(undo->counts()[std::size_t(Outcome::Written)], undo->rows.size());
    QCOMPARE(standIn.liveObjects(), 0L);
    const char* notRestored = transfercases::firstCaseNotAsBefore(standIn.closeAndRead());
    QVERIFY2(!notRestored, notRestored);
}

// A host that turns busy for good amid the undo's first pass gets nothing written.
void TestTransferCom::undoOfABusyHostIsNamed()
{
    StandIn standIn(transfercases::partProgram(), "--busy-forever --busy-after 250");
    RecordingWindow window;
    ComHost runHost;
    std::optional<TransferReport> run = runTransfer(window, runHost);
    QVERIFY(run && run->canBeUndone());
    ComHost undoHost;
    QVERIFY(!undoTransfer(window, undoHost, *run));
    QCOMPARE(window.shownMessages(), only(transfertexts::UndoBusyNothingRestored));
    QVERIFY(!window.waitPointer);
    QVERIFY(run->canBeUndone());
}

// The stand-in's window names its part program and lists its commands; every
// tolerance a run puts shows at once.
void TestTransferCom::standInWindowFollowsTheRun()
{
    InProcessKorvant korvant({});
    QVERIFY(korvant.isServing());
    wchar_t title[128] = {};
    GetWindowTextW(korvant.window().handle(), title, 128);
    QCOMPARE(QString::fromWCharArray(title),
             QStringLiteral("KORVANT-Ersatz \u2013 ") + QString::fromStdString(korvant.program().name));
    const HWND list = korvant.window().list();
    const auto& commands = korvant.program().commands;
    QCOMPARE(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), LRESULT(commands.size()));
    const int written = static_cast<int>(firstWrittenCase());
    QCOMPARE(shownRow(list, written), expectedRow(commands[written], written));
    RecordingWindow window;
    runOnce(window);
    QCOMPARE(window.shownMessages(), QStringList());
    QVERIFY(commands[written].plus != 0);
    for (std::size_t i = 0; i < commands.size(); ++i)
        QCOMPARE(shownRow(list, static_cast<int>(i)), expectedRow(commands[i], static_cast<int>(i)));
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
