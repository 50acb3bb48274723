#include "SoundMeasure.h"

#include "MediaFixtures.h"
#include "TestSupport.h"

#include <QFile>
#include <QtMath>

namespace rstest {

namespace {
quint32 le32(const unsigned char *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
} // namespace

Sound Sound::ofFile(const QString &path, int rate)
{
    Sound s;
    const QString raw = scratchDir(QStringLiteral("sound-measure")) + QStringLiteral("/mono.raw");
    QFile::remove(raw);
    if (!MediaFixtures::runFfmpeg({QStringLiteral("-i"), path, QStringLiteral("-map"), QStringLiteral("0:a:0"),
                                   QStringLiteral("-ac"), QStringLiteral("1"), QStringLiteral("-ar"),
                                   QString::number(rate), QStringLiteral("-f"), QStringLiteral("s16le"), raw}))
        return s;
    QFile f(raw);
    if (!f.open(QIODevice::ReadOnly))
        return s;
    const QByteArray pcm = f.readAll();
    s.m_samples.resize(pcm.size() / 2);
    memcpy(s.m_samples.data(), pcm.constData(), size_t(s.m_samples.size()) * 2);
    s.m_rate = rate;
    return s;
}

Sound Sound::ofWav(const unsigned char *wav)
{
    Sound s;
    if (!wav)
        return s;
    const int channels = qMax(1, int(wav[22] | wav[23] << 8));
    s.m_rate = int(le32(wav + 24));
    const int frames = int(le32(wav + 40) / 2 / quint32(channels));
    s.m_samples.resize(frames);
    for (int i = 0; i < frames; ++i) {
        int sum = 0;
        for (int c = 0; c < channels; ++c) {
            const unsigned char *p = wav + 44 + 2 * (i * channels + c);
            sum += qint16(p[0] | p[1] << 8);
        }
        s.m_samples[i] = qint16(sum / channels);
    }
    return s;
}

void Sound::range(double from, double length, int *begin, int *end) const
{
    const int n = m_samples.size();
    *begin = qBound(0, int(from * m_rate), n);
    *end = length > 0 ? qBound(*begin, int((from + length) * m_rate), n) : n;
}

double Sound::levelDb(double from, double length) const
{
    int b, e;
    range(from, length, &b, &e);
    double sum = 0;
    for (int i = b; i < e; ++i)
        sum += double(m_samples[i]) * m_samples[i];
    const double rms = e > b ? qSqrt(sum / (e - b)) / 32768.0 : 0.0;
    return rms > 1e-6 ? 20.0 * std::log10(rms) : -120.0;
}

double Sound::toneHz(double from, double length) const
{
    int b, e;
    range(from, length, &b, &e);
    int crossings = 0;
    for (int i = b + 1; i < e; ++i)
        if ((m_samples[i - 1] < 0) != (m_samples[i] < 0))
            ++crossings;
    return e - b > 1 ? crossings / 2.0 * m_rate / (e - b - 1) : 0.0;
}

} // namespace rstest
