#pragma once

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>
#include <QThread>

#include <cstddef>
#include <optional>

// Starts the stand-in KORVANT, waits for it on the session bus, and reads and
// sets a command's numbers in it as any other client would: for checking what
// a transfer wrote.
namespace standin {

inline const QString BusName = QStringLiteral("KVTLRN.Application");

// Waits until the stand-in owns its name on the session bus (or, with
// `present` false, has given it up); false when it did not within 5 s.
inline bool waitOnBus(bool present = true)
{
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    const QDeadlineTimer deadline(5000);
    while (bus->isServiceRegistered(BusName) != present) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(10); // polled as QTRY_ does
    }
    return true;
}

// The headless stand-in (`program`) with these options, on the bus once made;
// stopped, and its name free again for the next one, when this goes.
class Process
{
public:
    Process(const QString& program, const QStringList& options)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, QStringList{QStringLiteral("--headless")} + options);
        m_onBus = waitOnBus();
    }
    ~Process()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
        waitOnBus(false);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool onBus() const { return m_onBus; }

private:
    QProcess m_process;
    bool m_onBus = false;
};

inline QDBusMessage dimensionCall(std::size_t command, const QString& method)
{
    return QDBusMessage::createMethodCall(BusName, QStringLiteral("/Command/%1").arg(command),
                                          QStringLiteral("KVTLRN.Dimension"), method);
}

// A number of command n (from 1), or nothing when the stand-in has none to give.
inline std::optional<double> readNumber(std::size_t command, int dispid)
{
    QDBusMessage call = dimensionCall(command, QStringLiteral("Get"));
    call << dispid;
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return std::nullopt;
    return reply.arguments().at(0).value<QDBusVariant>().variant().toDouble();
}

inline void putNumber(std::size_t command, int dispid, double value)
{
    QDBusMessage call = dimensionCall(command, QStringLiteral("Put"));
    call << dispid << QVariant::fromValue(QDBusVariant(value));
    QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
}

} // namespace standin
