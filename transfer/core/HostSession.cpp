#include "transfer/core/HostSession.h"

#include "transfer/core/TransferPort.h"
#include "transfer/core/TransferTexts.h"

namespace korvant {

namespace {

void stopUnlessReachable(CallStatus status)
{
    if (status == CallStatus::ConnectionLost)
        throw RunStopped{StopCause::ConnectionLost};
    if (status == CallStatus::Busy)
        throw RunStopped{StopCause::Busy};
}

} // namespace

Reference Session::readObject(const Reference& from, Interface interface, int dispid)
{
    Value value = read(from, interface, dispid);
    if (const ObjectRef* object = std::get_if<ObjectRef>(&value))
        return adopt(*object);
    return adopt({});
}

std::optional<bool> Session::readBool(const Reference& from, Interface interface, int dispid)
{
    const Value value = readScalar(from, interface, dispid);
    if (const bool* flag = std::get_if<bool>(&value))
        return *flag;
    return std::nullopt;
}

std::optional<std::int32_t> Session::readInteger(const Reference& from, Interface interface, int dispid)
{
    const Value value = readScalar(from, interface, dispid);
    if (const std::int32_t* integer = std::get_if<std::int32_t>(&value))
        return *integer;
    return std::nullopt;
}

std::optional<double> Session::readNumber(const Reference& from, Interface interface, int dispid)
{
    const Value value = readScalar(from, interface, dispid);
    if (const double* number = std::get_if<double>(&value))
        return *number;
    if (const std::int32_t* integer = std::get_if<std::int32_t>(&value))
        return *integer;
    return std::nullopt;
}

std::optional<std::string> Session::readText(const Reference& from, Interface interface, int dispid)
{
    Value value = readScalar(from, interface, dispid);
    if (std::string* text = std::get_if<std::string>(&value))
        return std::move(*text);
    return std::nullopt;
}

std::optional<std::string> Session::readAnyText(const Reference& from, Interface interface, int dispid)
{
    const Value value = readScalar(from, interface, dispid);
    if (const std::string* text = std::get_if<std::string>(&value))
        return *text;
    if (std::holds_alternative<std::monostate>(value))
        return std::nullopt;
    return std::string(); // a Boolean or a number: some text that is not "Nothing"
}

void Session::admit()
{
    if (m_unbroken == 0 && m_port.stopRequested())
        throw RunStopped{StopCause::Cancelled};
}

bool Session::write(const Reference& to, Interface interface, int dispid, double value)
{
    admit();
    const CallStatus status = m_host.put(to.object(), interface, dispid, Value(value));
    stopUnlessReachable(status);
    return status == CallStatus::Ok;
}

std::unique_ptr<Enumerator> Session::enumerate(const Reference& collection)
{
    admit();
    auto result = m_host.enumerate(collection.object());
    stopUnlessReachable(result.status);
    return result.ok() ? std::move(result.value) : nullptr;
}

std::optional<Reference> Session::next(Enumerator& enumerator)
{
    admit();
    auto result = enumerator.next();
    stopUnlessReachable(result.status);
    // Taken for the end, a failed step would tell a run that stopped as complete.
    if (!result.ok())
        throw RunStopped{StopCause::ListBroken};
    if (!result.value)
        return std::nullopt;
    return adopt(*result.value);
}

// Nothing when the read fails; the empty reference is never called.
Value Session::read(const Reference& from, Interface interface, int dispid)
{
    if (from.isEmpty())
        return {};
    admit();
    CallResult<Value> result = m_host.get(from.object(), interface, dispid);
    stopUnlessReachable(result.status);
    return result.ok() ? std::move(result.value) : Value{};
}

// A scalar read that brings an object gives it back at once: wrong type.
Value Session::readScalar(const Reference& from, Interface interface, int dispid)
{
    Value value = read(from, interface, dispid);
    if (const ObjectRef* object = std::get_if<ObjectRef>(&value)) {
        m_host.release(*object);
        return {};
    }
    return value;
}

bool typeIsLeftOut(std::int32_t typeCode)
{
    return typeCode == 1000 || typeCode == 1200;
}

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

CommandReading readCommand(Session& session, const Reference& command)
{
    CommandReading reading;
    const auto flag = session.readBool(command, Interface::Command, dispid::DimensionFlag);
    if (!flag) {
        reading.flagRead = false;
        reading.readFailed = true;
        return reading;
    }
    if (!*flag)
        return reading;
    reading.isDimension = true;
    reading.readFailed = true; // until the last read has gone through
    reading.dimension.emplace(session.readObject(command, Interface::Command, dispid::DimensionView));
    if (reading.dimension->isEmpty())
        return reading;
    reading.typeCode = session.readInteger(command, Interface::Command, dispid::TypeCode);
    if (!reading.typeCode)
        return reading;
    if (typeIsLeftOut(*reading.typeCode)) {
        reading.readFailed = false;
        return reading;
    }
    const Reference& dimension = *reading.dimension;
    if (!(reading.nominal = session.readNumber(dimension, Interface::Dimension, dispid::Nominal)))
        return reading;
    if (!(reading.plus = session.readNumber(dimension, Interface::Dimension, dispid::PlusTolerance)))
        return reading;
    if (!(reading.minus = session.readNumber(dimension, Interface::Dimension, dispid::MinusTolerance)))
        return reading;
    if (!(reading.axis = session.readText(dimension, Interface::Dimension, dispid::AxisText)))
        return reading;
    reading.readFailed = false;
    return reading;
}

std::optional<Attachment> attach(Session& session, Host& host, TransferPort& port)
{
    if (!host.findHostWindow()) {
        port.showMessage(transfertexts::StartKorvant);
        return std::nullopt;
    }
    const CallResult<ObjectRef> created = host.createApplication();
    stopUnlessReachable(created.status == CallStatus::Busy ? CallStatus::Busy : CallStatus::Ok);
    Reference application = session.adopt(created.ok() ? created.value : ObjectRef{});
    if (application.isEmpty()) {
        port.showMessage(transfertexts::ConnectionFailed);
        return std::nullopt;
    }
    Reference partProgram =
        session.readObject(application, Interface::Application, dispid::ActivePartProgram);
    auto name = session.readAnyText(partProgram, Interface::PartProgram, dispid::DefaultValue);
    if (!name || *name == "Nothing") {
        port.showMessage(transfertexts::NoPartProgram);
        return std::nullopt;
    }
    return Attachment{std::move(application), std::move(partProgram), std::move(*name)};
}

} // namespace korvant
