#pragma once
// Property lists (XML and binary) as Qt values: dictionaries are QVariantMap, arrays QVariantList,
// strings QString, booleans bool, integers qlonglong (the library keeps integers as 64-bit words, so a
// value above the signed range reads negative), reals double, data QByteArray, dates QDateTime (UTC).

#include <QByteArray>
#include <QString>
#include <QVariant>

class PropertyList
{
public:
    // Parses XML or binary property-list bytes; false (and an invalid value) when they do not parse.
    static bool fromData(const QByteArray &data, QVariant &root);
    static bool readFile(const QString &path, QVariant &root);

    // Renders as an XML property list; false when the value holds a type a property list cannot keep.
    static bool toXml(const QVariant &root, QByteArray &xml);
    static bool toBinary(const QVariant &root, QByteArray &binary);
    // Writes an XML property list atomically: the old file stays whole when writing fails.
    static bool writeXmlFile(const QString &path, const QVariant &root);
};
