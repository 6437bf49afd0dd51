// Attribute queries from a client on another connection of a private session bus.
#include "agent/AttributeQueryService.h"

#include "core/log/NVLog.h"
#include "tests/qt/QtTestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <gtest/gtest.h>

namespace {

class AttributeQueryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (bus.address().isEmpty())
            GTEST_SKIP() << "no dbus-daemon";
        agentBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "agent"));
        clientBus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "client"));
        ASSERT_TRUE(service.registerOn(*agentBus));
    }
    void TearDown() override
    {
        clientBus.reset();
        agentBus.reset();
        QDBusConnection::disconnectFromBus("client");
        QDBusConnection::disconnectFromBus("agent");
    }

    // The service answers on this thread's loop, so the call is waited for by spinning it.
    QDBusMessage call(const QString& method, const QVariantMap& event)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(nvAttributeQueryService, nvAttributeQueryPath,
                                                        nvAttributeQueryInterface, method);
        m << event;
        QDBusPendingCallWatcher watcher(clientBus->asyncCall(m));
        EXPECT_TRUE(nvtest::spin_until([&] { return watcher.isFinished(); }));
        return watcher.reply();
    }

    nvtest::PrivateBus bus;
    AttributeQueryService service;
    std::unique_ptr<QDBusConnection> agentBus;
    std::unique_ptr<QDBusConnection> clientBus;
};

} // namespace

TEST_F(AttributeQueryTest, EveryDataRequestGetsTheVersionDescriptor)
{
    NVLogCapture log;
    for (const QVariantMap& event : {QVariantMap{{"----", "pressure"}, {"rtyp", "TEXT"}, {"transactionID", 7}},
                                     QVariantMap{{"rtyp", "long"}}, QVariantMap{}}) {
        const QDBusMessage reply = call("handleDataForAttribute", event);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        ASSERT_EQ(reply.arguments().size(), 2);
        EXPECT_EQ(reply.arguments()[0].toString(), "vers");
        EXPECT_EQ(reply.arguments()[1].toByteArray(), QByteArray("\x64\x01\x01\x0B", 4));
    }
    EXPECT_TRUE(log.contains("attribDesc:pressure"));
    EXPECT_TRUE(log.contains("eventReturnID:0 eventTransationID:7"));
    EXPECT_TRUE(log.contains("OSType:54455854")) << "TEXT, big-endian";
    EXPECT_TRUE(log.contains("OSType:6c6f6e67"));
    EXPECT_EQ(log.count("handleDataForAttribute,event:"), 3u);
}

TEST_F(AttributeQueryTest, TheOtherRequestsAreAcceptedWithoutAnswer)
{
    for (const char* method :
         {"handleCreateContext", "handleDestroyContext", "handleControlCountOfContext", "handleSetData"}) {
        const QDBusMessage reply = call(method, {{"----", 1}});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << method << ": " << reply.errorMessage().toStdString();
        EXPECT_TRUE(reply.arguments().isEmpty()) << method;
    }
}

TEST_F(AttributeQueryTest, OnlyOneServiceHoldsTheName)
{
    QDBusConnection other = QDBusConnection::connectToBus(bus.address(), "other");
    AttributeQueryService second;
    NVLogCapture log;
    EXPECT_FALSE(second.registerOn(other));
    EXPECT_TRUE(log.contains("the name nuvroapp.NuvroAgent is taken"));
    QDBusConnection::disconnectFromBus("other");
    // The first still answers.
    EXPECT_EQ(call("handleDataForAttribute", {}).arguments().value(0).toString(), "vers");
}

TEST(FourCharCode, PackedBigEndianAndPadded)
{
    EXPECT_EQ(nv_four_char_code("vers"), 0x76657273u);
    EXPECT_EQ(nv_four_char_code("ab"), 0x61622020u);
    EXPECT_EQ(nv_four_char_code(""), 0u);
    EXPECT_EQ(nv_four_char_code("toolong"), 0u);
}
