#pragma once
// The skinned progress bar: a track and a fill along a horizontal, vertical (bottom up) or round layout,
// from 2x images or palette colours, with rounded ends that keep their shape when stretched, an optional
// value text and an optional repaint throttle. Positions are measured as (value - minimum) / range, and
// an empty range draws an empty bar.

#include <QElapsedTimer>
#include <QImage>
#include <QPainterPath>
#include <QPair>
#include <QVector>
#include <QWidget>

class QTimer;

class QZTBaseProgress : public QWidget
{
    Q_OBJECT
public:
    enum ProgressPolicy { Horizontal = 1, Vertical = 2, Round = 3 };
    enum BarStyle { StyleDonut = 0, StylePie = 1, StyleLine = 2 };

    explicit QZTBaseProgress(QWidget *parent = nullptr);
    ~QZTBaseProgress() override;

    void setProgressPolicy(ProgressPolicy policy);
    ProgressPolicy progressPolicy() const { return m_policy; }
    void setBarStyle(BarStyle style);
    BarStyle barStyle() const { return m_barStyle; }
    bool setBottomImage(const QString &path);
    bool setTopImage(const QString &path);
    double value() const { return m_value; }
    double minimum() const { return m_min; }
    double maximum() const { return m_max; }
    // (value - minimum) / (maximum - minimum), 0 for an empty range.
    double fraction() const;
    void setFormat(const QString &format);
    void resetFormat();
    QString format() const { return m_format; }
    QString getFormatValue() const { return valueToText(m_value); }
    void setDecimals(int decimals);
    int decimals() const { return m_decimals; }
    void setTextAlignment(int alignment);
    void setTextOffset(float x, float y);
    void setCircle(bool on) { m_roundEnds = on; }
    void setCircleLenght(int radius) { m_endRadius = radius; }
    void setOffset(int start, int end);
    int getTLOffset() const { return m_startOffset; }
    int getRBOffset() const { return m_endOffset; }
    void setOutlinePenWidth(double width);
    double outlinePenWidth() const { return m_outlinePenWidth; }
    void setDataPenWidth(double width);
    double dataPenWidth() const { return m_dataPenWidth; }
    void setNullPosition(double position);
    double nullPosition() const { return m_nullPosition; }
    void setDataColors(const QVector<QPair<double, QColor>> &stops);
    void setUpdateInterval(int ms);
    int getDefaultCircle();
    QRect getBgRect() const;
    QPainterPath getProPath();
    QImage createImage(QRect rect, int radius) const;

signals:
    void valueChanged(double value);

public slots:
    void setRange(double min, double max);
    void setMinimum(double min);
    void setMaximum(double max);
    void setValue(double val);
    void setValue(int val) { setValue(double(val)); }
    void UpdateTime();

protected:
    virtual void DrawBackground(QPainter &painter);
    virtual void DrawBottomImage(QPainter &painter, int r);
    virtual void DrawTopImage(QPainter &painter, const QImage &image, int r);
    virtual void DrawProgress(QPainter &painter);
    virtual void DrawProgressText(QPainter &painter);
    virtual QString valueToText(double value) const;
    virtual void valueFormatChanged();
    virtual void drawBase(QPainter &painter, const QRectF &rect);
    virtual void drawRoundValue(QPainter &painter, const QRectF &rect, double value, double arc);
    virtual void calculateInnerRect(const QRectF &outer, double outerRadius, QRectF &inner, double &innerRadius);
    virtual void drawInnerBackground(QPainter &painter, const QRectF &inner);
    void paintEvent(QPaintEvent *e) override;
    // Called after the range or the value changed (subclasses place children from it, never while painting).
    virtual void positionInputsChanged() {}

    // The bar must be at least as thick as its track image; done on image change, never while painting.
    void fitToTrackImage();
    // Logical size of the 2x track image.
    QSize trackSize() const { return m_track.size() / 2; }
    int axisLength() const;
    // Draws image over target along the axis: caps of r unscaled, the middle stretched; with r = 0 and
    // cutFraction >= 0 the leading cutFraction of the image fills the target instead.
    void drawThreeSlice(QPainter &painter, const QImage &image, const QRect &target, int r, double cutFraction);

private:
    void rebuildBrush();
    void repaintNow();

    QImage m_track;
    QImage m_fill;
    ProgressPolicy m_policy = Horizontal;
    double m_min = 0.0;
    double m_max = 100.0;
    double m_value = 0.0;
    bool m_roundEnds = true;
    int m_endRadius = -1;
    int m_startOffset = 0;
    int m_endOffset = 0;
    double m_nullPosition = 90.0;
    BarStyle m_barStyle = StyleDonut;
    double m_outlinePenWidth = 1.0;
    double m_dataPenWidth = 1.0;
    QVector<QPair<double, QColor>> m_dataColors;
    QString m_format = QStringLiteral("%p%");
    int m_decimals = 1;
    int m_textAlignment = Qt::AlignCenter;
    float m_textOffsetX = 0;
    float m_textOffsetY = 0;
    int m_formatTokens = 2;
    int m_updateInterval = 0;
    bool m_repaintPending = false;
    QElapsedTimer m_lastRepaint;
    QTimer *m_throttle = nullptr;
};
