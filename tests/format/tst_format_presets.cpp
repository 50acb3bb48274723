// Quality presets, "Customized" and the custom quality remembered per profile, driven through the
// chooser's preset list and the panel's lists as a user picks entries.

#include "FormatItem.h"
#include "FormatItemWidget.h"
#include "FormatTestKit.h"
#include "FormatWidget.h"
#include "QCustomComboBox.h"
#include "QIAnyUtil.h"
#include "QSettingDlg.h"
#include "QTextImageButton.h"
#include "QVideoSettingXml.h"
#include "SettingKeys.h"
#include "TestSupport.h"

#include <QAction>
#include <QSignalSpy>

class TestFormatPresets : public QObject
{
    Q_OBJECT
private:
    FormatWidget *m_chooser = nullptr;
    QWidget m_host;
    QSettingDlg *panel() { return m_chooser->m_settingDlg; }

    // A user's pick in a menu-backed list.
    static void pick(QCustomComboBox *list, const QString &text)
    {
        for (int i = 0; i < list->count(); ++i) {
            if (list->itemText(i) == text) {
                list->actions().at(i)->trigger();
                return;
            }
        }
        QFAIL(qPrintable(QStringLiteral("no entry %1").arg(text)));
    }
    static QString data(QCustomComboBox *list) { return list->itemDataString(list->currentIndex()); }
    void open(const QString &category = QStringLiteral("Devices"), const QString &id = QStringLiteral("1136"))
    {
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::FormatCategory, category));
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::FormatId, id));
        ftk::restoreChooser(m_chooser);
        m_chooser->show();
        m_chooser->OnShowSettingDlg(true);
        ftk::settle();
    }
    bool customStored(const QString &id) { return QVideoSettingXml::GetDefaultFormat(id) != nullptr; }

private slots:
    void initTestCase()
    {
        ftk::resetSettings();
        m_chooser = FormatWidget::getFormatWidget(&m_host);
    }
    void init()
    {
        ftk::resetSettings();
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::VideoQualityValue, QStringLiteral("1")));
    }

    void presetBitRates_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("videoRate");
        QTest::newRow("High Quality") << 0 << "5000 kbps";
        QTest::newRow("Small Size") << 1 << "1500 kbps";
    }
    void presetBitRates()
    {
        QFETCH(int, entry);
        open();
        m_chooser->m_cmbQuality->actions().at(entry == 0 ? 1 : 0)->trigger(); // start from the other preset
        m_chooser->m_cmbQuality->actions().at(entry)->trigger();
        QCOMPARE(m_chooser->quality(), entry == 0 ? 1 : 0);
        QTEST(panel()->m_cmbVBitRate->currentText(), "videoRate");
        QCOMPARE(panel()->m_cmbABitRate->currentText(), QStringLiteral("192 kbps")); // high under both
        QCOMPARE(panel()->m_cmbVResolution->currentText(), QStringLiteral("1280*720"));
        ftk::click(m_chooser->m_btnOk);
        QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::VideoQualityValue), QString::number(entry == 0 ? 1 : 0));
        QTEST(QString::number(QSettingDlgState::attributeSetting().VBitRate) + " kbps", "videoRate");
        QCOMPARE(QSettingDlgState::attributeSetting().nQuality, entry == 0 ? 90 : 50);
        // A kept preset is not a custom quality: the next opening shows two entries, not "Customized".
        QVERIFY(!customStored(QStringLiteral("1136")));
        open();
        QCOMPARE(m_chooser->m_cmbQuality->count(), 2);
    }

    void automaticProfileShowsAuto()
    {
        open(QStringLiteral("General Video"), QStringLiteral("3000"));
        for (int entry : {1, 0}) {
            m_chooser->m_cmbQuality->actions().at(entry)->trigger();
            for (QCustomComboBox *list : {panel()->m_cmbVEncoder, panel()->m_cmbVResolution, panel()->m_cmbVBitRate,
                                          panel()->m_cmbAEncoder, panel()->m_cmbASample})
                QCOMPARE(list->currentIndex(), 0);
            QCOMPARE(panel()->m_cmbVResolution->currentText(), QStringLiteral("Auto"));
        }
    }

    // A changed list turns the preset into "Customized"; going back to the preset's picks brings the preset
    // back; OK stores the custom quality, which the next opening restores.
    void customizedPersists()
    {
        open();
        m_chooser->m_cmbQuality->actions().at(0)->trigger();
        QSignalSpy reports(panel(), &QSettingDlg::emitChangeText);
        pick(panel()->m_cmbVResolution, QStringLiteral("1920*1080"));
        QCOMPARE(reports.last().first().value<VideoQuality>(), Customized);
        QCOMPARE(m_chooser->m_cmbQuality->getBtnText(), QStringLiteral("Customized"));
        pick(panel()->m_cmbVResolution, QStringLiteral("1280*720"));
        QCOMPARE(reports.last().first().value<VideoQuality>(), HighQuality);
        pick(panel()->m_cmbVResolution, QStringLiteral("1920*1080"));
        pick(panel()->m_cmbVFrame, QStringLiteral("25 fps"));
        ftk::click(m_chooser->m_btnOk);
        QCOMPARE(QVideoSettingXml::GetItemValue(SettingKeys::VideoQualityValue), QStringLiteral("2"));
        QVERIFY(customStored(QStringLiteral("1136")));
        const AttributeSetting &r = QSettingDlgState::attributeSetting();
        QCOMPARE(QSize(r.VWidth, r.VHeight), QSize(1920, 1080));
        QCOMPARE(r.VFrameRate_fps, 25);
        QCOMPARE(r.nQuality, 50);

        // The next opening: "Customized" with the stored picks; another profile has no custom quality.
        open();
        QCOMPARE(m_chooser->quality(), 2);
        QCOMPARE(m_chooser->m_cmbQuality->count(), 3);
        QCOMPARE(m_chooser->m_cmbQuality->currentIndex(), 2);
        QCOMPARE(panel()->m_cmbVResolution->currentText(), QStringLiteral("1920*1080"));
        QCOMPARE(panel()->m_cmbVFrame->currentText(), QStringLiteral("25 fps"));
        ftk::click(ftk::categoryButton(m_chooser->typeButtons(), QStringLiteral("Devices")));
        ftk::click(ftk::tile(m_chooser->m_formatItemDlg, QStringLiteral("1140")), QPoint(20, 20));
        QCOMPARE(m_chooser->m_cmbQuality->count(), 2);
        QCOMPARE(m_chooser->quality(), 1);
        ftk::click(ftk::tile(m_chooser->m_formatItemDlg, QStringLiteral("1136")), QPoint(20, 20));
        QCOMPARE(m_chooser->m_cmbQuality->count(), 3);
        QCOMPARE(m_chooser->quality(), 2);
        // Default applies High Quality to the picked size: its high bit rate, the other lists' defaults.
        ftk::click(panel()->m_btnDefault);
        QCOMPARE(panel()->m_cmbVResolution->currentText(), QStringLiteral("1920*1080"));
        QCOMPARE(panel()->m_cmbVBitRate->currentText(), QStringLiteral("10000 kbps"));
        QCOMPARE(panel()->m_cmbVFrame->currentText(), QStringLiteral("29.97 fps"));
        QCOMPARE(panel()->getChangeQuality(), 1);
    }

    // A stored "Customized" without a stored custom quality for the profile is "High Quality".
    void storedCustomizedWithoutCustomQuality()
    {
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::VideoQualityValue, QStringLiteral("2")));
        open();
        QCOMPARE(m_chooser->quality(), 1);
        QCOMPARE(m_chooser->m_cmbQuality->count(), 2);
        QCOMPARE(m_chooser->m_cmbQuality->currentIndex(), 0);
        QCOMPARE(QSettingDlgState::attributeSetting().nQuality, 90);
    }

    // Codec and channel picks shown by name stay picked when another list refills the panel.
    void namedPicksSurviveARefill()
    {
        open();
        m_chooser->m_cmbQuality->actions().at(0)->trigger();
        pick(panel()->m_cmbVEncoder, QStringLiteral("H.265 / HEVC"));
        QCOMPARE(data(panel()->m_cmbVEncoder), QStringLiteral("H265"));
        pick(panel()->m_cmbAChannel, QStringLiteral("Mono"));
        QCOMPARE(data(panel()->m_cmbAChannel), QStringLiteral("1"));
        pick(panel()->m_cmbVResolution, QStringLiteral("1920*1080"));
        QCOMPARE(data(panel()->m_cmbVEncoder), QStringLiteral("H265"));
        QCOMPARE(panel()->m_cmbVEncoder->currentText(), QStringLiteral("H.265 / HEVC"));
        QCOMPARE(data(panel()->m_cmbAChannel), QStringLiteral("1"));
        QCOMPARE(panel()->m_cmbAChannel->currentText(), QStringLiteral("Mono"));
        ftk::click(m_chooser->m_btnOk);
        QCOMPARE(QSettingDlgState::attributeSetting().VEncoder, QStringLiteral("H265"));
        QCOMPARE(QSettingDlgState::attributeSetting().AChannel, 1);
    }

    // The panel before any profile or record: nothing dereferences null, the mode defaults to encoding.
    void panelWithoutProfileOrRecord()
    {
        QSettingDlgState::clearAttributeSetting();
        QSettingDlg lone;
        lone.setVideoQuality(SmallSize);
        QVERIFY(!lone.SetDefaultValue(QStringLiteral("1136")));
        lone.setAttributeSetting();
        QVERIFY(QSettingDlgState::hasAttributeSetting());
        const AttributeSetting &r = QSettingDlgState::attributeSetting();
        QVERIFY(!r.bLossless);
        QCOMPARE(r.VWidth, 0);
        QCOMPARE(r.fileFormat, QString());
        QSettingDlg::setFormatMode(true);
        QVERIFY(QSettingDlgState::attributeSetting().bLossless);
        QSettingDlg::setFormatMode(false);
        QVERIFY(!QSettingDlgState::attributeSetting().bLossless);
        QCOMPARE(QSettingDlgState::attributeSetting().nQuality, r.nQuality);
    }
};

RS_TEST_MAIN(TestFormatPresets)
#include "tst_format_presets.moc"
