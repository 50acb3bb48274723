#include "QCustomTimeEdit.h"

#include "QTextImageButton.h"
#include "TimeFieldMath.h"

#include <QDebug>
#include <QEvent>
#include <QLineEdit>

QTimeEditEx::QTimeEditEx(QWidget *parent) : QTimeEdit(parent)
{
    connect(lineEdit(), &QLineEdit::textEdited, this, &QTimeEditEx::emitTextEdited);
    connect(lineEdit(), &QLineEdit::textChanged, this, &QTimeEditEx::emitTextChanged);
    connect(lineEdit(), &QLineEdit::editingFinished, this, &QTimeEditEx::emitTextFinish);
}

void QTimeEditEx::stepUp()
{
    QAbstractSpinBox::stepUp();
    emit emitStepUp();
}

void QTimeEditEx::stepDown()
{
    QAbstractSpinBox::stepDown();
    emit emitStepDown();
}

QCustomTimeEdit::QCustomTimeEdit(QWidget *parent) : QCustomImageWidget(parent)
{
    qRegisterMetaType<uint64_t>("uint64_t"); // lets queued connections carry the time
    m_timeEdit = new QTimeEditEx(this);
    m_timeEdit->setStyleSheet(QStringLiteral(
        "QTimeEdit{background:transparent;border:none;padding:1 -15 1 1;}QTimeEdit::up-button "
        "{background:transparent;border:0px solid red;margin-bottom:0px sloid blue;height:0px;}QTimeEdit::down-"
        "button {background:transparent;border:0px solid red;width: 0px;height:0px;}"));
    m_timeEdit->setDisplayFormat(QStringLiteral("hh:mm:ss.zzz"));
    m_timeEdit->setAttribute(Qt::WA_MacShowFocusRect, false);
    QFont font = m_timeEdit->font();
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPixelSize(12);
    m_timeEdit->setFont(font);
    QPalette palette = m_timeEdit->palette();
    palette.setColor(QPalette::All, QPalette::WindowText, QColor(159, 147, 147));
    palette.setColor(QPalette::All, QPalette::Text, QColor(228, 228, 228));
    m_timeEdit->setPalette(palette);
    connect(m_timeEdit, &QTimeEdit::timeChanged, this, &QCustomTimeEdit::onTimeChanged);
    connect(m_timeEdit, &QTimeEditEx::emitStepUp, this, &QCustomTimeEdit::OnBtnUp);
    connect(m_timeEdit, &QTimeEditEx::emitStepDown, this, &QCustomTimeEdit::OnBtnDown);
    connect(m_timeEdit->getLindEdit(), &QLineEdit::textEdited, this, &QCustomTimeEdit::timeTextEdited);
    connect(m_timeEdit->getLindEdit(), &QLineEdit::editingFinished, this, &QCustomTimeEdit::timeEditingFinished);
    m_timeEdit->show();
    layoutChildren();
}

unsigned long long QCustomTimeEdit::TimeConvertToInt(const QTime &time)
{
    return TimeFieldMath::toMicroseconds(time);
}

QTime QCustomTimeEdit::IntConvertToTime(unsigned long long us)
{
    return TimeFieldMath::fromMicroseconds(us);
}

QTextImageButton *QCustomTimeEdit::ensureButton(QTextImageButton *&button, bool up)
{
    if (!button) {
        button = new QTextImageButton(this);
        if (up)
            connect(button, &QTextImageButton::clicked, m_timeEdit, &QTimeEditEx::stepUp);
        else
            connect(button, &QTextImageButton::clicked, m_timeEdit, &QTimeEditEx::stepDown);
    }
    return button;
}

bool QCustomTimeEdit::setUpAndDownBtnImage(const QString &up, const QString &down)
{
    QTextImageButton *upButton = ensureButton(m_up, true);
    QTextImageButton *downButton = ensureButton(m_down, false);
    const bool ok = upButton->setBtnImageForRect(up, QRect()) & downButton->setBtnImageForRect(down, QRect());
    upButton->show();
    downButton->show();
    layoutChildren();
    return ok;
}

void QCustomTimeEdit::setEditColor(const QColor &enabled, const QColor &disabled)
{
    m_enabledColor = enabled;
    m_disabledColor = disabled;
    for (QWidget *w : {static_cast<QWidget *>(m_timeEdit), static_cast<QWidget *>(m_timeEdit->getLindEdit())}) {
        QPalette palette = w->palette();
        palette.setColor(QPalette::All, QPalette::WindowText, enabled);
        palette.setColor(QPalette::All, QPalette::Text, enabled);
        w->setPalette(palette);
    }
}

void QCustomTimeEdit::setTimeRange(unsigned long long minimum, unsigned long long maximum)
{
    m_timeEdit->setTimeRange(IntConvertToTime(minimum), IntConvertToTime(maximum));
}

void QCustomTimeEdit::clearRange()
{
    m_timeEdit->clearMaximumTime();
    m_timeEdit->clearMinimumTime();
}

void QCustomTimeEdit::setCurrentTime(unsigned long long us)
{
    m_currentUs = std::min(us, TimeFieldMath::kLastOfDayUs);
    m_current = IntConvertToTime(m_currentUs);
    m_timeEdit->setTime(m_current);
}

void QCustomTimeEdit::timeTextEdited(const QString &text)
{
    m_current = TimeFieldMath::parseTyped(text);
    emit emitTimeChange(TimeConvertToInt(m_current));
}

void QCustomTimeEdit::stepped(bool up)
{
    const QTime editTime = m_timeEdit->time();
    const QTime minimum = m_timeEdit->minimumTime();
    const QTime maximum = m_timeEdit->maximumTime();
    qDebug() << m_current << editTime << (up ? "OnBtnUp---------" : "OnBtnDown---------")
             << m_timeEdit->currentSection() << "+++++++++++" << minimum << maximum;
    QTime used = editTime;
    QTime carriedTime;
    if (TimeFieldMath::carried(m_current, m_timeEdit->currentSection(), up, carriedTime)) {
        const bool allowed = up ? carriedTime <= maximum : (carriedTime >= minimum && carriedTime < maximum);
        if (allowed)
            used = carriedTime;
    }
    if (!up)
        qDebug() << used;
    emit emitTimeChange(TimeConvertToInt(used));
}

void QCustomTimeEdit::OnBtnUp()
{
    stepped(true);
}

void QCustomTimeEdit::OnBtnDown()
{
    stepped(false);
}

void QCustomTimeEdit::changeEvent(QEvent *e)
{
    QCustomImageWidget::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) {
        QPalette palette = m_timeEdit->palette();
        palette.setColor(QPalette::All, QPalette::Text, isEnabled() ? m_enabledColor : m_disabledColor);
        m_timeEdit->setPalette(palette);
    }
}

void QCustomTimeEdit::resizeEvent(QResizeEvent *e)
{
    QCustomImageWidget::resizeEvent(e);
    layoutChildren();
}

void QCustomTimeEdit::layoutChildren()
{
    const int bw = m_up ? m_up->width() + 5 : 10;
    m_timeEdit->setGeometry(5, 2, std::max(0, width() - bw), std::max(0, height() - 4));
    if (m_up)
        m_up->move(width() - m_up->width(), 0);
    if (m_down)
        m_down->move(width() - m_down->width(), 12);
}
