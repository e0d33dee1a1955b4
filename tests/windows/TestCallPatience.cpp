// How long the COM connection waits for a busy or silent KORVANT: plain C++
// decisions, tested with a fake clock on every platform.
#include "transfer/host/com/CallPatience.h"

#include <QTest>

using namespace korvant::patience;
using namespace std::chrono_literals;

namespace {

// Time moves only when the retry loop pauses.
class FakeClock : public Clock
{
public:
    Milliseconds time{5000};
    Milliseconds now() override { return time; }
    void pause(Milliseconds duration) override { time += duration; }
};

} // namespace

class TestCallPatience : public QObject
{
    Q_OBJECT

private slots:
    void hostFreeAfterTwoSecondsIsWaitedFor()
    {
        FakeClock clock;
        const Milliseconds start = clock.time;
        int attempts = 0;
        const bool gaveUp = retryWhileRejected(clock, [&] {
            ++attempts;
            return clock.time - start < 2000ms;
        });
        QVERIFY(!gaveUp);
        QCOMPARE(clock.time - start, 2000ms);
        QCOMPARE(attempts, 21); // every 100 ms
    }

    void hostBusyForEverIsGivenUpAfterTenSeconds()
    {
        FakeClock clock;
        const Milliseconds start = clock.time;
        QVERIFY(retryWhileRejected(clock, [] { return true; }));
        QCOMPARE(clock.time - start, RetryRejectedFor);
    }

    void answeredCallIsMadeOnce()
    {
        FakeClock clock;
        int attempts = 0;
        QVERIFY(!retryWhileRejected(clock, [&] { return ++attempts < 0; }));
        QCOMPARE(attempts, 1);
        QCOMPARE(clock.time, 5000ms);
    }

    void filterRetriesRejectedCallsForTenSeconds()
    {
        CallWatch watch;
        QCOMPARE(watch.rejected(0ms), std::optional<Milliseconds>(RetryPause));
        QCOMPARE(watch.rejected(9999ms), std::optional<Milliseconds>(RetryPause));
        QCOMPARE(watch.rejected(10000ms), std::nullopt);
    }

    void filterCancelsCallsSilentForThreeSeconds()
    {
        CallWatch watch;
        QVERIFY(!watch.cancelsWaiting(250ms));
        QVERIFY(!watch.cancelsWaiting(2999ms));
        QVERIFY(watch.cancelsWaiting(3000ms));
    }

    // A call retried because KORVANT is busy is alive, however long it takes;
    // silence counts from the last rejection, until the next call begins.
    void rejectionIsNoSilence()
    {
        CallWatch watch;
        QVERIFY(watch.rejected(6000ms));
        QVERIFY(!watch.cancelsWaiting(8000ms));
        QVERIFY(watch.cancelsWaiting(9000ms));
        QVERIFY(!watch.cancelsWaiting(500ms)); // the next call
        QVERIFY(watch.cancelsWaiting(3000ms));
    }
};

QTEST_GUILESS_MAIN(TestCallPatience)
#include "TestCallPatience.moc"
