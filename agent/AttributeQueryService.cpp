#include "agent/AttributeQueryService.h"

#include "core/channel/NVPlist.h"
#include "core/log/NVLog.h"
#include "platform/qt/DBusNotificationCenter.h"

#include <QDBusConnectionInterface>

namespace {

std::string describe(const QVariantMap& event)
{
    return nv_plist_describe(NVPlistValue(nv_plist_from_qt(event)));
}

// A parameter as the log shows it: empty when the request lacks it.
std::string describe_parameter(const QVariantMap& event, const char* key)
{
    const NVPlistDict d = nv_plist_from_qt(event);
    const auto it = d.find(key);
    return it == d.end() ? std::string() : nv_plist_describe(it->second);
}

} // namespace

uint32_t nv_four_char_code(const QString& type)
{
    const QByteArray bytes = type.toLatin1();
    if (bytes.isEmpty() || bytes.size() > 4)
        return 0;
    uint32_t code = 0;
    for (int i = 0; i < 4; ++i)
        code = (code << 8) | static_cast<uint8_t>(i < bytes.size() ? bytes[i] : ' ');
    return code;
}

AttributeQueryService::AttributeQueryService(QObject* parent) : QObject(parent) {}

bool AttributeQueryService::registerOn(QDBusConnection connection)
{
    if (!connection.isConnected()) {
        nv_log("attribute queries: no session bus (%s)", qPrintable(connection.lastError().message()));
        return false;
    }
    if (!connection.registerObject(nvAttributeQueryPath, this, QDBusConnection::ExportScriptableSlots)) {
        nv_log("attribute queries: cannot export %s", nvAttributeQueryPath);
        return false;
    }
    const auto reply = connection.interface()->registerService(
        nvAttributeQueryService, QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        nv_log("attribute queries: the name %s is taken", nvAttributeQueryService);
        connection.unregisterObject(nvAttributeQueryPath);
        return false;
    }
    return true;
}

void AttributeQueryService::handleCreateContext(const QVariantMap&) {}

void AttributeQueryService::handleDestroyContext(const QVariantMap&) {}

QString AttributeQueryService::handleDataForAttribute(const QVariantMap& event, QByteArray& data)
{
    nv_log("handleDataForAttribute,event:%s\n", describe(event).c_str());
    nv_log("attribDesc:%s", describe_parameter(event, "----").c_str());
    nv_log("eventReturnID:%x eventTransationID:%d", event.value("returnID").toUInt(),
           event.value("transactionID").toInt());
    const QString requestType = event.value("rtyp").toString();
    nv_log("requestType:%s", describe_parameter(event, "rtyp").c_str());
    nv_log("OSType:%x", nv_four_char_code(requestType));
    data = QByteArray(nvVersionDescriptorBytes, sizeof nvVersionDescriptorBytes);
    return QString::fromLatin1(nvVersionDescriptorType);
}

void AttributeQueryService::handleControlCountOfContext(const QVariantMap&) {}

void AttributeQueryService::handleSetData(const QVariantMap&) {}
