#include "QAudioDataWidget.h"

#include "QBaseImageDraw.h"
#include "SkinImageLoad.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {
constexpr int kHeaderBytes = 44;

quint32 readLe32(const unsigned char *p)
{
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

unsigned short sampleAt(const unsigned char *samples, long long i)
{
    return static_cast<unsigned short>(samples[2 * i] | (samples[2 * i + 1] << 8));
}

// Mean of bucket i of m over n samples, as the level scale s maps it (0 when s < 1).
unsigned int bucketLevel(const unsigned char *samples, long long n, int i, int m, int s)
{
    if (n <= 0 || m <= 0 || s < 1)
        return 0;
    const long long start = i * n / m;
    const long long end = std::min(n, (i + 1) * n / m);
    long long mean = 0;
    if (end <= start) {
        mean = sampleAt(samples, start);
    } else {
        long long sum = 0;
        for (long long k = start; k < end; ++k)
            sum += sampleAt(samples, k);
        mean = sum / (end - start);
    }
    return static_cast<unsigned int>((mean * s) >> 16);
}
} // namespace

AudioDataAttribute AudioDataAttribute::blockBars(const QColor &color)
{
    AudioDataAttribute a;
    a.barWidth = 11;
    a.blockHeight = 3;
    a.barGap = 2;
    a.blockGap = 2;
    a.peakMarks = true;
    a.peakGravity = 1;
    a.blockRadius = 1.3;
    a.barColor = color;
    a.peakColor = color;
    a.mode = 0;
    return a;
}

void TransData(const unsigned short *samples, long long n, unsigned int *out, int m, int s)
{
    if (!samples || !out)
        return;
    const auto *bytes = reinterpret_cast<const unsigned char *>(samples);
    for (int i = 0; i < m; ++i)
        out[i] = bucketLevel(bytes, n, i, m, s);
}

QAudioDataWidget::QAudioDataWidget(QWidget *parent, const AudioDataAttribute *attribute) : QWidget(parent)
{
    if (attribute)
        m_attr = *attribute;
    if (m_attr.mode == 1) {
        m_attr.barGap = 0;
        m_attr.blockGap = 0;
    }
}

void QAudioDataWidget::setAudioLogo(const QString &path)
{
    m_logo = QPixmap();
    SkinImageLoad::pixmap2x(path, m_logo);
}

void QAudioDataWidget::resizeChange()
{
    m_area = QRect(0, 0, width(), height());
    const int barStep = m_attr.barWidth + m_attr.barGap;
    const int blockStep = m_attr.blockHeight + m_attr.blockGap;
    m_barCount = barStep > 0 ? std::max(0, (width() + m_attr.barGap) / barStep) : 0;
    m_blockCount = blockStep > 0 ? std::max(0, (height() + m_attr.blockGap) / blockStep) : 0;
    m_levels.assign(m_barCount, 0);
    if (m_attr.peakMarks) {
        m_peaks.assign(m_barCount, 0);
        m_peakCounters.assign(m_barCount, 0);
    } else {
        m_peaks.clear();
        m_peakCounters.clear();
    }
}

void QAudioDataWidget::setAudioData(const unsigned char *data, int length, int sps)
{
    if (!data) {
        m_hasData = false;
        std::fill(m_peaks.begin(), m_peaks.end(), 0);
        std::fill(m_peakCounters.begin(), m_peakCounters.end(), 0);
        update();
        return;
    }
    if (length < kHeaderBytes)
        return;
    const long long available = (static_cast<long long>(length) - kHeaderBytes) / 2;
    long long n = std::min<long long>(readLe32(data + 40) / 2, available);
    if (sps >= 16000)
        n = n * 16000 / sps;
    const unsigned char *samples = data + kHeaderBytes;
    for (int i = 0; i < m_barCount; ++i)
        m_levels[i] = static_cast<int>(bucketLevel(samples, n, i, m_barCount, m_blockCount));

    if (!m_peaks.empty()) {
        const int blockStep = m_attr.blockHeight + m_attr.blockGap;
        for (int i = 0; i < m_barCount; ++i) {
            if (m_peaks[i] > 0) {
                const int c = ++m_peakCounters[i];
                m_peaks[i] -= m_attr.peakGravity ? (c * c) >> 3 : 1;
                m_peaks[i] = std::max(0, m_peaks[i]);
            }
            const int level = m_levels[i];
            const int heightPx = level > 0 ? level * blockStep - m_attr.blockGap : level;
            if (heightPx > m_peaks[i]) {
                m_peaks[i] = heightPx;
                m_peakCounters[i] = 0;
            }
        }
    }
    m_hasData = true;
    update();
}

void QAudioDataWidget::refreshTimer()
{
    if (!m_lastPaint.isValid() || m_lastPaint.elapsed() > m_silencePeriod) {
        m_hasData = false;
        update();
    }
}

void QAudioDataWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int W = width();
    const int H = height();
    p.fillRect(rect(), QColor(0, 0, 0));
    // The logo stands in for the bars while there are none; drawn under them it would cut through them.
    if (!m_logo.isNull() && !m_hasData)
        p.drawPixmap((W - m_logo.width() / 2) / 2, (H - m_logo.height() / 2) / 2, m_logo);
    p.save();
    if (m_hasData) {
        p.setRenderHint(QPainter::Antialiasing, true);
        const int B = m_area.bottom();
        const int barStep = m_attr.barWidth + m_attr.barGap;
        const int blockStep = m_attr.blockHeight + m_attr.blockGap;
        QPainterPath line;
        for (int i = 0; i < m_barCount; ++i) {
            const int x = i * barStep;
            const int v = std::min(m_levels[i], m_blockCount);
            if (m_attr.mode == 0 && v > 0) {
                for (int j = 0; j < v; ++j) {
                    const QRectF block(x, B - m_attr.blockHeight - j * blockStep, m_attr.barWidth, m_attr.blockHeight);
                    p.fillPath(QBaseImageDraw::GetRoundedRectanglePath(block, m_attr.blockRadius), m_attr.barColor);
                }
            } else if (m_attr.mode == 1) {
                const QPointF point(i * m_attr.barWidth, B - m_attr.blockHeight * v);
                if (i == 0)
                    line.moveTo(point);
                else
                    line.lineTo(point);
            }
            if (!m_peaks.empty() && m_peaks[i] > 0)
                p.fillRect(QRect(x, B - m_peaks[i] - 1, m_attr.barWidth, 1), m_attr.peakColor);
        }
        if (m_attr.mode == 1) {
            p.setPen(QPen(m_attr.barColor, m_attr.barWidth, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(line);
        }
        m_hasData = false;
        m_lastPaint.start();
    }
    p.restore();
}

void QAudioDataWidget::resizeEvent(QResizeEvent *e)
{
    resizeChange();
    QWidget::resizeEvent(e);
}

void QAudioDataWidget::showEvent(QShowEvent *e)
{
    resizeChange();
    QWidget::showEvent(e);
    repaint();
}

void QAudioDataWidget::changeEvent(QEvent *e)
{
    QWidget::changeEvent(e);
}
