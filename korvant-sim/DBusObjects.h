#pragma once

#include "korvant-sim/SimHost.h"

#include <QDBusVirtualObject>

#include <optional>

// Serves the stand-in's objects on the bus: "/Application", "/PartProgram",
// "/Commands" and "/Command/N" (N from 1), each answering Get(i) -> v and
// Put(i, v) on the KVTLRN interfaces it offers.
class DBusObjects : public QDBusVirtualObject
{
    Q_OBJECT

public:
    // Faults of the application object itself, for tests of a failed connection.
    enum class ApplicationObject
    {
        Normal,
        Missing,
        Foreign
    };

    DBusObjects(sim::SimHost& host, ApplicationObject application, QObject* parent = nullptr);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

signals:
    // The call that was the last one to answer has been answered.
    void leaveRequested();

private:
    std::optional<sim::ObjectAddress> addressOf(const QString& path) const;
    QDBusMessage answer(const QDBusMessage& call);

    sim::SimHost& m_host;
    ApplicationObject m_application;
};
