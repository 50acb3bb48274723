// The format chooser's behaviour: modes, categories, tiles, presets, the advanced panel, OK and Cancel.

#include "FormatWidget.h"

#include "FormatItem.h"
#include "QCheckButton.h"
#include "QCustomComboBox.h"
#include "QIAnyUtil.h"
#include "QPlistRead.h"
#include "QSettingDlg.h"
#include "QTextImageButton.h"
#include "QVideoSettingXml.h"
#include "QZTBaseButton.h"
#include "QZTMessageBox.h"
#include "SettingKeys.h"

#include <QEvent>
#include <QPropertyAnimation>

FormatWidget *FormatWidget::m_myself = nullptr;

namespace {

constexpr QSize kUnfolded(636, 496);
constexpr QSize kFolded(636, 183);

std::string utf8(const QString &s)
{
    return s.toUtf8().toStdString();
}

bool losslessListShown()
{
    return QVideoSettingXml::GetItemValue(SettingKeys::LosslessPane) == QLatin1String("Y");
}

} // namespace

FormatWidget *FormatWidget::getFormatWidget(QWidget *parent)
{
    if (!m_myself)
        m_myself = new FormatWidget(parent);
    return m_myself;
}

FormatWidget::~FormatWidget()
{
    // The chooser goes with its parent window; a later getFormatWidget must not hand out a dead object.
    if (m_myself == this)
        m_myself = nullptr;
}

QPlistRead *FormatWidget::encodingReader()
{
    return QPlistRead::getPlistRead(utf8(QIAnyUtil::getResourcePath() + QStringLiteral("/profile/profiles_mac.plist")));
}

QPlistRead *FormatWidget::losslessReader()
{
    return QPlistRead::getPlistLosslessRead(
        utf8(QIAnyUtil::getResourcePath() + QStringLiteral("/profile/profiles_mac_Lossless.plist")));
}

void FormatWidget::setFolded(bool fold)
{
    m_isFold = fold;
    resize(fold ? kFolded : kUnfolded);
    update();
}

void FormatWidget::OnClickLossless()
{
    setFormatIdLossLess(QVideoSettingXml::GetItemValue(SettingKeys::FormatCategoryLossless),
                        QVideoSettingXml::GetItemValue(SettingKeys::FormatIdLossless), true);
    setDefaultSet();
    InitLossless();
}

void FormatWidget::OnClickCustomizeFormat()
{
    setFormatId(QVideoSettingXml::GetItemValue(SettingKeys::FormatCategory),
                QVideoSettingXml::GetItemValue(SettingKeys::FormatId), true);
    setDefaultSet();
    InitCustomizeFormat();
    // The reload left the profile's first row in the panel. It must hold what it shows once opened, the
    // preset's or the stored custom values: an OK without opening it rebuilds the record and stores the
    // custom values from these lists (a fixed 640*480 at 29.97 fps where the panel showed "Auto").
    selectQuality();
}

void FormatWidget::InitLossless()
{
    m_settingDlg->setFormatMode(true);
    m_radLosslessMode->setChecked(true);
    m_radCustomize->setChecked(false);
    m_cmbQuality->setEnabled(false);
    m_btnLosslessShow->setEnabled(true);
    m_btnLosslessHidden->setEnabled(true);
    const bool shown = losslessListShown();
    m_btnLosslessShow->setVisible(!shown);
    m_btnLosslessHidden->setVisible(shown);
    m_settingDlg->hide();
    showLosslessMode(true);
}

void FormatWidget::InitCustomizeFormat()
{
    m_settingDlg->setFormatMode(false);
    m_radLosslessMode->setChecked(false);
    m_radCustomize->setChecked(true);
    m_cmbQuality->setEnabled(true);
    m_btnLosslessShow->setEnabled(false);
    m_btnLosslessHidden->setEnabled(false);
    m_settingDlg->hide();
    showLosslessMode(false);
}

void FormatWidget::showLosslessMode(bool lossless)
{
    if (!lossless) {
        m_btnCategoriesWgt->show();
        m_formatItemDlg->show();
        m_formatItemLosslessDlg->hide();
        m_btnCategoriesLosslessWgt->hide();
        if (m_isFold)
            setFolded(false);
        return;
    }
    m_btnCategoriesWgt->hide();
    m_formatItemDlg->hide();
    if (losslessListShown()) {
        m_formatItemLosslessDlg->show();
        m_btnCategoriesLosslessWgt->show();
        if (m_isFold)
            setFolded(false);
    } else {
        m_formatItemLosslessDlg->hide();
        m_btnCategoriesLosslessWgt->hide();
        if (!m_isFold)
            setFolded(true);
    }
}

void FormatWidget::setFormatId(QString categories, QString itemID, bool reload)
{
    m_categories = categories;
    QVideoSettingXml::SetItemValue(SettingKeys::FormatCategory, categories);
    m_itemID = itemID;
    QVideoSettingXml::SetItemValue(SettingKeys::FormatId, itemID);
    const QString title =
        QString::fromUtf8(encodingReader()->getFormatInfoForKey(utf8(m_categories), utf8(m_itemID), "title").c_str());
    if (reload) {
        FormatAllInfo *record = encodingReader()->GetFormatInfoForPlist(utf8(categories), utf8(itemID), "", "", "", "");
        m_settingDlg->setFormatInfoToCtrl(record);
        if (record) {
            if (!QVideoSettingXml::GetDefaultFormat(itemID)) {
                if (m_cmbQuality->count() > 2)
                    m_cmbQuality->DeleteItem(2);
                m_quality = HighQuality;
            } else {
                setCustomizedItem(true);
            }
        }
    }
    setDevFormat(title);
}

void FormatWidget::setFormatIdLossLess(QString categories, QString itemID, bool reload)
{
    m_categoriesLossless = categories;
    QVideoSettingXml::SetItemValue(SettingKeys::FormatCategoryLossless, categories);
    m_itemIDLossless = itemID;
    QVideoSettingXml::SetItemValue(SettingKeys::FormatIdLossless, itemID);
    const QString title = QString::fromUtf8(
        losslessReader()->getFormatInfoForKey(utf8(m_categoriesLossless), utf8(m_itemIDLossless), "title").c_str());
    if (reload) {
        m_settingDlg->setFormatInfoToCtrlLossLess(
            losslessReader()->GetFormatInfoForPlist(utf8(categories), utf8(itemID), "", "", "", ""));
        m_settingDlg->hide();
    }
    setDevFormat(title);
}

void FormatWidget::setDevFormat(QString DevName)
{
    m_devName = DevName;
    emit sendDevFormatChange(DevName);
}

void FormatWidget::setDefaultSet()
{
    if (!m_categories.isEmpty()) {
        for (QTextImageButton *b : qAsConst(m_typeBtnList)) {
            if (b->getBtnText() == m_categories) {
                b->seedChick();
                break;
            }
        }
    }
    if (!m_itemID.isEmpty())
        m_formatItemDlg->setDefaultItem(m_itemID);
    if (!m_categoriesLossless.isEmpty()) {
        for (QTextImageButton *b : qAsConst(m_typeLosslessBtnList)) {
            if (b->getBtnText() == m_categoriesLossless) {
                b->seedChick();
                break;
            }
        }
    }
    if (!m_itemIDLossless.isEmpty())
        m_formatItemLosslessDlg->setDefaultItem(m_itemIDLossless);
}

void FormatWidget::OnTypeBtn()
{
    auto *button = qobject_cast<QTextImageButton *>(sender());
    if (!button || button == m_curTypeBtn)
        return;
    if (m_curTypeBtn)
        m_curTypeBtn->setCheckState(false);
    m_curTypeBtn = button;
    button->setCheckState(true);
    m_formatItemDlg->RefreshItem(button->getBtnText(), encodingReader(), false);
    m_formatItemDlg->setDefaultItem(m_itemID);
    startShowSetDlgAnimtion(false);
}

void FormatWidget::OnTypeLosslessBtn()
{
    auto *button = qobject_cast<QTextImageButton *>(sender());
    if (!button || button == m_curTypeLosslessBtn)
        return;
    if (m_curTypeLosslessBtn)
        m_curTypeLosslessBtn->setCheckState(false);
    m_curTypeLosslessBtn = button;
    button->setCheckState(true);
    m_formatItemLosslessDlg->RefreshItem(button->getBtnText(), losslessReader(), true);
    m_formatItemLosslessDlg->setDefaultItem(m_itemIDLossless);
}

void FormatWidget::ItemPress(QString categories, QString itemID)
{
    m_itemID = itemID;
    m_categories = categories;
    FormatAllInfo *record = encodingReader()->GetFormatInfoForPlist(utf8(categories), utf8(itemID), "", "", "", "");
    m_settingDlg->setFormatInfoToCtrl(record);
    if (!record)
        return;
    if (!QVideoSettingXml::GetDefaultFormat(QString::fromUtf8(record->strId.c_str()))) {
        if (m_cmbQuality->count() > 2)
            m_cmbQuality->DeleteItem(2);
        m_quality = HighQuality;
    } else {
        setCustomizedItem(true);
    }
    selectQuality();
}

void FormatWidget::ItemPressLossless(QString categories, QString itemID)
{
    m_categoriesLossless = categories;
    m_itemIDLossless = itemID;
    m_settingDlg->setFormatInfoToCtrlLossLess(
        losslessReader()->GetFormatInfoForPlist(utf8(categories), utf8(itemID), "", "", "", ""));
}

void FormatWidget::setDefaultQuality(QualityItem q)
{
    // "Customized" needs the profile's stored custom quality; without one it is the default preset.
    if (q == Customized && !m_radLosslessMode->isChecked() && !QVideoSettingXml::GetDefaultFormat(m_itemID)) {
        q = HighQuality;
        setCustomizedItem(false);
    }
    m_quality = q;
    selectQuality();
}

void FormatWidget::saveDefaultQuality()
{
    m_settingDlg->setAttributeSetting();
}

void FormatWidget::ItemChange(int index)
{
    m_quality = index == 0 ? HighQuality : index == 1 ? SmallSize : Customized;
    selectQuality();
}

void FormatWidget::selectQuality(bool)
{
    switch (m_quality) {
    case SmallSize:
        m_settingDlg->setVideoQuality(SmallSize);
        m_cmbQuality->setCurrentIndex(1);
        break;
    case HighQuality:
        m_settingDlg->setVideoQuality(HighQuality);
        m_cmbQuality->setCurrentIndex(0);
        break;
    case Customized:
        m_settingDlg->setVideoQuality(Customized);
        if (m_cmbQuality->count() > 2)
            m_cmbQuality->setCurrentIndex(2);
        break;
    default:
        break;
    }
}

void FormatWidget::setCustomizedItem(bool customized)
{
    if (customized) {
        if (m_cmbQuality->count() < 3)
            m_cmbQuality->addItem(tr("Customized"));
        m_quality = Customized;
    } else {
        if (m_cmbQuality->count() > 2)
            m_cmbQuality->DeleteItem(2);
        m_quality = HighQuality;
    }
}

void FormatWidget::isSelCustomized(bool customized)
{
    if (!customized) {
        m_quality = HighQuality;
    } else {
        m_quality = Customized;
        if (m_cmbQuality->count() < 3)
            m_cmbQuality->addItem(tr("Customized"));
    }
    selectQuality();
}

void FormatWidget::valueChangeText(VideoQuality q)
{
    switch (q) {
    case SmallSize:
        m_cmbQuality->setEditText(tr("Small Size"));
        break;
    case HighQuality:
        m_cmbQuality->setEditText(tr("High Quality"));
        break;
    case Customized:
        m_cmbQuality->setEditText(tr("Customized"));
        break;
    default:
        m_cmbQuality->setEditText(QString());
        break;
    }
}

void FormatWidget::OnShowSettingDlg(bool show)
{
    startShowSetDlgAnimtion(show);
    if (!show)
        return;
    FormatAllInfo *record = encodingReader()->GetFormatInfoForPlist(utf8(m_categories), utf8(m_itemID), "", "", "", "");
    if (!record)
        return;
    m_settingDlg->setFormatInfoToCtrl(record);
    if (m_quality == Customized)
        m_settingDlg->SetDefaultValue(QString::fromUtf8(record->strId.c_str()));
    selectQuality();
}

void FormatWidget::OnClickBtnSet(QString)
{
    OnShowSettingDlg(m_settingDlg->isHidden());
}

void FormatWidget::OnClickFormatWgt()
{
    startShowSetDlgAnimtion(false);
}

void FormatWidget::startShowSetDlgAnimtion(bool show)
{
    // One animation at a time; a stopped one deletes itself.
    if (m_panelAnimation)
        m_panelAnimation->stop();
    auto *animation = new QPropertyAnimation(m_settingDlg, "geometry", this);
    animation->setDuration(150);
    if (show) {
        m_settingDlg->show();
        m_settingDlg->raise();
        animation->setStartValue(QRect(40, 405, 556, 0));
        animation->setEndValue(QRect(40, 275, 556, 130));
    } else {
        animation->setStartValue(QRect(40, 275, 556, 130));
        animation->setEndValue(QRect(40, 405, 556, 0));
        connect(animation, &QPropertyAnimation::finished, m_settingDlg, &QWidget::hide);
    }
    m_panelAnimation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void FormatWidget::startShowFormatAnimtion(bool fold)
{
    if (fold != m_isFold)
        setFolded(fold);
}

void FormatWidget::OnClickLosslessShow()
{
    if (!m_isLossless) {
        m_isLossless = true;
        QZTMessageBox::ShowMessage(
            this, tr("Quorvane Reelsplice"),
            tr("Attention: Please don't change advanced settings if you are non-professionals. Please leave it as "
               "the default \"Original\". Otherwise the conversion may fail."),
            QZTMessageBox::Warning, QZTMessageBox::StyleOk);
    }
    QVideoSettingXml::SetItemValue(SettingKeys::LosslessPane, QStringLiteral("Y"));
    m_formatItemLosslessDlg->show();
    m_btnCategoriesLosslessWgt->show();
    m_btnLosslessShow->hide();
    m_btnLosslessHidden->show();
    if (m_isFold)
        setFolded(false);
}

void FormatWidget::OnClickLosslessHidden()
{
    QVideoSettingXml::SetItemValue(SettingKeys::LosslessPane, QStringLiteral("N"));
    m_formatItemLosslessDlg->hide();
    m_btnCategoriesLosslessWgt->hide();
    m_btnLosslessShow->show();
    m_btnLosslessHidden->hide();
    if (!m_isFold)
        setFolded(true);
}

void FormatWidget::OnBtnOk()
{
    const bool lossless = m_radLosslessMode->isChecked();
    QVideoSettingXml::SetItemValue(SettingKeys::LosslessConvert, lossless ? QStringLiteral("Y") : QStringLiteral("N"));
    hide();
    if (m_quality < Customized)
        m_quality = m_settingDlg->getChangeQuality();
    QVideoSettingXml::SetItemValue(SettingKeys::VideoQualityValue, QString::number(m_quality));
    if (lossless)
        setFormatIdLossLess(m_categoriesLossless, m_itemIDLossless, true);
    else
        setFormatId(m_categories, m_itemID, false);
    m_settingDlg->OnOkSet();
    emit settingChangeForFormat();
}

void FormatWidget::OnBtnCancel()
{
    hide();
    const QString mode = QVideoSettingXml::GetItemValue(
        QLatin1String(SettingKeys::LosslessConvert.tag), QLatin1String(SettingKeys::LosslessConvert.attribute),
        m_radLosslessMode->isChecked() ? QStringLiteral("Y") : QStringLiteral("N"));
    if (mode == QLatin1String("Y"))
        OnClickLossless();
    else
        OnClickCustomizeFormat();
}

void FormatWidget::CenterDlg(QDialog &dlg)
{
    const QPoint g = mapToGlobal(QPoint(0, 0));
    int x = g.x() + (width() - dlg.width()) / 2 + 10;
    int y = g.y() + (height() - dlg.height()) / 2 + 50;
    if (x < 1)
        x = 50;
    if (y < 1)
        y = 50;
    dlg.move(x, y);
}

QString FormatWidget::analysisItemIcon(const QString &category) const
{
    const QString base = QIAnyUtil::getResourcePath() + QStringLiteral("/image/Format_Dlg/");
    if (category == QLatin1String("Devices"))
        return base + QStringLiteral("profile_icon_devices@2x.png");
    if (category == QLatin1String("HD Video"))
        return base + QStringLiteral("profile_icon_hdvideo@2x.png");
    if (category == QLatin1String("Web Video"))
        return base + QStringLiteral("profile_icon_webvideo@2x.png");
    if (category == QLatin1String("General Video"))
        return base + QStringLiteral("profile_icon_video@2x.png");
    if (category == QLatin1String("General Audio"))
        return base + QStringLiteral("profile_icon_audio@2x.png");
    return base + QStringLiteral("main_icon_format@2x.png");
}

QString FormatWidget::getItemIcon() const
{
    return QIAnyUtil::getResourcePath() + QStringLiteral("/image/Format/") +
           QStringLiteral("icon_%1.png").arg(m_itemID);
}

bool FormatWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this && event->type() == QEvent::WindowDeactivate)
        return true;
    return QNinePointsImageDialog::eventFilter(watched, event);
}
