#include "sim/BusJson.h"

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusVariant>
#include <QStringList>

namespace rovex {

namespace {

using Json = nlohmann::ordered_json;

// An object key: a text as it stands, any other basic value as its JSON text.
std::string keyText(const Json& key) { return key.is_string() ? key.get<std::string>() : key.dump(); }

Json mapToJson(const QDBusArgument& argument)
{
    Json object = Json::object();
    argument.beginMap();
    while (!argument.atEnd()) {
        argument.beginMapEntry();
        const std::string key = keyText(busValueToJson(argument.asVariant()));
        object[key] = busValueToJson(argument.asVariant());
        argument.endMapEntry();
    }
    argument.endMap();
    return object;
}

// The elements from the current one to the end of the array or structure entered.
Json elementsToJson(const QDBusArgument& argument)
{
    Json array = Json::array();
    while (!argument.atEnd())
        array.push_back(busValueToJson(argument.asVariant()));
    return array;
}

Json argumentToJson(const QDBusArgument& argument)
{
    Json elements;
    switch (argument.currentType()) {
    case QDBusArgument::MapType: return mapToJson(argument);
    case QDBusArgument::ArrayType:
        argument.beginArray();
        elements = elementsToJson(argument);
        argument.endArray();
        return elements;
    case QDBusArgument::StructureType:
        argument.beginStructure();
        elements = elementsToJson(argument);
        argument.endStructure();
        return elements;
    case QDBusArgument::BasicType:
    case QDBusArgument::VariantType: return busValueToJson(argument.asVariant());
    case QDBusArgument::MapEntryType:
    case QDBusArgument::UnknownType: break;
    }
    return nullptr;
}

Json stringsToJson(const QStringList& strings)
{
    Json array = Json::array();
    for (const QString& text : strings)
        array.push_back(text.toStdString());
    return array;
}

Json bytesToJson(const QByteArray& bytes)
{
    Json array = Json::array();
    for (const char byte : bytes)
        array.push_back(static_cast<unsigned char>(byte));
    return array;
}

Json basicToJson(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool: return value.toBool();
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULongLong: return value.toULongLong();
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::LongLong: return value.toLongLong();
    case QMetaType::Double: return value.toDouble();
    case QMetaType::QString: return value.toString().toStdString();
    case QMetaType::QStringList: return stringsToJson(value.toStringList());
    case QMetaType::QByteArray: return bytesToJson(value.toByteArray());
    default: break;
    }
    // A file descriptor or an unknown type: its text where Qt has one.
    return value.canConvert<QString>() ? Json(value.toString().toStdString()) : Json(nullptr);
}

} // namespace

Json busValueToJson(const QVariant& value)
{
    const int type = value.metaType().id();
    if (type == qMetaTypeId<QDBusArgument>())
        return argumentToJson(qvariant_cast<QDBusArgument>(value));
    if (type == qMetaTypeId<QDBusVariant>())
        return busValueToJson(qvariant_cast<QDBusVariant>(value).variant());
    if (type == qMetaTypeId<QDBusObjectPath>())
        return qvariant_cast<QDBusObjectPath>(value).path().toStdString();
    if (type == qMetaTypeId<QDBusSignature>())
        return qvariant_cast<QDBusSignature>(value).signature().toStdString();
    return basicToJson(value);
}

} // namespace rovex
