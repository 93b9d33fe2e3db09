#include "app/bus/ProductBus.h"
#include "app/bus/ProductHandOff.h"

#include "BusTestSupport.h"
#include "ProductPeer.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

namespace rovex {
namespace {

using test::runProgram;
using test::runUntil;
using test::settle;

const QString productInterface = QStringLiteral("rovexid.Notification");

bool emitSignal(const QString& path, const QString& member, const QStringList& arguments = {})
{
    return runProgram(QStringLiteral("gdbus"),
                      QStringList{QStringLiteral("emit"), QStringLiteral("--session"), QStringLiteral("--object-path"),
                                  path, QStringLiteral("--signal"), member}
                          + arguments)
        == 0;
}

ServiceDescription service(std::optional<std::string> name, std::optional<std::string> ports,
                           std::optional<std::string> image)
{
    return ServiceDescription{std::move(name), std::move(ports), std::move(image)};
}

// What the viewer's side heard, taken through queued connections as the application does.
struct Heard {
    std::vector<ServiceDescription> addservice, delservice, addserviceblock, delserviceblock;
    int saved = 0;

    explicit Heard(ProductBus& bus)
    {
        const auto keep = [&bus](auto signal, std::vector<ServiceDescription>& into) {
            QObject::connect(
                &bus, signal, &bus, [&into](const ServiceDescription& s) { into.push_back(s); }, Qt::QueuedConnection);
        };
        keep(&ProductBus::addservice, addservice);
        keep(&ProductBus::delservice, delservice);
        keep(&ProductBus::addserviceblock, addserviceblock);
        keep(&ProductBus::delserviceblock, delserviceblock);
        QObject::connect(
            &bus, &ProductBus::rovexTempConfSaved, &bus, [this] { ++saved; }, Qt::QueuedConnection);
    }
};

class ProductBusTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_bus.isConnected()) << "run the tests inside dbus-run-session";
        ASSERT_TRUE(m_product.observeProduct());
        settle(m_bus);
    }

    QDBusConnection m_bus = QDBusConnection::sessionBus();
    ProductBus m_product{m_bus};
    Heard m_heard{m_product};
};

TEST_F(ProductBusTest, EachServiceMessageArrivesOnItsOwnSignalWithOnlyItsTextKeys)
{
    ASSERT_TRUE(
        emitSignal(QStringLiteral("/rovexid"), productInterface + QStringLiteral(".addservice"),
                   {QStringLiteral("{'serviceName': <'SSH'>, 'servicePorts': <'22'>, 'serviceImage': <'ssh'>}")}));
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), productInterface + QStringLiteral(".delservice"),
                           {QStringLiteral("{'serviceName': <'Web Server'>, 'servicePorts': <'80 443'>}")}));
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), productInterface + QStringLiteral(".addserviceblock"),
                           {QStringLiteral("{'serviceName': <'DNS'>, 'servicePorts': <uint32 53>, "
                                           "'serviceImage': <['dns']>, 'comment': <'x'>}")}));
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), productInterface + QStringLiteral(".delserviceblock"),
                           {QStringLiteral("@a{sv} {}")}));
    ASSERT_TRUE(runUntil([this] {
        return !m_heard.addservice.empty() && !m_heard.delservice.empty() && !m_heard.addserviceblock.empty()
            && !m_heard.delserviceblock.empty();
    }));
    settle(m_bus);

    using Services = std::vector<ServiceDescription>;
    EXPECT_EQ(m_heard.addservice, Services{service("SSH", "22", "ssh")});
    EXPECT_EQ(m_heard.delservice, Services{service("Web Server", "80 443", std::nullopt)});
    // A value that is not a string counts as a missing key.
    EXPECT_EQ(m_heard.addserviceblock, Services{service("DNS", std::nullopt, std::nullopt)});
    EXPECT_EQ(m_heard.delserviceblock, Services{service(std::nullopt, std::nullopt, std::nullopt)});
    EXPECT_EQ(m_heard.saved, 0);
}

TEST_F(ProductBusTest, SignalsOnAnotherPathInterfaceOrSignatureAreNotTheProducts)
{
    const QString ssh = QStringLiteral("{'serviceName': <'SSH'>, 'servicePorts': <'22'>}");
    ASSERT_TRUE(emitSignal(QStringLiteral("/other"), productInterface + QStringLiteral(".addservice"), {ssh}));
    ASSERT_TRUE(emitSignal(QStringLiteral("/other"), productInterface + QStringLiteral(".rovexTempConfSaved")));
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), QStringLiteral("other.Notification.addservice"), {ssh}));
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), QStringLiteral("other.Notification.rovexTempConfSaved")));
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), productInterface + QStringLiteral(".addservice"),
                           {QStringLiteral("'SSH'")}));
    // The messages above went out first, so they would have arrived before this one.
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), productInterface + QStringLiteral(".addservice"),
                           {QStringLiteral("{'serviceName': <'last'>}")}));
    ASSERT_TRUE(runUntil([this] { return !m_heard.addservice.empty(); }));
    settle(m_bus);

    EXPECT_EQ(m_heard.addservice, std::vector<ServiceDescription>{service("last", std::nullopt, std::nullopt)});
    EXPECT_EQ(m_heard.saved, 0);
}

TEST_F(ProductBusTest, TextsOverSixtyFourKibibytesAreRefusedWithOneDiagnosticLine)
{
    std::ostringstream diagnostics;
    m_product.setDiagnostics(diagnostics);
    // Ports padded with spaces to exactly the limit, and to one byte over it.
    const std::string atLimit = "22" + std::string(ProductBus::maxTextBytes - 2, ' ');
    const std::string overLimit = atLimit + " ";
    const auto description = [](const char* name, const std::string& ports) {
        return QStringLiteral("{'serviceName': <'%1'>, 'servicePorts': <'%2'>}")
            .arg(QLatin1String(name), QString::fromStdString(ports));
    };
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), productInterface + QStringLiteral(".addserviceblock"),
                           {description("over", overLimit)}));
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), productInterface + QStringLiteral(".addserviceblock"),
                           {QStringLiteral("{'serviceName': <'%1'>}").arg(QString(70000, u'n'))}));
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), productInterface + QStringLiteral(".addserviceblock"),
                           {description("edge", atLimit)}));
    ASSERT_TRUE(runUntil([this] { return !m_heard.addserviceblock.empty(); }));
    settle(m_bus);

    EXPECT_EQ(m_heard.addserviceblock, std::vector<ServiceDescription>{service("edge", atLimit, std::nullopt)});
    EXPECT_EQ(diagnostics.str(),
              "refused addserviceblock from the session bus: its servicePorts is over 65536 bytes\n"
              "refused addserviceblock from the session bus: its serviceName is over 65536 bytes\n");
}

TEST_F(ProductBusTest, ConfigurationSavedIsTakenWithOrWithoutUserInformation)
{
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), productInterface + QStringLiteral(".rovexTempConfSaved"),
                           {QStringLiteral("@a{sv} {}")}));
    ASSERT_TRUE(emitSignal(QStringLiteral("/rovexid"), productInterface + QStringLiteral(".rovexTempConfSaved")));
    EXPECT_TRUE(runUntil([this] { return m_heard.saved == 2; }));
    EXPECT_TRUE(m_heard.addservice.empty());
}

TEST_F(ProductBusTest, PostedMessagesCarryTheirUserInformationAsStringsAndStringLists)
{
    QDBusConnection peerBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("product"));
    test::ProductPeer peer;
    for (const QString& member :
         {QStringLiteral("startVisualizer"), QStringLiteral("blacklistIP"), QStringLiteral("blacklistIPs")})
        ASSERT_TRUE(peerBus.connect(QString(), QStringLiteral("/rovexid"), productInterface, member, &peer,
                                    SLOT(receive(QDBusMessage))));
    settle(peerBus);

    ASSERT_TRUE(m_product.post(QStringLiteral("startVisualizer")));
    ASSERT_TRUE(
        m_product.post(QStringLiteral("blacklistIP"), {{QStringLiteral("address"), QStringLiteral("203.0.113.7")}}));
    const QStringList addresses{QStringLiteral("198.51.100.1"), QStringLiteral("198.51.100.2")};
    ASSERT_TRUE(m_product.post(QStringLiteral("blacklistIPs"), {{QStringLiteral("addresses"), addresses}}));
    ASSERT_TRUE(runUntil([&peer] { return peer.received.size() == 3; }));

    const QStringList expectedMembers{QStringLiteral("startVisualizer"), QStringLiteral("blacklistIP"),
                                      QStringLiteral("blacklistIPs")};
    for (std::size_t i = 0; i < peer.received.size(); ++i) {
        const QDBusMessage& message = peer.received[i];
        EXPECT_EQ(message.member(), expectedMembers[static_cast<qsizetype>(i)]);
        EXPECT_EQ(message.path(), QStringLiteral("/rovexid"));
        EXPECT_EQ(message.signature(), QStringLiteral("a{sv}"));
    }
    EXPECT_TRUE(qdbus_cast<QVariantMap>(peer.received[0].arguments().constFirst()).isEmpty());
    EXPECT_EQ(qdbus_cast<QVariantMap>(peer.received[1].arguments().constFirst()),
              (QVariantMap{{QStringLiteral("address"), QStringLiteral("203.0.113.7")}}));
    // Only an `as` comes back as a string list; an array of variants would not.
    const QVariant sent
        = qdbus_cast<QVariantMap>(peer.received[2].arguments().constFirst()).value(QStringLiteral("addresses"));
    EXPECT_EQ(sent.metaType(), QMetaType::fromType<QStringList>());
    EXPECT_EQ(sent.toStringList(), addresses);
    QDBusConnection::disconnectFromBus(QStringLiteral("product"));
}

TEST_F(ProductBusTest, ActivationReachesTheProductWithoutWaitingForIt)
{
    QDBusConnection peerBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("product"));
    test::ProductPeer peer;
    ASSERT_TRUE(peerBus.registerObject(QStringLiteral("/rovexid"), &peer, QDBusConnection::ExportScriptableSlots));
    ASSERT_TRUE(peerBus.registerService(QStringLiteral("rovexid.Rovex")));
    settle(m_bus);

    m_product.activateProduct();
    // The product lives on this thread: a caller that waited for its answer would have
    // run it already, or hung.
    EXPECT_TRUE(peer.activations.empty());
    ASSERT_TRUE(runUntil([&peer] { return peer.activations.size() == 1; }));
    // Addressed to the product's name (the peer owns no other), from the viewer's
    // connection, on the product's path and interface, with nothing else.
    const QDBusMessage& call = peer.activations.front();
    EXPECT_EQ(call.type(), QDBusMessage::MethodCallMessage);
    EXPECT_EQ(call.service(), m_bus.baseService());
    EXPECT_EQ(call.path(), QStringLiteral("/rovexid"));
    EXPECT_EQ(call.interface(), QStringLiteral("rovexid.Product"));
    EXPECT_EQ(call.member(), QStringLiteral("Activate"));
    EXPECT_TRUE(call.signature().isEmpty());
    EXPECT_TRUE(call.arguments().isEmpty());

    peerBus.unregisterService(QStringLiteral("rovexid.Rovex"));
    settle(peerBus);
    m_product.activateProduct(); // nobody there: nothing happens, nothing breaks
    settle(m_bus);
    settle(peerBus);
    EXPECT_EQ(peer.activations.size(), 1U);
    QDBusConnection::disconnectFromBus(QStringLiteral("product"));
}

TEST(ProductBusOffline, WithoutABusNothingIsObservedOrPosted)
{
    const QDBusConnection broken = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                                 QStringLiteral("broken"));
    ProductBus product(broken);
    EXPECT_FALSE(product.observeProduct());
    EXPECT_FALSE(product.post(QStringLiteral("startVisualizer")));
    product.activateProduct();
    QDBusConnection::disconnectFromBus(QStringLiteral("broken"));
}

void writeComm(const QTemporaryDir& proc, const QString& process, const QByteArray& name)
{
    ASSERT_TRUE(QDir(proc.path()).mkpath(process));
    QFile comm(proc.filePath(process + QStringLiteral("/comm")));
    ASSERT_TRUE(comm.open(QIODevice::WriteOnly));
    comm.write(name);
}

// A running product that cannot be reached is not a silent success.
TEST(ProductBusOffline, AHandOffWithoutABusFailsAndSaysWhy)
{
    QTemporaryDir proc;
    writeComm(proc, QStringLiteral("4242"), "Rovex\n");
    const QDBusConnection broken = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                                 QStringLiteral("broken"));
    ProductBus product(broken);
    ProductHandOff handOff(product, proc.path());
    EXPECT_EQ(handOff.sendRovexAddress(QStringLiteral("192.0.2.1")), ProductHandOff::Outcome::SendFailed);
    EXPECT_EQ(handOff.diagnostic(), u"blacklistIP could not be sent to the firewall product: no session bus");
    handOff.setProcessFolder(proc.filePath(QStringLiteral("missing")));
    EXPECT_EQ(handOff.sendToRovexGroup({QStringLiteral("192.0.2.1")}), ProductHandOff::Outcome::NotRunning);
    QDBusConnection::disconnectFromBus(QStringLiteral("broken"));
}

TEST(ProductRunning, OnlyAProcessNamedExactlyRovexCounts)
{
    QTemporaryDir proc;
    ASSERT_TRUE(proc.isValid());
    EXPECT_FALSE(ProductBus::isProductRunning(proc.path()));
    writeComm(proc, QStringLiteral("1"), "systemd\n");
    writeComm(proc, QStringLiteral("20"), "Rovexd\n");
    writeComm(proc, QStringLiteral("21"), "rovex\n");
    writeComm(proc, QStringLiteral("22"), "Rovex \n");
    ASSERT_TRUE(QDir(proc.path()).mkpath(QStringLiteral("23"))); // ended while being read
    EXPECT_FALSE(ProductBus::isProductRunning(proc.path()));
    writeComm(proc, QStringLiteral("4242"), "Rovex\n");
    EXPECT_TRUE(ProductBus::isProductRunning(proc.path()));
    EXPECT_FALSE(ProductBus::isProductRunning(proc.filePath(QStringLiteral("missing"))));
}

TEST(ProductRunning, FindsARealProcessNamedRovexAndNotOneThatEnded)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString rovex = folder.filePath(QStringLiteral("Rovex"));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), rovex));
    QProcess running;
    running.start(rovex, {QStringLiteral("60")});
    ASSERT_TRUE(running.waitForStarted());
    EXPECT_TRUE(ProductBus::isProductRunning());
    running.kill();
    running.waitForFinished();
    // Other product stand-ins may come and go meanwhile (the simulator's tests run some);
    // pgrep is the outside judge, asked before and after: a sample counts only when it
    // said the same both times.
    const auto othersRunning = [] {
        return runProgram(QStringLiteral("pgrep"), {QStringLiteral("-x"), QStringLiteral("Rovex")}) == 0;
    };
    bool agreed = false;
    ASSERT_TRUE(runUntil([&] {
        const bool before = othersRunning();
        const bool seen = ProductBus::isProductRunning();
        agreed = seen == before;
        return before == othersRunning();
    }));
    EXPECT_TRUE(agreed);
}

} // namespace
} // namespace rovex
