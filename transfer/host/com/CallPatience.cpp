#include "transfer/host/com/CallPatience.h"

namespace korvant::patience {

std::optional<Milliseconds> CallWatch::rejected(Milliseconds sinceCall)
{
    m_lastRejection = sinceCall;
    if (sinceCall >= RetryRejectedFor)
        return std::nullopt;
    return RetryPause;
}

bool CallWatch::cancelsWaiting(Milliseconds sinceCall)
{
    // A time below the last rejection's belongs to the next call.
    if (sinceCall < m_lastRejection)
        m_lastRejection = Milliseconds{-1};
    const Milliseconds silentSince = m_lastRejection < Milliseconds{0} ? Milliseconds{0} : m_lastRejection;
    return sinceCall - silentSince >= CancelSilentAfter;
}

} // namespace korvant::patience
