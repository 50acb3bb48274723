#pragma once
// Audio level bars of the previews: stacked rounded blocks (or one polyline) with falling peak marks over
// a black ground and a centred logo, fed with the player's level blocks (WAV images).

#include <QColor>
#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>
#include <vector>

struct AudioDataAttribute
{
    int barWidth = 1;
    int blockHeight = 1;
    int barGap = 0;
    int blockGap = 0;
    bool peakMarks = false;
    int peakGravity = 0;
    double blockRadius = 0.0;
    QColor barColor = QColor(255, 255, 255);
    QColor peakColor = QColor(255, 0, 0);
    int mode = 0;

    // The previews' look: 11-pixel bars of rounded 3-pixel blocks with falling peak marks, in one colour.
    static AudioDataAttribute blockBars(const QColor &color);
};

class QAudioDataWidget : public QWidget
{
    Q_OBJECT
public:
    QAudioDataWidget(QWidget *parent, const AudioDataAttribute *attribute);

    void setAudioLogo(const QString &path);
    void resizeChange();

    int barCount() const { return m_barCount; }
    int blockCount() const { return m_blockCount; }
    const std::vector<int> &levels() const { return m_levels; }
    const std::vector<int> &peaks() const { return m_peaks; }
    bool hasData() const { return m_hasData; }

public slots:
    // data is one level block of length bytes laid out as a WAV file image (data byte count at offset 40,
    // 16-bit samples from offset 44); sps is the rate the player reports for it. Nothing past length is
    // read: a block shorter than its header is ignored and the sample count is clamped to the bytes given.
    void setAudioData(const unsigned char *data, int length, int sps);
    void refreshTimer();

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    QRect m_area = QRect(0, 0, 400, 100);
    bool m_hasData = false;
    std::vector<int> m_peaks;
    std::vector<int> m_peakCounters;
    int m_silencePeriod = 0;
    QElapsedTimer m_lastPaint;
    QPixmap m_logo;
    std::vector<int> m_levels;
    int m_barCount = 0;
    int m_blockCount = 0;
    AudioDataAttribute m_attr;
};

// Averages n samples into m buckets scaled to s steps (see QAudioDataWidget::setAudioData).
void TransData(const unsigned short *samples, long long n, unsigned int *out, int m, int s);
