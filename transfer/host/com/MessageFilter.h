#pragma once

#include "transfer/host/com/CallPatience.h"

#include <windows.h>
#include <ole2.h>

// The thread's COM message filter while a connection lives: where the
// platform asks, a rejected call is retried and a call that KORVANT leaves
// unanswered is cancelled (see CallPatience.h). A thread timer makes sure that
// messages arrive, and so the filter is asked, while a call waits. Dalmerin
// serves no calls of its own.
class PatientMessageFilter final : public IMessageFilter
{
public:
    // Registers the filter for the calling thread, the previous one kept.
    PatientMessageFilter();
    // Puts the previous filter back.
    ~PatientMessageFilter();
    PatientMessageFilter(const PatientMessageFilter&) = delete;
    PatientMessageFilter& operator=(const PatientMessageFilter&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interfaceId, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; } // lives as long as its connection
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD sinceCall, DWORD) override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD sinceCall, DWORD) override;

private:
    korvant::patience::CallWatch m_watch;
    bool m_registered = false;
    IMessageFilter* m_previous = nullptr;
    UINT_PTR m_wakeTimer = 0;
};
