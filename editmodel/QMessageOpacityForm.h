#pragma once
// A small frameless notice that stays on top, shows a short text, holds for a second and then fades out
// and closes by itself; while the pointer is over it, it stays fully visible. Closing only hides it: the
// owner keeps the instance for the next message.

#include "QZTDialog.h"
#include "ui_QMessageOpacityForm.h"

class QTimer;

class QMessageOpacityForm : public QZTDialog, public Ui::QMessageOpacityForm
{
    Q_OBJECT
public:
    explicit QMessageOpacityForm(QWidget *parent = nullptr);
    ~QMessageOpacityForm() override;

    // The owner sets the background for each message; the notice keeps its own 50 x 50 corners over it.
    void setBackgroundImage(const QString &path, bool resizable);
    void startOpacity();
    void setMessageText(const QString &text);
    void setMessageText(const QString &text, int x, int y);
    void setShowlink(int x, int y, bool show);
    void setCheckShow(bool show);
    void setIsOpacity(bool on) { m_fadeOnHover = on; }
    QTimer *fadeTimer() const { return m_timer; }

    // Hold before the fade, and one fade step.
    static constexpr int kHoldMs = 1000;
    static constexpr int kStepMs = 50;

public slots:
    void onTimer();
    void onClose();
    void openUrl(QString link);

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void initControls();
    void placeText(const QString &text, int x, int y);

    QTimer *m_timer = nullptr;
    bool m_fadeOnHover = true;
};
