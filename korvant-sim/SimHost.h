#pragma once

#include "korvant-sim/PartProgram.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

// The stand-in KORVANT's objects and their late-bound operations, without any
// transport: the D-Bus stand-in and the COM stand-in both serve this.
namespace sim {

enum class ObjectKind
{
    Application,
    PartProgram,
    Commands,
    Command
};

struct ObjectAddress
{
    ObjectKind kind = ObjectKind::Application;
    std::size_t command = 0; // 0-based index, for commands only

    bool operator==(const ObjectAddress& other) const
    {
        return kind == other.kind && command == other.command;
    }
};

// The interface names a call is addressed to; a command offers both
// "KVTLRN.Command" and "KVTLRN.Dimension".
std::vector<std::string> interfacesOf(ObjectKind kind);

struct EmptyReference
{
};

using SimValue = std::variant<bool, std::int32_t, double, std::string, ObjectAddress, EmptyReference,
                              std::vector<ObjectAddress>>;

struct SimReply
{
    bool ok = false;
    SimValue value;
    std::string error; // why the call failed
};

// A chosen operation that fails: its dispatch identifier, and the 1-based
// numbers of the commands it fails on (none: on every object).
struct InjectedFault
{
    int dispid = 0;
    std::set<std::size_t> commands;
};

// Whether the fault applies to this call.
bool appliesTo(const InjectedFault& fault, const ObjectAddress& object, int dispid);

struct FaultPlan
{
    std::vector<InjectedFault> failingGets;
    std::vector<InjectedFault> failingPuts;
    int replyDelayMs = 0;
    std::optional<long> leaveAfterCalls; // the host leaves the bus after answering this many calls
    std::optional<long> hangAfterCalls;  // the host answers no call after this many
};

// What the transport does with the call it was just handed.
enum class CallHandling
{
    Answer,
    AnswerThenLeave,
    Ignore
};

enum class PartProgramState
{
    Active,
    None,
    ReadsNothing
};

class SimHost
{
public:
    SimHost(PartProgram program, PartProgramState state, FaultPlan faults);

    // Counts the call and says whether and how it is answered.
    CallHandling admitCall();

    SimReply get(const ObjectAddress& object, const std::string& interfaceName, int dispid) const;
    SimReply put(const ObjectAddress& object, const std::string& interfaceName, int dispid, double value);

    const PartProgram& program() const { return m_program; }
    const FaultPlan& faults() const { return m_faults; }
    long callCount() const { return m_calls; }

    // Told after a put changed command `index` (0-based).
    std::function<void(std::size_t index)> onCommandChanged;

private:
    SimReply getFromCommand(std::size_t index, const std::string& interfaceName, int dispid) const;
    bool injected(const std::vector<InjectedFault>& faults, const ObjectAddress& object, int dispid) const;
    bool exists(const ObjectAddress& object) const;

    PartProgram m_program;
    PartProgramState m_state;
    FaultPlan m_faults;
    long m_calls = 0;
};

} // namespace sim
