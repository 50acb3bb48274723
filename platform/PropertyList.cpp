#include "PropertyList.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>

#include <plist/plist.h>

#include <cstdlib>
#include <memory>

namespace {

struct PlistDeleter
{
    void operator()(void *node) const { plist_free(static_cast<plist_t>(node)); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

// Seconds between the Unix epoch and the property-list epoch (2001-01-01 UTC).
constexpr qint64 kPlistEpochOffset = 978307200;

QVariant toVariant(plist_t node, int depth)
{
    if (!node || depth > 256)
        return QVariant();
    switch (plist_get_node_type(node)) {
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char *key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, it, &key, &value);
            if (!value) {
                std::free(key);
                break;
            }
            map.insert(QString::fromUtf8(key), toVariant(value, depth + 1));
            std::free(key);
        }
        std::free(it);
        return map;
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t n = plist_array_get_size(node);
        for (uint32_t i = 0; i < n; ++i)
            list << toVariant(plist_array_get_item(node, i), depth + 1);
        return list;
    }
    case PLIST_STRING: {
        char *text = nullptr;
        plist_get_string_val(node, &text);
        const QString s = QString::fromUtf8(text);
        std::free(text);
        return s;
    }
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return bool(b);
    }
    case PLIST_UINT: {
        uint64_t v = 0;
        plist_get_uint_val(node, &v);
        // libplist keeps negative values in two's complement in the same field.
        return QVariant::fromValue<qlonglong>(static_cast<qlonglong>(v));
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        return d;
    }
    case PLIST_DATA: {
        char *data = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &data, &length);
        const QByteArray bytes(data, int(length));
        std::free(data);
        return bytes;
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        return QDateTime::fromMSecsSinceEpoch((qint64(sec) + kPlistEpochOffset) * 1000 + usec / 1000, Qt::UTC);
    }
    default:
        return QVariant();
    }
}

plist_t fromVariant(const QVariant &value, int depth)
{
    if (depth > 256)
        return nullptr;
    switch (int(value.type())) {
    case QMetaType::QVariantMap: {
        plist_t dict = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            plist_t item = fromVariant(it.value(), depth + 1);
            if (!item) {
                plist_free(dict);
                return nullptr;
            }
            plist_dict_set_item(dict, it.key().toUtf8().constData(), item);
        }
        return dict;
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        plist_t array = plist_new_array();
        for (const QVariant &v : value.toList()) {
            plist_t item = fromVariant(v, depth + 1);
            if (!item) {
                plist_free(array);
                return nullptr;
            }
            plist_array_append_item(array, item);
        }
        return array;
    }
    case QMetaType::QString:
        return plist_new_string(value.toString().toUtf8().constData());
    case QMetaType::Bool:
        return plist_new_bool(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::LongLong:
        return plist_new_uint(static_cast<uint64_t>(value.toLongLong()));
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return plist_new_uint(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return plist_new_real(value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), uint64_t(bytes.size()));
    }
    case QMetaType::QDateTime: {
        const qint64 ms = value.toDateTime().toMSecsSinceEpoch();
        const qint64 sec = ms / 1000 - kPlistEpochOffset;
        return plist_new_date(int32_t(sec), int32_t((ms % 1000) * 1000));
    }
    default:
        return nullptr;
    }
}

uint64_t bigEndian(const unsigned char *p, int size)
{
    uint64_t v = 0;
    for (int i = 0; i < size; ++i)
        v = (v << 8) | p[i];
    return v;
}

// libplist stops the process on some malformed binary strings (a U+0000 or a broken surrogate pair in a
// UTF-16 string). Every string of a binary list is checked here first; a list that fails is damaged.
bool binaryStringsSound(const QByteArray &data)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    const uint64_t size = uint64_t(data.size());
    if (size < 8 + 32)
        return false;
    const unsigned char *trailer = bytes + size - 32;
    const int offsetSize = trailer[6];
    const uint64_t objects = bigEndian(trailer + 8, 8);
    const uint64_t tableAt = bigEndian(trailer + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || tableAt >= size - 32 || objects > (size - 32 - tableAt) / offsetSize)
        return false;
    for (uint64_t i = 0; i < objects; ++i) {
        const uint64_t at = bigEndian(bytes + tableAt + i * offsetSize, offsetSize);
        if (at < 8 || at >= tableAt)
            return false;
        const unsigned marker = bytes[at];
        if ((marker >> 4) != 0x6)
            continue; // only UTF-16 strings trouble the reader
        uint64_t count = marker & 0xF;
        uint64_t start = at + 1;
        if (count == 0xF) {
            // The length follows as an integer object of 1, 2, 4 or 8 bytes.
            if (start >= tableAt || (bytes[start] >> 4) != 0x1)
                return false;
            const int n = 1 << (bytes[start] & 0xF);
            if (n > 8 || start + 1 + uint64_t(n) > tableAt)
                return false;
            count = bigEndian(bytes + start + 1, n);
            start += 1 + uint64_t(n);
        }
        if (count > (tableAt - start) / 2)
            return false;
        for (uint64_t k = 0; k < count; ++k) {
            const unsigned unit = unsigned(bigEndian(bytes + start + 2 * k, 2));
            if (unit == 0)
                return false;
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                const unsigned low = k + 1 < count ? unsigned(bigEndian(bytes + start + 2 * (k + 1), 2)) : 0;
                if (low < 0xDC00 || low > 0xDFFF)
                    return false;
                ++k;
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool PropertyList::fromData(const QByteArray &data, QVariant &root)
{
    root = QVariant();
    if (data.isEmpty())
        return false;
    plist_t node = nullptr;
    // The binary reader is chosen by the magic; anything else goes to the XML reader.
    if (plist_is_binary(data.constData(), uint32_t(data.size()))) {
        if (!binaryStringsSound(data))
            return false;
        plist_from_bin(data.constData(), uint32_t(data.size()), &node);
    } else {
        // XML cannot hold U+0000; the XML reader takes the byte into a string and then aborts the process
        // when the string is read.
        if (data.contains('\0'))
            return false;
        plist_from_xml(data.constData(), uint32_t(data.size()), &node);
    }
    if (!node)
        return false;
    PlistPtr owner(node);
    root = toVariant(node, 0);
    return root.isValid();
}

bool PropertyList::readFile(const QString &path, QVariant &root)
{
    root = QVariant();
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return fromData(file.readAll(), root);
}

bool PropertyList::toXml(const QVariant &root, QByteArray &xml)
{
    PlistPtr node(fromVariant(root, 0));
    if (!node)
        return false;
    char *text = nullptr;
    uint32_t length = 0;
    plist_to_xml(static_cast<plist_t>(node.get()), &text, &length);
    if (!text)
        return false;
    xml = QByteArray(text, int(length));
    plist_to_xml_free(text);
    return true;
}

bool PropertyList::toBinary(const QVariant &root, QByteArray &binary)
{
    PlistPtr node(fromVariant(root, 0));
    if (!node)
        return false;
    char *bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(static_cast<plist_t>(node.get()), &bytes, &length);
    if (!bytes)
        return false;
    binary = QByteArray(bytes, int(length));
    plist_to_bin_free(bytes);
    return true;
}

bool PropertyList::writeXmlFile(const QString &path, const QVariant &root)
{
    QByteArray xml;
    if (!toXml(root, xml))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(xml) != xml.size())
        return false;
    return file.commit();
}
