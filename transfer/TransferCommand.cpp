#include "transfer/TransferCommand.h"

#include "transfer/KorvantHost.h"
#include "transfer/RangeSet.h"
#include "table/TableCells.h"
#include "transfer/TransferWindow.h"

#include <cmath>
#include <utility>

using namespace korvant;

namespace {

// Thrown when a call finds the host gone, silent or busy for too long: the
// run stops at once and says why.
struct RunStopped
{
    const char* message;
};

void stopUnlessReachable(CallStatus status)
{
    if (status == CallStatus::ConnectionLost)
        throw RunStopped{transfertexts::ConnectionLost};
    if (status == CallStatus::Busy)
        throw RunStopped{transfertexts::Busy};
}

// One host reference, given up when the command no longer needs it.
class Reference
{
public:
    Reference(Host& host, ObjectRef object) : m_host(&host), m_object(object) {}
    Reference(Reference&& other) noexcept : m_host(other.m_host), m_object(std::exchange(other.m_object, {}))
    {
    }
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;
    Reference& operator=(Reference&&) = delete;
    ~Reference()
    {
        if (!m_object.isEmpty())
            m_host->release(m_object);
    }

    ObjectRef object() const { return m_object; }
    bool isEmpty() const { return m_object.isEmpty(); }

private:
    Host* m_host;
    ObjectRef m_object;
};

// The host calls of one run. A read that fails or brings a value of the
// wrong type gives no value; a lost connection ends the run.
class Session
{
public:
    explicit Session(Host& host) : m_host(host) {}

    Reference adopt(ObjectRef object) { return Reference(m_host, object); }

    // An object reference; empty when the read fails or brings no object.
    Reference readObject(const Reference& from, Interface interface, int dispid)
    {
        Value value = read(from, interface, dispid);
        if (const ObjectRef* object = std::get_if<ObjectRef>(&value))
            return adopt(*object);
        return adopt({});
    }

    std::optional<bool> readBool(const Reference& from, Interface interface, int dispid)
    {
        const Value value = readScalar(from, interface, dispid);
        if (const bool* flag = std::get_if<bool>(&value))
            return *flag;
        return std::nullopt;
    }

    std::optional<std::int32_t> readInteger(const Reference& from, Interface interface, int dispid)
    {
        const Value value = readScalar(from, interface, dispid);
        if (const std::int32_t* integer = std::get_if<std::int32_t>(&value))
            return *integer;
        return std::nullopt;
    }

    std::optional<double> readNumber(const Reference& from, Interface interface, int dispid)
    {
        const Value value = readScalar(from, interface, dispid);
        if (const double* number = std::get_if<double>(&value))
            return *number;
        if (const std::int32_t* integer = std::get_if<std::int32_t>(&value))
            return *integer;
        return std::nullopt;
    }

    std::optional<std::string> readText(const Reference& from, Interface interface, int dispid)
    {
        Value value = readScalar(from, interface, dispid);
        if (std::string* text = std::get_if<std::string>(&value))
            return std::move(*text);
        return std::nullopt;
    }

    // Any value but an object or nothing reads as text (only "Nothing" matters).
    std::optional<std::string> readAnyText(const Reference& from, Interface interface, int dispid)
    {
        const Value value = readScalar(from, interface, dispid);
        if (const std::string* text = std::get_if<std::string>(&value))
            return *text;
        if (std::holds_alternative<std::monostate>(value))
            return std::nullopt;
        return std::string(); // a Boolean or a number: some text that is not "Nothing"
    }

    // A failed put is not reported; the next put is tried all the same.
    void write(const Reference& to, Interface interface, int dispid, double value)
    {
        stopUnlessReachable(m_host.put(to.object(), interface, dispid, Value(value)));
    }

    std::unique_ptr<Enumerator> enumerate(const Reference& collection)
    {
        auto result = m_host.enumerate(collection.object());
        stopUnlessReachable(result.status);
        return result.ok() ? std::move(result.value) : nullptr;
    }

    std::optional<Reference> next(Enumerator& enumerator)
    {
        auto result = enumerator.next();
        stopUnlessReachable(result.status);
        if (!result.ok() || !result.value)
            return std::nullopt;
        return adopt(*result.value);
    }

private:
    // Nothing when the read fails; the empty reference is never called.
    Value read(const Reference& from, Interface interface, int dispid)
    {
        if (from.isEmpty())
            return {};
        CallResult<Value> result = m_host.get(from.object(), interface, dispid);
        stopUnlessReachable(result.status);
        return result.ok() ? std::move(result.value) : Value{};
    }

    // A scalar read that brings an object gives it back at once: wrong type.
    Value readScalar(const Reference& from, Interface interface, int dispid)
    {
        Value value = read(from, interface, dispid);
        if (const ObjectRef* object = std::get_if<ObjectRef>(&value)) {
            m_host.release(*object);
            return {};
        }
        return value;
    }

    Host& m_host;
};

bool qualifies(const std::string& axis, std::int32_t typeCode)
{
    static const char* const Axes[] = {"X", "Y", "Z", "D", "R", "L", "PR", "H"};
    if (typeCode == 1106 || typeCode == 1107)
        return true;
    for (const char* candidate : Axes)
        if (axis == candidate)
            return true;
    return false;
}

// One command of the part program. Any read that fails skips the command:
// nothing read for another command may steer what is written here.
void visitCommand(Session& session, TransferWindow& window, const RangeSet& ranges, const Reference& command)
{
    const auto isDimension = session.readBool(command, Interface::Command, dispid::DimensionFlag);
    if (!isDimension || !*isDimension)
        return;
    const Reference dimension = session.readObject(command, Interface::Command, dispid::DimensionView);
    if (dimension.isEmpty())
        return;
    const auto typeCode = session.readInteger(command, Interface::Command, dispid::TypeCode);
    if (!typeCode || *typeCode == 1000 || *typeCode == 1200)
        return;

    const auto nominal = session.readNumber(dimension, Interface::Dimension, dispid::Nominal);
    if (!nominal)
        return;
    const auto plus = session.readNumber(dimension, Interface::Dimension, dispid::PlusTolerance);
    if (!plus)
        return;
    const auto minus = session.readNumber(dimension, Interface::Dimension, dispid::MinusTolerance);
    if (!minus)
        return;
    const auto axis = session.readText(dimension, Interface::Dimension, dispid::AxisText);
    if (!axis || !qualifies(*axis, *typeCode))
        return;

    // "OldVal" is read for each dimension that has a tolerance, never for the others.
    const bool hasTolerance = *plus != 0 || *minus != 0;
    if (hasTolerance && window.oldValSetting() != "0")
        return;

    const auto tolerances = ranges.lookUp(std::fabs(*nominal));
    if (!tolerances)
        return;
    session.write(dimension, Interface::Dimension, dispid::PlusTolerance, tolerances->plus);
    session.write(dimension, Interface::Dimension, dispid::MinusTolerance, tolerances->minus);
}

// A part program whose commands cannot be read gets nothing, and the user is
// told so: a silent end would look like a transfer that succeeded.
void walkCommands(Session& session, TransferWindow& window, const RangeSet& ranges, const Reference& commands)
{
    const std::unique_ptr<Enumerator> enumerator = commands.isEmpty() ? nullptr : session.enumerate(commands);
    if (!enumerator) {
        window.showMessage(transfertexts::CommandsUnreadable);
        return;
    }
    const std::optional<std::size_t> total = enumerator->count();
    std::size_t done = 0;
    window.reportProgress(done, total);
    while (const std::optional<Reference> command = session.next(*enumerator)) {
        visitCommand(session, window, ranges, *command);
        window.reportProgress(++done, total);
    }
}

// Everything between setting and restoring the pointer; shows at most one message.
void attachAndTransfer(TransferWindow& window, Host& host)
{
    if (window.tablePath() == cells::NoTableChosen) {
        window.showMessage(transfertexts::ChooseTable);
        return;
    }
    if (!host.findHostWindow()) {
        window.showMessage(transfertexts::StartKorvant);
        return;
    }
    const CallResult<ObjectRef> created = host.createApplication();
    if (created.status == CallStatus::Busy) {
        window.showMessage(transfertexts::Busy);
        return;
    }
    Session session(host);
    const Reference application = session.adopt(created.ok() ? created.value : ObjectRef{});
    if (application.isEmpty()) {
        window.showMessage(transfertexts::ConnectionFailed);
        return;
    }

    try {
        const Reference partProgram =
            session.readObject(application, Interface::Application, dispid::ActivePartProgram);
        const auto name = session.readAnyText(partProgram, Interface::PartProgram, dispid::DefaultValue);
        if (!name || *name == "Nothing") {
            window.showMessage(transfertexts::NoPartProgram);
            return;
        }
        const Reference commands = session.readObject(partProgram, Interface::PartProgram, dispid::Commands);
        const RangeSet ranges = RangeSet::fromCaptions(window.labelCaptions(), window);
        walkCommands(session, window, ranges, commands);
    } catch (const RunStopped& stopped) {
        // The references taken for the walk have been given up on the way here.
        window.showMessage(stopped.message);
    }
}

} // namespace

void runTransfer(TransferWindow& window, Host& host)
{
    // The edit-mode test comes before every other test, and before the pointer changes.
    if (window.isEditMode()) {
        window.showMessage(cells::SaveFirst);
        window.restorePointer();
        return;
    }
    window.setWaitPointer();
    attachAndTransfer(window, host);
    host.endRun();
    window.restorePointer();
}
