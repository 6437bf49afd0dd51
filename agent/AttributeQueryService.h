// Tablet attribute queries of graphics applications, on the session bus under the agent's
// well-known name: one method per request of the core suite. Only the data request
// answers (with the driver's version); the others are accepted and do nothing.
//
// Each method takes the request's parameters as a{sv}: "----" the direct object, "rtyp"
// the requested type (a four-character code), "returnID" and "transactionID" integers.
#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

inline constexpr const char* nvAttributeQueryService = "nuvroapp.NuvroAgent";
inline constexpr const char* nvAttributeQueryPath = "/nuvroapp/NuvroAgent";
inline constexpr const char* nvAttributeQueryInterface = "nuvroapp.NuvroAgent.AttributeQuery";

// The answer to every data request: descriptor type "vers" and the version 0x0B010164
// in little-endian byte order.
inline constexpr const char* nvVersionDescriptorType = "vers";
inline constexpr char nvVersionDescriptorBytes[4] = {0x64, 0x01, 0x01, 0x0B};

class AttributeQueryService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "nuvroapp.NuvroAgent.AttributeQuery")
public:
    explicit AttributeQueryService(QObject* parent = nullptr);

    // Exports the methods and takes the well-known name; false (logged) when the bus or
    // the name is not available.
    bool registerOn(QDBusConnection connection);

public slots:
    Q_SCRIPTABLE void handleCreateContext(const QVariantMap& event);
    Q_SCRIPTABLE void handleDestroyContext(const QVariantMap& event);
    // Returns the descriptor type; data receives its bytes.
    Q_SCRIPTABLE QString handleDataForAttribute(const QVariantMap& event, QByteArray& data);
    Q_SCRIPTABLE void handleControlCountOfContext(const QVariantMap& event);
    Q_SCRIPTABLE void handleSetData(const QVariantMap& event);
};

// The four-character code of a type name, packed big-endian as the platform's OSType
// ("TEXT" -> 0x54455854); names shorter than four are padded with spaces, longer or
// empty ones give 0.
uint32_t nv_four_char_code(const QString& type);
