#pragma once

#include "korvant-sim/SimHost.h"

#include <windows.h>
#include <ole2.h>

#include <map>
#include <optional>
#include <utility>
#include <vector>

// The stand-in KORVANT's objects as COM automation objects: every object
// answers IDispatch (no type library; calls go by dispatch identifier), the
// command collection's enumeration is an IEnumVARIANT. Each call is answered
// by the shared part-program model, with its fault injection.
namespace simcom {

// Answers that only COM can give: a real automation server's value types,
// enumerations that break off, and a KORVANT busy with a dialog or a
// measurement, rejecting calls.
struct ComAnswers
{
    std::vector<sim::InjectedFault> emptyGets; // VT_EMPTY instead of the value
    std::vector<sim::InjectedFault> shortGets; // the value as VT_I2 (true is -1)
    std::vector<sim::InjectedFault> textGets;  // the value as automation text
    std::optional<std::size_t> failingNext;    // the enumeration fails at this command (from 1)
    std::optional<std::size_t> leavingNext;    // the host leaves at this step (count + 1: the end's)
    bool falseWithLast = false;                // the last command comes with S_FALSE
    std::optional<long> busyAfterCalls;        // busy once this many calls were answered
    std::optional<long> busyForMs;             // none: busy for ever
    bool retryLater = false;                   // busy answers SERVERCALL_RETRYLATER, not _REJECTED
    // The dimension view is a second dispatch interface of the command object
    // (asked for IDispatch, it gives the command's own), and the command's own
    // interface has members of its own behind the dimension's DISPIDs 10, 14, 15.
    bool secondView = false;
};

// The stand-in's state as the objects see it.
struct Server
{
    sim::SimHost& host;
    ComAnswers answers;
    HWND window = nullptr;
    bool leaving = false; // the window is closing after the last answered call
    // What was put into the command's own members 10, 14 and 15, by command
    // index (0-based) and DISPID; they read as 0 until then.
    std::map<std::pair<std::size_t, int>, double> commandMembers{};

    // Counts the call and applies the injected delay, silence or departure:
    // S_OK when the call is to be answered.
    HRESULT admitCall();
    // Closes the window and answers as a host that has gone.
    HRESULT leave();
};

// Objects handed out and not yet destroyed.
long liveObjects();

// The stand-in's message filter: rejects every incoming call while busy.
class BusyFilter final : public IMessageFilter
{
public:
    explicit BusyFilter(Server& server) : m_server(server) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; } // lives as long as the server
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

private:
    Server& m_server;
    std::optional<ULONGLONG> m_busySince;
};

// The class object registered for "KVTLRN.Application": every request gets
// the one application object that is alive, or a new one when none is.
class ApplicationFactory final : public IClassFactory
{
public:
    explicit ApplicationFactory(Server& server) : m_server(server) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; } // lives as long as the server
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID interfaceId, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    Server& m_server;
};

} // namespace simcom
