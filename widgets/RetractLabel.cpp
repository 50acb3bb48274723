#include "RetractLabel.h"

#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>

#include <climits>

RetractLabel::RetractLabel(QWidget *parent) : QLabel(parent)
{
    setMouseTracking(true);
    installEventFilter(this);
}

bool RetractLabel::fits(const QFontMetrics &fm, const QString &text) const
{
    return fm.boundingRect(QRect(0, 0, width(), INT_MAX / 2), Qt::TextWrapAnywhere, text).height() <= height();
}

void RetractLabel::setText(const QString &name)
{
    m_name = name;
    QFont f = font();
    f.setFamily(QStringLiteral("Tahoma"));
    f.setPixelSize(m_pixelSize);
    QLabel::setFont(f);
    const QFontMetrics fm(font());
    if (height() < 1 || fm.height() > height())
        return;

    QString shown = name;
    if (fits(fm, name)) {
        setToolTip(QString());
    } else {
        // Drop one more character per try; ends with "..." alone when even that does not fit.
        shown = QStringLiteral("...");
        for (int k = 1; k <= name.size(); ++k) {
            const QString candidate = name.left(name.size() - k) + QStringLiteral("...");
            if (fits(fm, candidate)) {
                shown = candidate;
                break;
            }
        }
        setToolTip(name);
    }
    QLabel::setText(shown);
    m_textWidth = fm.boundingRect(QRect(0, 0, width(), INT_MAX / 2), Qt::TextWrapAnywhere, shown).width();
}

QString RetractLabel::baseName() const
{
    const int dot = m_name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? m_name : m_name.left(dot);
}

QString RetractLabel::extension() const
{
    const int dot = m_name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : m_name.mid(dot);
}

void RetractLabel::setCanEditText(bool)
{
    if (!m_editor) {
        m_editor = new QLineEdit(this);
        m_editor->setAcceptDrops(true);
        connect(m_editor, &QLineEdit::returnPressed, this, &RetractLabel::RenameOK);
        connect(m_editor, &QLineEdit::textChanged, this, &RetractLabel::NameChange);
        connect(m_editor, &QLineEdit::editingFinished, this, &RetractLabel::RenameOK);
    }
    m_editText = m_ignoreExtension ? baseName() : m_name;
    m_editor->setText(m_editText);
    m_editor->setGeometry(0, 0, m_textWidth + 2, height());
    m_editor->show();
    m_editor->selectAll();
    m_editor->setFocus(Qt::OtherFocusReason);
}

void RetractLabel::NameChange(const QString &text)
{
    static const QRegularExpression forbidden(QStringLiteral("[/:*\"<>|?]"));
    if (!text.contains(forbidden) && !text.contains(QLatin1Char('\\')))
        m_editText = text;
    else
        m_editor->setText(m_editText);
}

void RetractLabel::RenameOK()
{
    // Return and the end of editing both arrive here: only the first commit of an open editor counts.
    if (!m_editor || m_committing || m_editor->isHidden())
        return;
    m_committing = true;
    m_editor->hide();
    m_committing = false;

    const QString typed = m_editor->text().trimmed();
    if (typed.isEmpty() || typed == QLatin1String(".") || typed == QLatin1String(".."))
        return;
    const QString renamed = m_ignoreExtension ? typed + extension() : typed;
    if (renamed == m_name)
        return;
    m_name = renamed;
    emit emitChangeName();
}

// The name was shortened to fit when wrapped at any character; QLabel itself wraps only between words (a
// file name often has none), so it would show one clipped line instead.
void RetractLabel::paintEvent(QPaintEvent *e)
{
    QFrame::paintEvent(e);
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(alignment()) | Qt::TextWrapAnywhere, palette(), isEnabled(),
                          text(), foregroundRole());
}

bool RetractLabel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != this)
        return QLabel::eventFilter(watched, event);
    if (event->type() == QEvent::WindowDeactivate) {
        // Leaving the window ends the edit the way finishing it does.
        RenameOK();
        return true;
    }
    return false;
}
