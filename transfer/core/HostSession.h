#pragma once

#include "transfer/core/KorvantHost.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

class TransferPort;

// The host calls every command that talks to KORVANT makes (the transfer, its
// preview and its undo): references given up when no longer needed, reads
// that fail softly, and a run that stops at once when the host is gone,
// silent or busy for too long.
namespace korvant {

// Why a run stops before its end.
enum class StopCause
{
    ConnectionLost,
    Busy,
    ListBroken, // a step of the command list's enumeration failed: the commands after it are unknown
    Cancelled   // "Abbrechen", seen before a call
};

// Thrown when a call finds the host gone, silent or busy, when the command
// list breaks off, or before a call once "Abbrechen" was asked for: the run
// stops and says why.
struct RunStopped
{
    StopCause cause;
};

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
// wrong type gives no value; a lost connection or a busy host ends the run,
// and so does "Abbrechen", asked of the port before every call.
class Session
{
public:
    Session(Host& host, TransferPort& port) : m_host(host), m_port(port) {}

    // While one lives, calls go on whatever the port asks: the second put of
    // a dimension follows its first.
    class Unbroken
    {
    public:
        explicit Unbroken(Session& session) : m_session(session) { ++m_session.m_unbroken; }
        ~Unbroken() { --m_session.m_unbroken; }
        Unbroken(const Unbroken&) = delete;
        Unbroken& operator=(const Unbroken&) = delete;

    private:
        Session& m_session;
    };

    Reference adopt(ObjectRef object) { return Reference(m_host, object); }

    // An object reference; empty when the read fails or brings no object.
    Reference readObject(const Reference& from, Interface interface, int dispid);
    std::optional<bool> readBool(const Reference& from, Interface interface, int dispid);
    std::optional<std::int32_t> readInteger(const Reference& from, Interface interface, int dispid);
    std::optional<double> readNumber(const Reference& from, Interface interface, int dispid);
    std::optional<std::string> readText(const Reference& from, Interface interface, int dispid);
    // Any value but an object or nothing reads as text (only "Nothing" matters).
    std::optional<std::string> readAnyText(const Reference& from, Interface interface, int dispid);

    // Whether the put went through; a failed put lets the run go on.
    bool write(const Reference& to, Interface interface, int dispid, double value);

    std::unique_ptr<Enumerator> enumerate(const Reference& collection);
    // The next command, or nothing at the list's end; a step that fails stops the run.
    std::optional<Reference> next(Enumerator& enumerator);

private:
    // Throws RunStopped when "Abbrechen" was asked for and no Unbroken lives.
    void admit();
    Value read(const Reference& from, Interface interface, int dispid);
    Value readScalar(const Reference& from, Interface interface, int dispid);

    Host& m_host;
    TransferPort& m_port;
    int m_unbroken = 0;
};

// What the transfer reads of one command, in its order: dimension flag,
// dimension view, type code, then (unless the type is never a dimension the
// transfer writes) nominal, plus, minus tolerance and axis. Reading stops at
// the first read that fails; what was read before it is kept.
struct CommandReading
{
    bool flagRead = true;     // false: the flag's read failed or brought no Boolean
    bool isDimension = false; // the flag read true
    std::optional<Reference> dimension;
    std::optional<std::int32_t> typeCode;
    std::optional<double> nominal;
    std::optional<double> plus;
    std::optional<double> minus; // as KORVANT holds it
    std::optional<std::string> axis;
    bool readFailed = false;
};

CommandReading readCommand(Session& session, const Reference& command);

// Type codes whose dimensions are never written, and whose values are not read.
bool typeIsLeftOut(std::int32_t typeCode);
// The axis texts the transfer writes into; type codes 1106 and 1107 whatever their axis.
bool qualifies(const std::string& axis, std::int32_t typeCode);

// KORVANT's active part program, reached as every command reaches it.
struct Attachment
{
    Reference application;
    Reference partProgram;
    std::string defaultValue; // the part program's default value text
};

// Looks for KORVANT, attaches to its application object and takes the active
// part program, in that order; on the way tells the port the first refusal
// ("KORVANT muß gestartet werden", no connection, no part program) and gives
// nothing. A busy host or a lost connection on the way is thrown as RunStopped.
std::optional<Attachment> attach(Session& session, Host& host, TransferPort& port);

} // namespace korvant
