#pragma once
// Label that shortens a file name with "..." until it fits its height (wrapped at any character), keeps
// the full name as tool tip, and renames it in place through a line edit.

#include <QLabel>

class QLineEdit;

class RetractLabel : public QLabel
{
    Q_OBJECT
public:
    explicit RetractLabel(QWidget *parent = nullptr);

    void setText(const QString &name);
    int getTextWidth() const { return m_textWidth; }
    void setCanEditText(bool on);
    void setPixelSize(int size) { m_pixelSize = size; }
    QString getName() const { return m_name; }
    void setIgnoreExten(bool on) { m_ignoreExtension = on; }
    QLineEdit *editor() const { return m_editor; }

signals:
    void emitChangeName();

public slots:
    void RenameOK();
    void NameChange(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *e) override;

private:
    bool fits(const QFontMetrics &fm, const QString &text) const;
    QString baseName() const;
    QString extension() const;

    QString m_name;
    QLineEdit *m_editor = nullptr;
    QString m_editText;
    int m_pixelSize = 13;
    int m_textWidth = -1;
    bool m_ignoreExtension = true;
    bool m_committing = false;
};
