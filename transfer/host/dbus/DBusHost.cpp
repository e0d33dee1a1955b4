#include "transfer/host/dbus/DBusHost.h"

#include "transfer/host/PlatformHost.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusObjectPath>
#include <QDBusVariant>

using namespace korvant;

namespace {

const QString BusName = QString::fromLatin1(interfaceName(Interface::Application));
const QString ApplicationPath = QStringLiteral("/Application");
const QString EmptyReferencePath = QStringLiteral("/");

// No answer in time, or nobody there to answer: the connection is gone.
bool meansConnectionLost(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ErrorMessage)
        return reply.type() != QDBusMessage::ReplyMessage;
    switch (QDBusError(reply).type()) {
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
    case QDBusError::ServiceUnknown:
    case QDBusError::Disconnected:
    case QDBusError::NoServer:
    case QDBusError::NoNetwork:
        return true;
    default:
        return false;
    }
}

// The reply's one argument, a variant, unwrapped.
std::optional<QVariant> variantArgument(const QDBusMessage& reply)
{
    const QList<QVariant> arguments = reply.arguments();
    if (arguments.size() != 1 || arguments.at(0).metaType() != QMetaType::fromType<QDBusVariant>())
        return std::nullopt;
    return arguments.at(0).value<QDBusVariant>().variant();
}

// The paths of an enumeration, kept in one block: a large part program costs
// little more than its paths' characters.
class PathEnumerator : public Enumerator
{
public:
    PathEnumerator(DBusHost& host, const QDBusArgument& paths) : m_host(host)
    {
        paths.beginArray();
        while (!paths.atEnd()) {
            QDBusObjectPath path;
            paths >> path;
            m_text += path.path().toStdString();
            m_ends.push_back(m_text.size());
        }
        paths.endArray();
    }

    std::optional<std::size_t> count() const override { return m_ends.size(); }

    CallResult<std::optional<ObjectRef>> next() override
    {
        if (m_next == m_ends.size())
            return {CallStatus::Ok, std::nullopt};
        const std::size_t begin = m_next == 0 ? 0 : m_ends[m_next - 1];
        const std::size_t end = m_ends[m_next++];
        const QString path = QString::fromUtf8(m_text.data() + begin, static_cast<qsizetype>(end - begin));
        return {CallStatus::Ok, m_host.refer(path)};
    }

private:
    DBusHost& m_host;
    std::string m_text;
    std::vector<std::size_t> m_ends;
    std::size_t m_next = 0;
};

} // namespace

std::unique_ptr<Host> createPlatformHost()
{
    // Qt's session bus connection, once lost (the bus restarted), stays lost
    // for the rest of the process: a run that finds it gone connects afresh,
    // to the address given now (the bus library keeps the first one it read).
    static const QString FreshConnection = QStringLiteral("dalmerin-session");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        bus = QDBusConnection(FreshConnection);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(FreshConnection);
        const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
        bus = address.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, FreshConnection)
                                : QDBusConnection::connectToBus(address, FreshConnection);
    }
    return std::make_unique<DBusHost>(bus);
}

DBusHost::DBusHost(QDBusConnection bus, int timeoutMs) : m_bus(std::move(bus)), m_timeoutMs(timeoutMs) {}

DBusHost::Reply DBusHost::send(const QDBusMessage& call)
{
    ++m_messagesSent;
    QDBusMessage reply = m_bus.call(call, QDBus::Block, m_timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return {CallStatus::Ok, std::move(reply)};
    return {meansConnectionLost(reply) ? CallStatus::ConnectionLost : CallStatus::Failed, std::move(reply)};
}

DBusHost::Reply DBusHost::callObject(ObjectRef object, Interface interface, const QString& method,
                                     const QList<QVariant>& arguments)
{
    const QString* path = m_paths.find(object);
    if (!path)
        return {CallStatus::Failed, {}};
    QDBusMessage call =
        QDBusMessage::createMethodCall(m_owner, *path, QString::fromLatin1(interfaceName(interface)), method);
    call.setArguments(arguments);
    return send(call);
}

bool DBusHost::findHostWindow()
{
    // The unique name of the owner: every later call goes to this one host,
    // even should another take the well-known name meanwhile.
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
    call << BusName;
    const Reply reply = send(call);
    const QList<QVariant> arguments = reply.message.arguments();
    if (reply.status != CallStatus::Ok || arguments.size() != 1)
        return false;
    m_owner = arguments.at(0).toString();
    return !m_owner.isEmpty();
}

CallResult<ObjectRef> DBusHost::createApplication()
{
    const QDBusMessage call = QDBusMessage::createMethodCall(
        m_owner, ApplicationPath, QStringLiteral("org.freedesktop.DBus.Introspectable"),
        QStringLiteral("Introspect"));
    const Reply reply = send(call);
    if (reply.status != CallStatus::Ok)
        return {reply.status, {}};
    const QList<QVariant> arguments = reply.message.arguments();
    const QString offered = QStringLiteral("<interface name=\"%1\">")
                                .arg(QString::fromLatin1(interfaceName(Interface::Application)));
    if (arguments.size() != 1 || !arguments.at(0).toString().contains(offered))
        return {CallStatus::Failed, {}};
    return {CallStatus::Ok, refer(ApplicationPath)};
}

ObjectRef DBusHost::refer(const QString& path)
{
    if (path == EmptyReferencePath)
        return {};
    return m_paths.keep(path);
}

void DBusHost::release(ObjectRef object)
{
    m_paths.take(object);
}

void DBusHost::endRun()
{
    m_paths.clear([](const QString&) {});
    m_owner.clear();
}

CallResult<Value> DBusHost::toValue(const QVariant& variant)
{
    switch (variant.metaType().id()) {
    case QMetaType::Bool:
        return {CallStatus::Ok, variant.toBool()};
    case QMetaType::Int:
        return {CallStatus::Ok, static_cast<std::int32_t>(variant.toInt())};
    case QMetaType::Double:
        return {CallStatus::Ok, variant.toDouble()};
    case QMetaType::QString:
        return {CallStatus::Ok, variant.toString().toStdString()};
    default:
        break;
    }
    if (variant.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return {CallStatus::Ok, refer(variant.value<QDBusObjectPath>().path())};
    return {CallStatus::Failed, {}};
}

CallResult<Value> DBusHost::get(ObjectRef object, Interface interface, int dispid)
{
    const Reply reply = callObject(object, interface, QStringLiteral("Get"), {dispid});
    if (reply.status != CallStatus::Ok)
        return {reply.status, {}};
    const auto variant = variantArgument(reply.message);
    if (!variant)
        return {CallStatus::Failed, {}};
    return toValue(*variant);
}

CallStatus DBusHost::put(ObjectRef object, Interface interface, int dispid, const Value& value)
{
    struct ToVariant
    {
        const DBusHost& host;
        QVariant operator()(std::monostate) const { return {}; }
        QVariant operator()(bool flag) const { return flag; }
        QVariant operator()(std::int32_t integer) const { return integer; }
        QVariant operator()(double number) const { return number; }
        QVariant operator()(const std::string& text) const { return QString::fromStdString(text); }
        QVariant operator()(ObjectRef reference) const
        {
            const QString* path = host.m_paths.find(reference);
            return QVariant::fromValue(QDBusObjectPath(path ? *path : EmptyReferencePath));
        }
    };
    const QVariant variant = std::visit(ToVariant{*this}, value);
    if (!variant.isValid())
        return CallStatus::Failed; // nothing to send: D-Bus has no empty value
    return callObject(object, interface, QStringLiteral("Put"),
                      {dispid, QVariant::fromValue(QDBusVariant(variant))})
        .status;
}

CallResult<std::unique_ptr<Enumerator>> DBusHost::enumerate(ObjectRef collection)
{
    const Reply reply =
        callObject(collection, Interface::Commands, QStringLiteral("Get"), {dispid::Enumeration});
    if (reply.status != CallStatus::Ok)
        return {reply.status, nullptr};
    const auto variant = variantArgument(reply.message);
    if (!variant || variant->metaType() != QMetaType::fromType<QDBusArgument>())
        return {CallStatus::Failed, nullptr};
    const QDBusArgument paths = variant->value<QDBusArgument>();
    if (paths.currentSignature() != QLatin1String("ao"))
        return {CallStatus::Failed, nullptr};
    return {CallStatus::Ok, std::make_unique<PathEnumerator>(*this, paths)};
}
