#pragma once

#include "transfer/core/KorvantHost.h"
#include "transfer/host/ReferenceTable.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

#include <cstdint>

// KORVANT over the D-Bus session bus. The host owns the name
// "KVTLRN.Application"; its objects answer Get(i dispid) -> v and
// Put(i dispid, v value) on the interfaces KVTLRN.Application,
// KVTLRN.PartProgram, KVTLRN.Commands, KVTLRN.Command and KVTLRN.Dimension.
// Every call is one blocking QDBusMessage on one connection, with a timeout;
// beyond the owner look-up and one introspection per run nothing else is sent.
class DBusHost : public korvant::Host
{
public:
    static constexpr int DefaultTimeoutMs = 3000;

    explicit DBusHost(QDBusConnection bus = QDBusConnection::sessionBus(), int timeoutMs = DefaultTimeoutMs);

    bool findHostWindow() override;
    korvant::CallResult<korvant::ObjectRef> createApplication() override;
    korvant::CallResult<korvant::Value> get(korvant::ObjectRef object, korvant::Interface interface,
                                            int dispid) override;
    korvant::CallStatus put(korvant::ObjectRef object, korvant::Interface interface, int dispid,
                            const korvant::Value& value) override;
    korvant::CallResult<std::unique_ptr<korvant::Enumerator>>
    enumerate(korvant::ObjectRef collection) override;
    void release(korvant::ObjectRef object) override;
    void endRun() override;

    // Messages this host has sent since it was made.
    std::uint64_t messagesSent() const { return m_messagesSent; }

    // A reference to the object at this path ("/" is the empty reference).
    korvant::ObjectRef refer(const QString& path);

private:
    struct Reply
    {
        korvant::CallStatus status;
        QDBusMessage message;
    };

    Reply send(const QDBusMessage& call);
    Reply callObject(korvant::ObjectRef object, korvant::Interface interface, const QString& method,
                     const QList<QVariant>& arguments);
    korvant::CallResult<korvant::Value> toValue(const QVariant& variant);

    QDBusConnection m_bus;
    int m_timeoutMs;
    QString m_owner;                          // the unique name of the host found for this run
    korvant::ReferenceTable<QString> m_paths; // the object paths of the references handed out
    std::uint64_t m_messagesSent = 0;
};
