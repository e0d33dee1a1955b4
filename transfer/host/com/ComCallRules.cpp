#include "transfer/host/com/ComCallRules.h"

#include <oleauto.h>

using korvant::CallStatus;

namespace comcalls {

bool meansConnectionLost(HRESULT result)
{
    static const HRESULT Lost[] = {
        RPC_E_DISCONNECTED,
        RPC_E_SERVER_DIED,
        RPC_E_SERVER_DIED_DNE,
        RPC_E_CALL_CANCELED,
        RPC_E_TIMEOUT,
        CO_E_OBJNOTCONNECTED,
        HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE),
        HRESULT_FROM_WIN32(RPC_S_CALL_FAILED),
        HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE),
    };
    for (HRESULT lost : Lost)
        if (result == lost)
            return true;
    return false;
}

bool meansRejected(HRESULT result)
{
    return result == RPC_E_CALL_REJECTED || result == RPC_E_SERVERCALL_RETRYLATER;
}

CallStatus statusOf(HRESULT result)
{
    if (SUCCEEDED(result))
        return CallStatus::Ok;
    if (meansRejected(result))
        return CallStatus::Busy;
    return meansConnectionLost(result) ? CallStatus::ConnectionLost : CallStatus::Failed;
}

korvant::patience::Milliseconds TickClock::now()
{
    return korvant::patience::Milliseconds(GetTickCount64());
}

void TickClock::pause(korvant::patience::Milliseconds duration)
{
    Sleep(static_cast<DWORD>(duration.count()));
}

HRESULT invoke(IDispatch* object, int dispid, WORD kind, DISPPARAMS& parameters, VARIANT* result)
{
    return patiently([&] {
        EXCEPINFO exception{};
        UINT wrongArgument = 0;
        const HRESULT outcome = object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                                               result, &exception, &wrongArgument);
        if (outcome == DISP_E_EXCEPTION) {
            SysFreeString(exception.bstrSource);
            SysFreeString(exception.bstrDescription);
            SysFreeString(exception.bstrHelpFile);
        }
        return outcome;
    });
}

} // namespace comcalls
