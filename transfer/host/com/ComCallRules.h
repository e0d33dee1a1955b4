#pragma once

#include "transfer/core/KorvantHost.h"
#include "transfer/host/com/CallPatience.h"

#include <windows.h>

// What an HRESULT of a call to KORVANT means for the run, and the retry of a
// call that a busy KORVANT rejects.
namespace comcalls {

// The host process is gone or no longer reachable: the run cannot go on.
bool meansConnectionLost(HRESULT result);
// KORVANT shows a dialog or measures and takes no calls for now.
bool meansRejected(HRESULT result);
korvant::CallStatus statusOf(HRESULT result);

// The system's tick count and Sleep, as the retries see time.
class TickClock : public korvant::patience::Clock
{
public:
    korvant::patience::Milliseconds now() override;
    void pause(korvant::patience::Milliseconds duration) override;
};

// Makes a call again while KORVANT rejects it, within the patience's limits.
// Wine never asks the message filter about a rejected call, so the adapter
// retries itself; where the platform asked the filter, the time is used up
// already and the rejection stands.
template <typename Call> HRESULT patiently(Call call)
{
    TickClock clock;
    HRESULT outcome = S_OK;
    korvant::patience::retryWhileRejected(clock, [&] {
        outcome = call();
        return meansRejected(outcome);
    });
    return outcome;
}

// A late-bound call by dispatch identifier, made patiently.
HRESULT invoke(IDispatch* object, int dispid, WORD kind, DISPPARAMS& parameters, VARIANT* result);

} // namespace comcalls
