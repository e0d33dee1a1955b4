#pragma once

#include <chrono>
#include <optional>

// How long the COM connection waits for a KORVANT that is busy or silent.
// While KORVANT shows a dialog or measures it rejects calls: a rejected call
// is made again after a short pause, for up to 10 seconds in all, then the run
// is given up as busy. A call that has waited 3 seconds for its answer, with
// no rejection in between, is cancelled: the host has hung. Plain C++, so the
// decisions are tested with a fake clock on every platform.
namespace korvant::patience {

using Milliseconds = std::chrono::milliseconds;

constexpr Milliseconds RetryRejectedFor{10000};
constexpr Milliseconds CancelSilentAfter{3000};
constexpr Milliseconds RetryPause{100};

// The decisions for one outgoing call after another, as a message filter
// makes them. Times are counted from the moment the call was first made.
class CallWatch
{
public:
    // The call was rejected: the pause before it is made again, or nothing
    // when it has been retried for long enough.
    std::optional<Milliseconds> rejected(Milliseconds sinceCall);
    // Messages arrived while the call waits for its answer: whether it is
    // cancelled. Silence counts from the call's start or its last rejection.
    bool cancelsWaiting(Milliseconds sinceCall);

private:
    Milliseconds m_lastRejection{-1};
};

// The time seen by the retries the adapter makes itself, and their pauses.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual Milliseconds now() = 0;
    virtual void pause(Milliseconds duration) = 0;
};

// Makes a call until it is not rejected or has been retried for long enough.
// `attempt` makes the call once and says whether it was rejected; the result
// says whether the last attempt was rejected still.
template <typename Attempt> bool retryWhileRejected(Clock& clock, Attempt attempt)
{
    const Milliseconds start = clock.now();
    CallWatch watch;
    while (attempt()) {
        const std::optional<Milliseconds> pause = watch.rejected(clock.now() - start);
        if (!pause)
            return true;
        clock.pause(*pause);
    }
    return false;
}

} // namespace korvant::patience
