#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

#include <cstddef>
#include <optional>

// Reads and sets a command's numbers in the stand-in KORVANT on the session
// bus, as any other client of it would: for checking what a transfer wrote.
namespace standin {

inline QDBusMessage dimensionCall(std::size_t command, const QString& method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("KVTLRN.Application"),
                                          QStringLiteral("/Command/%1").arg(command),
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
