#include "korvant-sim/DBusObjects.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QTimer>

namespace {

const QString CommandPathPrefix = QStringLiteral("/Command/");
const QString ForeignInterface = QStringLiteral("KVTLRN.Other");
const QString FailedError = QStringLiteral("KVTLRN.Error.Failed");

QString pathOf(const sim::ObjectAddress& address)
{
    switch (address.kind) {
    case sim::ObjectKind::Application:
        return QStringLiteral("/Application");
    case sim::ObjectKind::PartProgram:
        return QStringLiteral("/PartProgram");
    case sim::ObjectKind::Commands:
        return QStringLiteral("/Commands");
    case sim::ObjectKind::Command:
        return CommandPathPrefix + QString::number(address.command + 1);
    }
    return QStringLiteral("/");
}

QVariant toVariant(const sim::SimValue& value)
{
    struct Converter
    {
        QVariant operator()(bool flag) const { return flag; }
        QVariant operator()(std::int32_t integer) const { return integer; }
        QVariant operator()(double number) const { return number; }
        QVariant operator()(const std::string& text) const { return QString::fromStdString(text); }
        QVariant operator()(const sim::ObjectAddress& address) const
        {
            return QVariant::fromValue(QDBusObjectPath(pathOf(address)));
        }
        QVariant operator()(sim::EmptyReference) const
        {
            return QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")));
        }
        QVariant operator()(const std::vector<sim::ObjectAddress>& addresses) const
        {
            QList<QDBusObjectPath> paths;
            paths.reserve(static_cast<qsizetype>(addresses.size()));
            for (const auto& address : addresses)
                paths.append(QDBusObjectPath(pathOf(address)));
            return QVariant::fromValue(paths);
        }
    };
    return std::visit(Converter{}, value);
}

QString interfaceXml(const QString& name)
{
    return QStringLiteral("  <interface name=\"%1\">\n"
                          "    <method name=\"Get\">\n"
                          "      <arg name=\"dispid\" type=\"i\" direction=\"in\"/>\n"
                          "      <arg name=\"value\" type=\"v\" direction=\"out\"/>\n"
                          "    </method>\n"
                          "    <method name=\"Put\">\n"
                          "      <arg name=\"dispid\" type=\"i\" direction=\"in\"/>\n"
                          "      <arg name=\"value\" type=\"v\" direction=\"in\"/>\n"
                          "    </method>\n"
                          "  </interface>\n")
        .arg(name);
}

} // namespace

DBusObjects::DBusObjects(sim::SimHost& host, ApplicationObject application, QObject* parent)
    : QDBusVirtualObject(parent), m_host(host), m_application(application)
{
}

std::optional<sim::ObjectAddress> DBusObjects::addressOf(const QString& path) const
{
    if (path == QLatin1String("/Application") && m_application != ApplicationObject::Missing)
        return sim::ObjectAddress{sim::ObjectKind::Application, 0};
    if (path == QLatin1String("/PartProgram"))
        return sim::ObjectAddress{sim::ObjectKind::PartProgram, 0};
    if (path == QLatin1String("/Commands"))
        return sim::ObjectAddress{sim::ObjectKind::Commands, 0};
    if (path.startsWith(CommandPathPrefix)) {
        bool isNumber = false;
        const qulonglong number = path.mid(CommandPathPrefix.size()).toULongLong(&isNumber);
        if (isNumber && number >= 1)
            return sim::ObjectAddress{sim::ObjectKind::Command, static_cast<std::size_t>(number - 1)};
    }
    return std::nullopt;
}

QString DBusObjects::introspect(const QString& path) const
{
    const auto address = addressOf(path);
    if (!address)
        return {};
    if (address->kind == sim::ObjectKind::Application && m_application == ApplicationObject::Foreign)
        return interfaceXml(ForeignInterface);
    QString xml;
    for (const std::string& name : sim::interfacesOf(address->kind))
        xml += interfaceXml(QString::fromStdString(name));
    return xml;
}

bool DBusObjects::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    if (!message.interface().startsWith(QLatin1String("KVTLRN.")))
        return false; // introspection and the bus's own interfaces are Qt's business

    const sim::CallHandling handling = m_host.admitCall();
    if (handling == sim::CallHandling::Ignore)
        return true; // no reply: the caller runs into its timeout

    const QDBusMessage reply = answer(message);
    const int delay = m_host.faults().replyDelayMs;
    if (delay > 0)
        QTimer::singleShot(delay, this, [connection, reply] { QDBusConnection(connection).send(reply); });
    else
        QDBusConnection(connection).send(reply);
    if (handling == sim::CallHandling::AnswerThenLeave)
        emit leaveRequested();
    return true;
}

QDBusMessage DBusObjects::answer(const QDBusMessage& call)
{
    const auto address = addressOf(call.path());
    const QList<QVariant> arguments = call.arguments();
    if (!address || arguments.isEmpty() || arguments.at(0).metaType().id() != QMetaType::Int)
        return call.createErrorReply(FailedError, QStringLiteral("no such object or operation"));
    const std::string interface = call.interface().toStdString();
    const int dispid = arguments.at(0).toInt();

    if (address->kind == sim::ObjectKind::Application && m_application == ApplicationObject::Foreign)
        return call.createErrorReply(FailedError, QStringLiteral("interface not offered"));

    sim::SimReply reply;
    if (call.member() == QLatin1String("Get") && arguments.size() == 1) {
        reply = m_host.get(*address, interface, dispid);
    } else if (call.member() == QLatin1String("Put") && arguments.size() == 2) {
        const QVariant value = arguments.at(1).value<QDBusVariant>().variant();
        const int type = value.metaType().id();
        if (type != QMetaType::Double && type != QMetaType::Int)
            return call.createErrorReply(FailedError, QStringLiteral("a number is expected"));
        reply = m_host.put(*address, interface, dispid, value.toDouble());
    } else {
        return call.createErrorReply(FailedError, QStringLiteral("unknown method"));
    }

    if (!reply.ok)
        return call.createErrorReply(FailedError, QString::fromStdString(reply.error));
    if (call.member() == QLatin1String("Put"))
        return call.createReply();
    return call.createReply(QVariant::fromValue(QDBusVariant(toVariant(reply.value))));
}
