#pragma once
// The modal skinned message box: a frameless QZTDialog over a nine-grid background with the application's
// name as title, an optional status icon, a message wrapped to 500 pixels and one or two strip buttons.
// A process-wide option callback restyles every box before it is shown.

#include "QZTBaseButton.h"
#include "QZTDialog.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QMargins>
#include <QPalette>

struct QZTMessageBoxOption
{
    QZTMessageBoxOption();

    QString okText;
    QString cancelText;
    QString yesText;
    QString noText;
    QFont buttonFont;
    QColor buttonTextColors[4];
    int buttonMargin = 20;
    int buttonSpacing = 15;
    QPalette palette;
    QFont titleFont;
    QFont messageFont;
    int dlgTop = 22;
    int dlgBottom = 50;
    QMargins transparentMargins;
    int closeButtonOffsetX = 0;
    int closeButtonOffsetY = 0;
    int fixedWidth = -1;
    int fixedHeight = -1;
    int iconOffset = 0;
};

class QZTMessageBox : public QZTDialog
{
    Q_OBJECT
public:
    enum Icon { NoIcon = 0, Warning = 1, Information = 2, Success = 3, Critical = 4 };
    enum ButtonStyle { StyleOk = 1, StyleCancel = 2, StyleYesNo = 4 };

    explicit QZTMessageBox(QWidget *parent = nullptr);
    ~QZTMessageBox() override;

    // The title comes before the message (both are texts, so a swapped call still compiles): an empty title
    // keeps the application's name.
    static int ShowMessage(QWidget *parent, const QString &title, const QString &message, QZTMessageBox::Icon icon,
                           QZTMessageBox::ButtonStyle style);
    static void setOptionCallback(void (*callback)(QZTMessageBoxOption *));

    void setTitle(const QString &title) { setDlgTitle(title); }
    QString getTitle() const { return getDlgTitle(); }
    void setMessage(const QString &message);
    QString getMessage() const { return m_message; }
    QString displayText() const { return m_displayText; }
    void setMessageIcon(QZTMessageBox::Icon icon) { m_icon = icon; }
    QZTMessageBox::Icon getMessageIcon() const { return m_icon; }
    void setButtonStyle(QZTMessageBox::ButtonStyle style);
    void setMessageBoxOption(const QZTMessageBoxOption &option);
    QZTMessageBoxOption getMessageBoxOption() const { return m_option; }
    void setPalette(const QPalette &palette);
    void setTitleFont(QFont &font) { m_option.titleFont = font; }
    void setMessageFont(QFont &font) { m_option.messageFont = font; }
    QFont messageFont() const { return m_option.messageFont; }
    void setButtonColor(const QColor &normal, const QColor &hover, const QColor &pressed, const QColor &disabled);
    QRect getIconRect() const { return m_iconRect; }
    QRect getTextRect() const { return m_textRect; }
    QRect getBtnRect() const;
    QSize minimumBoxSize() const { return m_minimumSize; }
    QList<QZTBaseButton *> buttons() const { return m_buttons; }
    QZTBaseButton *closeButton() const { return m_closeButton; }
    void releaseBtnList();

    // Breaks one line so that no piece is wider than the maximum line width in the message font.
    QString splitStringline(const QString &line) const;

public slots:
    void OnBtnClose();
    void OnBtnDone();

protected:
    virtual void drawIcon(QPainter *painter);
    virtual void drawMessage(QPainter *painter);
    void resetControlLocation() override;
    void paintEvent(QPaintEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    void creatStyleButton();
    QZTBaseButton *addButton(const QString &text, int result);
    void calcTextSize(const QString &text);
    void calcBoxRect();
    void InitIcon();
    int textWidth(const QString &text) const;

    QImage m_iconImage;
    QString m_message;
    Icon m_icon = NoIcon;
    QRect m_iconRect;
    QZTBaseButton *m_closeButton = nullptr;
    QList<QZTBaseButton *> m_buttons;
    ButtonStyle m_buttonStyle = StyleOk;
    QZTMessageBoxOption m_option;
    int m_minButtonWidth = 80;
    QSize m_minimumSize;
    bool m_shownOnce = false;
    QSize m_textSize;
    QString m_displayText;
    QRect m_textRect;
    int m_maxLineWidth = 500;
    int m_textIndent = 0;

    static void (*s_optionCallback)(QZTMessageBoxOption *);
};
