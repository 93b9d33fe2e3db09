#include "app/bus/ProductBus.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace rovex {

namespace {

const QString productPath = QStringLiteral("/rovexid");
const QString notificationInterface = QStringLiteral("rovexid.Notification");
const QString productService = QStringLiteral("rovexid.Rovex");
const QString productInterface = QStringLiteral("rovexid.Product");
const QString userInfoSignature = QStringLiteral("a{sv}");
const QString configurationSaved = QStringLiteral("rovexTempConfSaved");

using ServiceSignal = void (ProductBus::*)(const ServiceDescription&);

struct ServiceMessage {
    QString name;
    ServiceSignal signal;
};

const std::array<ServiceMessage, 4> serviceMessages = {{
    {QStringLiteral("addservice"), &ProductBus::addservice},
    {QStringLiteral("delservice"), &ProductBus::delservice},
    {QStringLiteral("addserviceblock"), &ProductBus::addserviceblock},
    {QStringLiteral("delserviceblock"), &ProductBus::delserviceblock},
}};

// The product sends texts only: a value of another type counts as a missing key.
std::optional<std::string> textOf(const QVariantMap& userInfo, const QString& key)
{
    const auto found = userInfo.constFind(key);
    if (found == userInfo.constEnd() || found->metaType().id() != QMetaType::QString)
        return std::nullopt;
    return found->toString().toStdString();
}

ServiceDescription serviceDescriptionOf(const QVariantMap& userInfo)
{
    return ServiceDescription{textOf(userInfo, QStringLiteral("serviceName")),
                              textOf(userInfo, QStringLiteral("servicePorts")),
                              textOf(userInfo, QStringLiteral("serviceImage"))};
}

// The first text of the description longer than the bus allows, by its key.
std::optional<std::string_view> oversizedKey(const ServiceDescription& service)
{
    const auto tooLong = [](const std::optional<std::string>& text) {
        return text && text->size() > ProductBus::maxTextBytes;
    };
    if (tooLong(service.serviceName))
        return "serviceName";
    if (tooLong(service.servicePorts))
        return "servicePorts";
    if (tooLong(service.serviceImage))
        return "serviceImage";
    return std::nullopt;
}

bool isProcessFolder(const QString& name)
{
    return !name.isEmpty() && std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool commandNameIs(const QString& processFolder, const QByteArray& name)
{
    QFile comm(processFolder + QStringLiteral("/comm"));
    if (!comm.open(QIODevice::ReadOnly))
        return false; // the process ended while the folder was read
    QByteArray text = comm.readAll();
    if (text.endsWith('\n'))
        text.chop(1);
    return text == name;
}

} // namespace

ProductBus::ProductBus(QDBusConnection connection, QObject* parent)
    : QObject(parent), m_connection(std::move(connection)), m_diagnostics(&std::cerr)
{
    qRegisterMetaType<ServiceDescription>();
}

// Every sender is heard: the product's unique name is not known in advance, only the path
// and interface tell its messages apart.
bool ProductBus::observeProduct()
{
    if (!m_connection.isConnected())
        return false;
    const auto observe = [this](const QString& name) {
        return m_connection.connect(QString(), productPath, notificationInterface, name, this,
                                    SLOT(productMessage(QDBusMessage)));
    };
    bool all = observe(configurationSaved);
    for (const ServiceMessage& message : serviceMessages)
        all = observe(message.name) && all;
    return all;
}

bool ProductBus::post(const QString& name, const QVariantMap& userInfo)
{
    if (!m_connection.isConnected())
        return false;
    QDBusMessage signal = QDBusMessage::createSignal(productPath, notificationInterface, name);
    signal << userInfo;
    return m_connection.send(signal);
}

// The product is asked only when it already runs (isProductRunning): the bus must not
// start anything on our behalf.
void ProductBus::activateProduct()
{
    QDBusMessage call = QDBusMessage::createMethodCall(productService, productPath, productInterface,
                                                       QStringLiteral("Activate"));
    call.setAutoStartService(false);
    m_connection.send(call);
}

QString ProductBus::lastError() const
{
    if (!m_connection.isConnected())
        return QStringLiteral("no session bus");
    const QString message = m_connection.lastError().message();
    return message.isEmpty() ? QStringLiteral("the session bus refused the message") : message;
}

bool ProductBus::isProductRunning(const QString& procFolder)
{
    const QDir folder(procFolder);
    const QStringList entries = folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    return std::any_of(entries.cbegin(), entries.cend(), [&folder](const QString& entry) {
        return isProcessFolder(entry) && commandNameIs(folder.filePath(entry), QByteArrayLiteral("Rovex"));
    });
}

// rovexTempConfSaved carries nothing the viewer reads, so it is taken with any arguments;
// a service message must carry its user information as a{sv}.
void ProductBus::productMessage(const QDBusMessage& message)
{
    const QString name = message.member();
    if (name == configurationSaved) {
        Q_EMIT rovexTempConfSaved();
        return;
    }
    if (message.signature() != userInfoSignature)
        return;
    const auto known = std::find_if(serviceMessages.cbegin(), serviceMessages.cend(),
                                    [&name](const ServiceMessage& candidate) { return candidate.name == name; });
    if (known == serviceMessages.cend())
        return;
    const ServiceDescription service = serviceDescriptionOf(qdbus_cast<QVariantMap>(message.arguments().constFirst()));
    if (const std::optional<std::string_view> key = oversizedKey(service)) {
        *m_diagnostics << "refused " << name.toStdString() << " from the session bus: its " << *key << " is over "
                       << maxTextBytes << " bytes" << std::endl;
        return;
    }
    Q_EMIT(this->*known->signal)(service);
}

} // namespace rovex
