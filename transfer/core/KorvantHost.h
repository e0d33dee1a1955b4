#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>

// KORVANT's automation as the transfer sees it: objects reached by late-bound
// gets and puts by dispatch identifier. One implementation per platform (D-Bus
// on Linux, COM on Windows); the transfer command knows only this interface.
namespace korvant {

// The KORVANT interface a call is addressed to. Over COM every reference is
// asked for IDispatch; over D-Bus this names the interface of the call.
enum class Interface
{
    Application,
    PartProgram,
    Commands,
    Command,
    Dimension
};

// The interface's name as KORVANT gives it: "KVTLRN.Application" (also the
// name the host is registered by), "KVTLRN.PartProgram" and so on.
inline const char* interfaceName(Interface interface)
{
    switch (interface) {
    case Interface::Application:
        return "KVTLRN.Application";
    case Interface::PartProgram:
        return "KVTLRN.PartProgram";
    case Interface::Commands:
        return "KVTLRN.Commands";
    case Interface::Command:
        return "KVTLRN.Command";
    case Interface::Dimension:
        return "KVTLRN.Dimension";
    }
    return "";
}

// Dispatch identifiers of the operations the transfer uses.
namespace dispid {
constexpr int ActivePartProgram = 2; // application: get, an object or the empty reference
constexpr int DefaultValue = 0;      // part program: get, text; "Nothing" when none is active
constexpr int Commands = 11;         // part program: get, the command collection
constexpr int Enumeration = -4;      // command collection: the standard enumeration
constexpr int DimensionFlag = 17;    // command: get, Boolean
constexpr int DimensionView = 8;     // command: get, the command as a dimension
constexpr int TypeCode = 6;          // command: get, 32-bit integer
constexpr int Nominal = 10;          // dimension: get, number
constexpr int PlusTolerance = 15;    // dimension: get and put, number
constexpr int MinusTolerance = 14;   // dimension: get and put, number
constexpr int AxisText = 29;         // dimension: get, text
} // namespace dispid

// A reference to a host object, handed out by the host and valid until it is
// released or the run ends. Id 0 is the empty reference.
struct ObjectRef
{
    std::uint64_t id = 0;

    bool isEmpty() const { return id == 0; }
    bool operator==(const ObjectRef& other) const { return id == other.id; }
};

// A value as it travels: nothing, Boolean, 32-bit integer, double, UTF-8 text
// or an object reference.
using Value = std::variant<std::monostate, bool, std::int32_t, double, std::string, ObjectRef>;

// An ordinary failed call (error reply, unknown operation, wrong type) lets the
// run go on; a lost connection (no answer in time, host gone) ends it, and so
// does a host that kept rejecting the call because it is busy.
enum class CallStatus
{
    Ok,
    Failed,
    ConnectionLost,
    Busy
};

template <typename T> struct CallResult
{
    CallStatus status = CallStatus::Failed;
    T value{};

    bool ok() const { return status == CallStatus::Ok; }
};

// Walks a command collection one element at a time. Every element returned is
// a reference the caller owns and releases.
class Enumerator
{
public:
    virtual ~Enumerator() = default;

    // How many elements the walk yields, where the host tells it in advance.
    virtual std::optional<std::size_t> count() const = 0;
    // The next element; an Ok result without a value is the end of the walk.
    virtual CallResult<std::optional<ObjectRef>> next() = 0;
};

class Host
{
public:
    virtual ~Host() = default;

    // Whether the running KORVANT can be found (its main window, or its name on the bus).
    virtual bool findHostWindow() = 0;
    // KORVANT's application object; any failure means no connection.
    virtual CallResult<ObjectRef> createApplication() = 0;

    // A property value or method result by dispatch identifier. An object in
    // the result is a reference the caller owns.
    virtual CallResult<Value> get(ObjectRef object, Interface addressedTo, int dispid) = 0;
    virtual CallStatus put(ObjectRef object, Interface addressedTo, int dispid, const Value& value) = 0;
    // The standard enumeration of a collection (dispatch identifier -4).
    virtual CallResult<std::unique_ptr<Enumerator>> enumerate(ObjectRef collection) = 0;

    // Gives up one reference; releasing the empty reference does nothing.
    virtual void release(ObjectRef object) = 0;
    // The run is over: whatever the host still holds for it is given up.
    virtual void endRun() = 0;
};

} // namespace korvant
