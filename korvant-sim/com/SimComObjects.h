#pragma once

#include "SimHost.h"

#include <windows.h>
#include <ole2.h>

// The stand-in KORVANT's objects as COM automation objects: every object
// answers IDispatch (no type library; calls go by dispatch identifier), the
// command collection's enumeration is an IEnumVARIANT. Each call is answered
// by the shared part-program model, with its fault injection.
namespace simcom {

// The stand-in's state as the objects see it.
struct Server
{
    sim::SimHost& host;
    HWND window = nullptr;
    bool leaving = false; // the window is closing after the last answered call

    // Counts the call and applies the injected delay, silence or departure:
    // S_OK when the call is to be answered.
    HRESULT admitCall();
};

// Objects handed out and not yet destroyed.
long liveObjects();

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
