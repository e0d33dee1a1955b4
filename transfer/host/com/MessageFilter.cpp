#include "transfer/host/com/MessageFilter.h"

namespace {

// How often a message arrives while a call waits, so that the filter is asked.
constexpr UINT WakeIntervalMs = 250;

} // namespace

PatientMessageFilter::PatientMessageFilter()
{
    m_registered = SUCCEEDED(CoRegisterMessageFilter(this, &m_previous));
    // A thread timer: its messages reach the waiting call without any window.
    m_wakeTimer = SetTimer(nullptr, 0, WakeIntervalMs, nullptr);
}

PatientMessageFilter::~PatientMessageFilter()
{
    if (m_wakeTimer)
        KillTimer(nullptr, m_wakeTimer);
    if (m_registered) {
        IMessageFilter* ours = nullptr;
        CoRegisterMessageFilter(m_previous, &ours);
        if (m_previous)
            m_previous->Release();
    }
}

HRESULT PatientMessageFilter::QueryInterface(REFIID interfaceId, void** object)
{
    if (interfaceId == IID_IUnknown || interfaceId == IID_IMessageFilter) {
        *object = static_cast<IMessageFilter*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

DWORD PatientMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO)
{
    return SERVERCALL_ISHANDLED;
}

DWORD PatientMessageFilter::RetryRejectedCall(HTASK, DWORD sinceCall, DWORD)
{
    const auto pause = m_watch.rejected(korvant::patience::Milliseconds(sinceCall));
    return pause ? static_cast<DWORD>(pause->count()) : static_cast<DWORD>(-1);
}

DWORD PatientMessageFilter::MessagePending(HTASK, DWORD sinceCall, DWORD)
{
    return m_watch.cancelsWaiting(korvant::patience::Milliseconds(sinceCall)) ? PENDINGMSG_CANCELCALL
                                                                              : PENDINGMSG_WAITDEFPROCESS;
}
