#include "korvant-sim/SimHost.h"

#include <algorithm>

namespace sim {
namespace {

// Dispatch identifiers KORVANT answers (kept apart from the program's own list).
constexpr int ActivePartProgram = 2;
constexpr int DefaultValue = 0;
constexpr int CommandCollection = 11;
constexpr int NewEnum = -4;
constexpr int DimensionFlag = 17;
constexpr int DimensionView = 8;
constexpr int TypeCode = 6;
constexpr int Nominal = 10;
constexpr int PlusTolerance = 15;
constexpr int MinusTolerance = 14;
constexpr int AxisText = 29;

const std::string ApplicationInterface = "KVTLRN.Application";
const std::string PartProgramInterface = "KVTLRN.PartProgram";
const std::string CommandsInterface = "KVTLRN.Commands";
const std::string CommandInterface = "KVTLRN.Command";
const std::string DimensionInterface = "KVTLRN.Dimension";

SimReply answer(SimValue value)
{
    return SimReply{true, std::move(value), {}};
}

SimReply refuse(std::string why)
{
    return SimReply{false, false, std::move(why)};
}

} // namespace

std::vector<std::string> interfacesOf(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Application:
        return {ApplicationInterface};
    case ObjectKind::PartProgram:
        return {PartProgramInterface};
    case ObjectKind::Commands:
        return {CommandsInterface};
    case ObjectKind::Command:
        return {CommandInterface, DimensionInterface};
    }
    return {};
}

SimHost::SimHost(PartProgram program, PartProgramState state, FaultPlan faults)
    : m_program(std::move(program)), m_state(state), m_faults(std::move(faults))
{
}

CallHandling SimHost::admitCall()
{
    ++m_calls;
    if (m_faults.hangAfterCalls && m_calls > *m_faults.hangAfterCalls)
        return CallHandling::Ignore;
    if (m_faults.leaveAfterCalls && m_calls > *m_faults.leaveAfterCalls)
        return CallHandling::Ignore; // on its way out
    if (m_faults.leaveAfterCalls && m_calls == *m_faults.leaveAfterCalls)
        return CallHandling::AnswerThenLeave;
    return CallHandling::Answer;
}

bool SimHost::exists(const ObjectAddress& object) const
{
    if (object.kind == ObjectKind::Command)
        return object.command < m_program.commands.size();
    if (object.kind == ObjectKind::Application)
        return true;
    return m_state != PartProgramState::None;
}

bool appliesTo(const InjectedFault& fault, const ObjectAddress& object, int dispid)
{
    if (fault.dispid != dispid)
        return false;
    if (fault.commands.empty())
        return true;
    return object.kind == ObjectKind::Command && fault.commands.count(object.command + 1) > 0;
}

bool SimHost::injected(const std::vector<InjectedFault>& faults, const ObjectAddress& object,
                       int dispid) const
{
    return std::any_of(faults.begin(), faults.end(),
                       [&](const InjectedFault& fault) { return appliesTo(fault, object, dispid); });
}

SimReply SimHost::get(const ObjectAddress& object, const std::string& interfaceName, int dispid) const
{
    if (!exists(object))
        return refuse("no such object");
    const auto offered = interfacesOf(object.kind);
    if (std::find(offered.begin(), offered.end(), interfaceName) == offered.end())
        return refuse("interface not offered: " + interfaceName);
    if (injected(m_faults.failingGets, object, dispid))
        return refuse("injected failure");

    switch (object.kind) {
    case ObjectKind::Application:
        if (dispid != ActivePartProgram)
            break;
        if (m_state == PartProgramState::None)
            return answer(EmptyReference{});
        return answer(ObjectAddress{ObjectKind::PartProgram, 0});
    case ObjectKind::PartProgram:
        if (dispid == DefaultValue)
            return answer(m_state == PartProgramState::ReadsNothing ? std::string("Nothing")
                                                                    : m_program.name);
        if (dispid == CommandCollection)
            return answer(ObjectAddress{ObjectKind::Commands, 0});
        break;
    case ObjectKind::Commands:
        if (dispid == NewEnum) {
            std::vector<ObjectAddress> elements;
            if (m_state == PartProgramState::Active)
                for (std::size_t i = 0; i < m_program.commands.size(); ++i)
                    elements.push_back(ObjectAddress{ObjectKind::Command, i});
            return answer(std::move(elements));
        }
        break;
    case ObjectKind::Command:
        return getFromCommand(object.command, interfaceName, dispid);
    }
    return refuse("unknown dispatch identifier " + std::to_string(dispid));
}

SimReply SimHost::getFromCommand(std::size_t index, const std::string& interfaceName, int dispid) const
{
    const Command& command = m_program.commands[index];
    if (interfaceName == CommandInterface) {
        switch (dispid) {
        case DimensionFlag:
            return answer(command.isDimension);
        case DimensionView:
            if (!command.isDimension)
                return refuse("not a dimension");
            return answer(ObjectAddress{ObjectKind::Command, index});
        case TypeCode:
            return answer(static_cast<std::int32_t>(command.typeCode));
        default:
            break;
        }
    } else if (command.isDimension) {
        switch (dispid) {
        case Nominal:
            return answer(command.nominal);
        case PlusTolerance:
            return answer(command.plus);
        case MinusTolerance:
            return answer(command.minus);
        case AxisText:
            return answer(command.axis);
        default:
            break;
        }
    } else {
        return refuse("not a dimension");
    }
    return refuse("unknown dispatch identifier " + std::to_string(dispid));
}

SimReply SimHost::put(const ObjectAddress& object, const std::string& interfaceName, int dispid, double value)
{
    if (!exists(object) || object.kind != ObjectKind::Command || interfaceName != DimensionInterface)
        return refuse("no such property");
    if (injected(m_faults.failingPuts, object, dispid))
        return refuse("injected failure");
    Command& command = m_program.commands[object.command];
    if (!command.isDimension)
        return refuse("not a dimension");
    if (dispid == PlusTolerance)
        command.plus = value;
    else if (dispid == MinusTolerance)
        command.minus = value;
    else
        return refuse("property cannot be set: " + std::to_string(dispid));
    if (onCommandChanged)
        onCommandChanged(object.command);
    return answer(true);
}

} // namespace sim
