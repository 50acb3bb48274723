#include "VEHelper.h"

#include <QTextCodec>

#include <array>
#include <cstring>

namespace {

constexpr size_t kRingSize = 64;

struct Ring
{
    std::array<std::u32string, kRingSize> buffers;
    size_t next = 0;
};

} // namespace

char32_t *VEHelper::ConvertCharToUtft32(const char *text)
{
    if (!text)
        return nullptr;
    QTextCodec *codec = QTextCodec::codecForName("UTF-8");
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QString decoded = codec->toUnicode(text, int(std::strlen(text)), &state);
    if (state.invalidChars > 0 || state.remainingChars > 0)
        return nullptr;
    const QVector<uint> ucs4 = decoded.toUcs4();

    // A ring of buffers per thread: several conversions can be used together, and memory stays bounded.
    thread_local Ring ring;
    std::u32string &buffer = ring.buffers[ring.next];
    ring.next = (ring.next + 1) % kRingSize;
    buffer.assign(ucs4.begin(), ucs4.end());
    return &buffer[0];
}

QString VEHelper::charToQString(const std::string &text)
{
    return QString::fromUtf8(text.c_str());
}
