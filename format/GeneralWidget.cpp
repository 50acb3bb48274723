#include "GeneralWidget.h"

#include "QCheckButton.h"
#include "QConverterOperate.h"
#include "QIAnyUtil.h"
#include "QVideoSettingXml.h"
#include "QZTComboBox.h"
#include "SettingKeys.h"

#include <QPainter>

namespace {

const char *const kGroupStyle = "QGroupBox{border:1px solid gray; border-radius:5px;margin-top:2ex;}QGroupBox::title "
                                "{subcontrol-origin: margin;subcontrol-position: top left;left:5px;padding:0px;}";

QString languageListPath()
{
    return QIAnyUtil::getResourcePath() + QStringLiteral("/Language/Language.xml");
}

} // namespace

GeneralWidget::GeneralWidget(QWidget *parent) : QWidget(parent)
{
    setupUi(this);
    InitCtrl();
}

void GeneralWidget::InitCtrl()
{
    m_GroupLanguage->hide();
    m_GroupUpdates->move(11, 10);
    m_GroupClose->move(11, 105);
    m_GroupUpdates->setTitle(tr("Automatic updates"));
    m_GroupClose->setTitle(tr("Close"));
    m_radAutoUpdate->setText(tr("Automatically update to the newest version"));
    m_radCloseUpdate->setText(tr("Close automatic updates"));
    m_radMin->setText(tr("Minimize to Tray"));
    m_radExit->setText(tr("Exit"));

    QFont font = m_radAutoUpdate->font();
    font.setFamily(QStringLiteral("helvetica neue"));
    // Sizes are given as the platform the program was drawn for shows them: one point per pixel.
    font.setPixelSize(11);
    font.setBold(false);
    for (QGroupBox *g : {m_GroupUpdates, m_GroupClose, m_GroupLanguage}) {
        g->setFont(font);
        g->setStyleSheet(QString::fromLatin1(kGroupStyle));
    }
    const QList<QCheckButton *> options{m_radAutoUpdate, m_radCloseUpdate, m_radMin, m_radExit};
    for (QCheckButton *o : options)
        o->setFont(font);
    m_radAutoUpdate->move(10, 25);
    m_radCloseUpdate->move(10, 50);
    m_radMin->move(10, 25);
    m_radExit->move(10, 50);

    QPalette palette = this->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(g, QPalette::WindowText, QColor(255, 255, 255));
    for (QGroupBox *g : {m_GroupUpdates, m_GroupClose, m_GroupLanguage})
        g->setPalette(palette);
    const QString res = QIAnyUtil::getResourcePath();
    for (QCheckButton *o : options) {
        o->setTextColor(QColor(255, 255, 255));
        o->setCheckImage(res + QStringLiteral("/image/Common_bg/Edit_selections_yes.png"),
                         res + QStringLiteral("/image/Common_bg/Edit_selections_no.png"));
        o->setButtonType(true);
    }
    connect(m_radAutoUpdate, &QCheckButton::clicked, this, &GeneralWidget::OnChanegeUpdate);
    connect(m_radCloseUpdate, &QCheckButton::clicked, this, &GeneralWidget::OnChanegeUpdate);
    connect(m_radExit, &QCheckButton::clicked, this, &GeneralWidget::OnChangeClose);
    connect(m_radMin, &QCheckButton::clicked, this, &GeneralWidget::OnChangeClose);

    m_bUpdate = QVideoSettingXml::GetItemValue(SettingKeys::AutoUpdate) == QLatin1String("Y");
    (m_bUpdate ? m_radAutoUpdate : m_radCloseUpdate)->setChecked(true);
    m_bClose = QVideoSettingXml::GetItemValue(SettingKeys::CloseQuits) == QLatin1String("Y");
    (m_bClose ? m_radExit : m_radMin)->setChecked(true);
}

void GeneralWidget::saveSetting()
{
    const bool update = m_radAutoUpdate->isChecked();
    if (update != m_bUpdate) {
        QVideoSettingXml::SetItemValue(SettingKeys::AutoUpdate, update ? QStringLiteral("Y") : QStringLiteral("N"));
        emit sendUpdate(update);
    }
    const bool exits = m_radExit->isChecked();
    if (exits != m_bClose)
        QVideoSettingXml::SetItemValue(SettingKeys::CloseQuits, exits ? QStringLiteral("Y") : QStringLiteral("N"));
}

void GeneralWidget::OnChanegeUpdate()
{
    const bool autoUpdate = sender() == m_radAutoUpdate;
    m_radAutoUpdate->setChecked(autoUpdate);
    m_radCloseUpdate->setChecked(!autoUpdate);
}

void GeneralWidget::OnChangeClose()
{
    const bool exits = sender() == m_radExit;
    m_radExit->setChecked(exits);
    m_radMin->setChecked(!exits);
}

void GeneralWidget::InitLanguage()
{
    const QString stored = QVideoSettingXml::GetItemValue(SettingKeys::LanguageName);
    const QStringList names = QVideoSettingXml::GetLanguage(languageListPath());
    m_cmbLan->addItems(names);
    const int at = names.indexOf(stored);
    if (at >= 0) {
        m_cmbLan->setCurrentIndex(at);
        m_languageIndex = at;
    }
}

bool GeneralWidget::getChangeLanguage() const
{
    return m_cmbLan->currentIndex() != m_languageIndex;
}

void GeneralWidget::languageChange(int)
{
    const QPair<QString, QString> entry =
        QVideoSettingXml::GetLanguageFile(languageListPath(), m_cmbLan->currentText());
    QConverterOperate::setLanguageType(entry.second);
    emit sendLanguageName(QIAnyUtil::getResourcePath() + QStringLiteral("/Language/") + entry.first);
}

void GeneralWidget::retranslateUi()
{
    m_GroupUpdates->setTitle(tr("Automatic updates"));
    m_GroupClose->setTitle(tr("Close"));
    m_GroupLanguage->setTitle(tr("Language"));
    m_radAutoUpdate->setText(tr("Automatically update to the newest version"));
    m_radCloseUpdate->setText(tr("Close automatic updates"));
    m_radMin->setText(tr("Minimize to Tray"));
    m_radExit->setText(tr("Exit"));
    QFont font = m_radAutoUpdate->font();
    font.setFamily(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    m_radAutoUpdate->setFont(font);
    m_radCloseUpdate->setFont(font);
}

void GeneralWidget::paintEvent(QPaintEvent *e)
{
    QWidget::paintEvent(e);
    QPainter painter(this);
    painter.fillRect(rect(), QColor(51, 51, 51));
}
