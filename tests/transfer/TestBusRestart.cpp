// The session bus restarting while Dalmerin runs: the next "Ausführen" finds
// KORVANT on the new bus. The test runs its own two buses, one after the other.
#include "transfer/host/PlatformHost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QTest>

#include <memory>

namespace {

// A session bus of its own; the process's bus address points to it while it runs.
class SessionBus
{
public:
    SessionBus()
    {
        m_daemon.start(
            QStringLiteral("dbus-daemon"),
            {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (m_daemon.waitForReadyRead(5000))
            qputenv("DBUS_SESSION_BUS_ADDRESS", m_daemon.readLine().trimmed());
    }
    ~SessionBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }

private:
    QProcess m_daemon;
};

// The headless stand-in on the current session bus, with its sample part program.
class StandIn
{
public:
    StandIn()
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(KORVANT_SIM),
                        {QStringLiteral("--headless"), QStringLiteral(SAMPLE_PART_PROGRAM)});
    }
    ~StandIn()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
};

bool hostReachable()
{
    const std::unique_ptr<korvant::Host> host = createPlatformHost();
    const bool found = host->findHostWindow();
    host->endRun();
    return found;
}

} // namespace

class TestBusRestart : public QObject
{
    Q_OBJECT

private slots:
    void aRunAfterTheBusRestartedConnectsAfresh();
};

void TestBusRestart::aRunAfterTheBusRestartedConnectsAfresh()
{
    auto bus = std::make_unique<SessionBus>();
    auto sim = std::make_unique<StandIn>();
    QTRY_VERIFY_WITH_TIMEOUT(hostReachable(), 5000);

    sim.reset();
    bus.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!QDBusConnection::sessionBus().isConnected(), 5000);
    QVERIFY(!hostReachable());

    bus = std::make_unique<SessionBus>();
    sim = std::make_unique<StandIn>();
    QTRY_VERIFY_WITH_TIMEOUT(hostReachable(), 5000);
    // And the run after that keeps the fresh connection.
    QVERIFY(hostReachable());
    sim.reset();
}

QTEST_GUILESS_MAIN(TestBusRestart)
#include "TestBusRestart.moc"
