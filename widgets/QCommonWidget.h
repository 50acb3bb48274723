#pragma once
// Plain widget that carries the font settings and colour of a label drawn by its subclass.

#include <QColor>
#include <QFont>
#include <QWidget>
#include <optional>

class QCommonWidget : public QWidget
{
    Q_OBJECT
public:
    explicit QCommonWidget(QWidget *parent = nullptr);

    void setPixelSize(int size) { m_pixelSize = size; }
    void setFamily(const QString &family) { m_family = family; }
    void setTextColor(const QColor &color) { m_textColor = color; }
    void setFont(const QFont &font) { m_fontCopy = font; }

protected:
    QString m_family = QStringLiteral("Tahoma");
    QColor m_textColor = QColor(0, 0, 0, 255);
    int m_pixelSize = 12;
    std::optional<QFont> m_fontCopy;
};
