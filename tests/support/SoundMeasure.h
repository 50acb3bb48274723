#pragma once
// Sound measured as a listener would tell it apart: how loud a stretch is and the pitch of a plain tone, in
// a media file (decoded by the `ffmpeg` tool) or in a player's level data (a WAV image).

#include <QString>
#include <QVector>

namespace rstest {

class Sound
{
public:
    // The first audio stream of `path`, mixed to one channel at `rate`; empty when it cannot be decoded.
    static Sound ofFile(const QString &path, int rate = 44100);
    // A WAV image of 16-bit samples (the player's level data), mixed to one channel.
    static Sound ofWav(const unsigned char *wav);

    bool isEmpty() const { return m_samples.isEmpty(); }
    double seconds() const { return m_rate > 0 ? double(m_samples.size()) / m_rate : 0.0; }
    // Over [from, from + length) seconds (the whole when length is 0): the RMS level in dB of full scale
    // (-120 for silence), and the frequency of a plain tone from its zero crossings (0 for silence).
    double levelDb(double from = 0, double length = 0) const;
    double toneHz(double from = 0, double length = 0) const;

private:
    // The samples' index range of a stretch, within the samples.
    void range(double from, double length, int *begin, int *end) const;

    QVector<qint16> m_samples;
    int m_rate = 0;
};

} // namespace rstest
