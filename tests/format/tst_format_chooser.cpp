// The format chooser driven as a user drives it: modes, categories, tiles, presets, the advanced panel,
// OK and Cancel, against the two shipped catalogues; screenshots of every state into <build>/gallery.

#include "FormatItem.h"
#include "FormatItemWidget.h"
#include "FormatTestKit.h"
#include "FormatWidget.h"
#include "QCheckButton.h"
#include "QConverterOperate.h"
#include "QCustomComboBox.h"
#include "QIAnyUtil.h"
#include "QImageButton.h"
#include "QPlistRead.h"
#include "QSettingDlg.h"
#include "QTextImageButton.h"
#include "QVideoSettingXml.h"
#include "QZTBaseButton.h"
#include "SettingKeys.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QSignalSpy>

class TestFormatChooser : public QObject
{
    Q_OBJECT
private:
    FormatWidget *m_chooser = nullptr;
    QWidget m_mainWindow;

    QString setting(const SettingKey &key) { return QVideoSettingXml::GetItemValue(key); }
    QPlistRead *encoding()
    {
        return QPlistRead::getPlistRead((QIAnyUtil::getResourcePath() + "/profile/profiles_mac.plist").toStdString());
    }
    QPlistRead *lossless()
    {
        return QPlistRead::getPlistLosslessRead(
            (QIAnyUtil::getResourcePath() + "/profile/profiles_mac_Lossless.plist").toStdString());
    }
    void open()
    {
        ftk::restoreChooser(m_chooser);
        m_chooser->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_chooser));
        ftk::settle();
    }
    void pressTile(FormatItemWidget *grid, const QString &category, const QList<QTextImageButton *> &buttons,
                   const QString &id)
    {
        QTextImageButton *button = ftk::categoryButton(buttons, category);
        QVERIFY2(button, qPrintable(category));
        ftk::click(button);
        FormatItem *item = ftk::tile(grid, id);
        QVERIFY2(item, qPrintable(id));
        ftk::click(item, QPoint(20, 20));
    }

private slots:
    void initTestCase()
    {
        ftk::resetSettings();
        m_mainWindow.resize(1035, 623);
        m_chooser = FormatWidget::getFormatWidget(&m_mainWindow);
        QCOMPARE(FormatWidget::getFormatWidget(nullptr), m_chooser);
    }

    void init()
    {
        ftk::resetSettings();
        m_chooser->hide();
    }

    // An empty settings store: the encoding default profile is chosen, stored, and the record built.
    void firstRunEncoding()
    {
        open();
        QCOMPARE(m_chooser->categories(), QStringLiteral("Devices"));
        QCOMPARE(m_chooser->itemID(), QStringLiteral("1136"));
        QCOMPARE(setting(SettingKeys::FormatId), QStringLiteral("1136"));
        QVERIFY(m_chooser->m_radCustomize->isChecked());
        QVERIFY(!m_chooser->m_radLosslessMode->isChecked());
        QCOMPARE(m_chooser->size(), QSize(636, 496));
        QCOMPARE(m_chooser->m_cmbQuality->count(), 2); // no custom quality stored
        FormatItem *selected = m_chooser->m_formatItemDlg->selectedItem();
        QVERIFY(selected);
        QCOMPARE(selected->getItemID(), QStringLiteral("1136"));
        QCOMPARE(selected->getItemState(), 2);
        const AttributeSetting &r = QSettingDlgState::attributeSetting();
        QVERIFY(!r.bLossless);
        QCOMPARE(r.fileExtend, QStringLiteral("mp4"));
        QCOMPARE(r.VEncoder, QStringLiteral("H264"));
        QCOMPARE(QSize(r.VWidth, r.VHeight), QSize(1280, 720));
        QCOMPARE(r.VFrameRate_fps, 30000);
        QCOMPARE(r.VFrameRate_scale, 1001);
        QCOMPARE(r.VBitRate, 1500); // stored preset "0": Small Size
        QVERIFY(ftk::shoot(m_chooser, QStringLiteral("FormatWidget-encoding")));
    }

    void losslessFoldAndUnfold()
    {
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::LosslessConvert, QStringLiteral("Y")));
        open();
        QVERIFY(m_chooser->m_radLosslessMode->isChecked());
        QVERIFY(m_chooser->isFolded());
        QCOMPARE(m_chooser->size(), QSize(636, 183));
        QVERIFY(m_chooser->m_formatItemLosslessDlg->isHidden());
        QVERIFY(m_chooser->m_btnLosslessShow->isVisible());
        QCOMPARE(m_chooser->m_btnOk->pos(), QPoint(544, 131));
        QVERIFY(ftk::shoot(m_chooser, QStringLiteral("FormatWidget-lossless-folded")));

        int warnings = 0;
        ftk::closeNextModal(&warnings);
        ftk::click(m_chooser->m_btnLosslessShow);
        QTRY_COMPARE(warnings, 1);
        QCOMPARE(m_chooser->size(), QSize(636, 496));
        QCOMPARE(setting(SettingKeys::LosslessPane), QStringLiteral("Y"));
        QVERIFY(m_chooser->m_formatItemLosslessDlg->isVisible());
        QCOMPARE(m_chooser->m_formatItemLosslessDlg->selectedItem()->getItemID(), QStringLiteral("3000"));
        ftk::settle();
        QVERIFY(ftk::shoot(m_chooser, QStringLiteral("FormatWidget-lossless-unfolded")));

        // The warning comes once a run; hiding folds again.
        ftk::click(m_chooser->m_btnLosslessHidden);
        QVERIFY(m_chooser->isFolded());
        ftk::click(m_chooser->m_btnLosslessShow);
        ftk::settle();
        QCOMPARE(warnings, 1);
        // Switching to the encoding mode unfolds; back to high speed keeps the list shown.
        ftk::click(m_chooser->m_radCustomize);
        QCOMPARE(m_chooser->size(), QSize(636, 496));
        QVERIFY(m_chooser->m_formatItemDlg->isVisible());
        QVERIFY(!m_chooser->m_btnLosslessShow->isEnabled());
    }

    void encodingFoldedIsNeverFolded()
    {
        open();
        QVERIFY(!m_chooser->isFolded());
        ftk::click(m_chooser->m_radLosslessMode);
        QVERIFY(m_chooser->isFolded());
        QVERIFY(ftk::shoot(m_chooser, QStringLiteral("FormatWidget-encoding-to-lossless")));
        ftk::click(m_chooser->m_radCustomize);
        QVERIFY(!m_chooser->isFolded());
    }

    // Every category button and every tile of both catalogues can be chosen and fills the panel with the
    // profile's lists; OK stores the last tile pressed.
    void everyTileOfBothCatalogues_data()
    {
        QTest::addColumn<bool>("highSpeed");
        QTest::newRow("encoding") << false;
        QTest::newRow("high-speed") << true;
    }
    void everyTileOfBothCatalogues()
    {
        QFETCH(bool, highSpeed);
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::LosslessPane, QStringLiteral("Y")));
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::LosslessConvert, highSpeed ? "Y" : "N"));
        open();
        QPlistRead *reader = highSpeed ? lossless() : encoding();
        FormatItemWidget *grid = highSpeed ? m_chooser->m_formatItemLosslessDlg : m_chooser->m_formatItemDlg;
        const QList<QTextImageButton *> buttons =
            highSpeed ? m_chooser->typeLosslessButtons() : m_chooser->typeButtons();
        QCOMPARE(buttons.size(), int(reader->getCategories().size()));
        QString lastCategory, lastId;
        int tiles = 0;
        for (const std::string &cat : reader->getCategories()) {
            const QString category = QString::fromStdString(cat);
            ftk::click(ftk::categoryButton(buttons, category));
            const auto *list = reader->getCategoriesInfoList(cat);
            QVERIFY(list);
            QCOMPARE(grid->items().size(), int(list->size()));
            for (const FormatBaseInfo *info : *list) {
                const QString id = QString::fromStdString(info->id);
                FormatItem *item = ftk::tile(grid, id);
                QVERIFY(item);
                QVERIFY2(item->hasIcon(), qPrintable(item->getIcon()));
                QCOMPARE(item->m_btnSet->isHidden(), highSpeed || item->getItemState() != 2);
                ftk::click(item, QPoint(20, 20));
                ++tiles;
                QCOMPARE(item->getItemState(), 2);
                QCOMPARE(grid->selectedItem(), item);
                QVERIFY2(item->m_btnSet->isVisible() == !highSpeed,
                         qPrintable(id + " " + QString::number(item->m_btnSet->isHidden())));
                QSettingDlg *panel = m_chooser->m_settingDlg;
                QCOMPARE(panel->formatId(), id);
                const FormatAllInfo *profile = reader->GetFormatInfoForPlist(cat, info->id, "", "", "", "");
                QCOMPARE(panel->m_cmbVEncoder->count(), int(profile->vecVideoEncoder.size()));
                QCOMPARE(panel->m_cmbVResolution->count(), int(profile->vecResolution.size()));
                QCOMPARE(panel->m_cmbAEncoder->count(), int(profile->vecAudioEncoder.size()));
                QCOMPARE(panel->m_cmbASample->count(), int(profile->vecSampleRate.size()));
                QCOMPARE(panel->isOnlyAudio(), profile->bNoVideo);
                lastCategory = category;
                lastId = id;
            }
        }
        QVERIFY(tiles > 20);
        ftk::click(m_chooser->m_btnOk);
        QVERIFY(m_chooser->isHidden());
        QCOMPARE(setting(SettingKeys::LosslessConvert), highSpeed ? QStringLiteral("Y") : QStringLiteral("N"));
        QCOMPARE(setting(highSpeed ? SettingKeys::FormatCategoryLossless : SettingKeys::FormatCategory), lastCategory);
        QCOMPARE(setting(highSpeed ? SettingKeys::FormatIdLossless : SettingKeys::FormatId), lastId);
        QCOMPARE(QSettingDlgState::attributeSetting().bLossless, highSpeed);
    }

    void cancelRestoresStoredChoice()
    {
        open();
        pressTile(m_chooser->m_formatItemDlg, QStringLiteral("General Video"), m_chooser->typeButtons(),
                  QStringLiteral("3001"));
        QCOMPARE(m_chooser->itemID(), QStringLiteral("3001"));
        ftk::click(m_chooser->closeButton());
        QVERIFY(m_chooser->isHidden());
        QCOMPARE(m_chooser->itemID(), QStringLiteral("1136"));
        QCOMPARE(m_chooser->categories(), QStringLiteral("Devices"));
        QCOMPARE(setting(SettingKeys::FormatId), QStringLiteral("1136"));
        QCOMPARE(m_chooser->m_formatItemDlg->selectedItem()->getItemID(), QStringLiteral("1136"));
    }

    void doubleClickIsPressAndOk()
    {
        open();
        ftk::click(ftk::categoryButton(m_chooser->typeButtons(), QStringLiteral("General Audio")));
        FormatItem *item = ftk::tile(m_chooser->m_formatItemDlg, QStringLiteral("4000"));
        QVERIFY(item);
        ftk::click(item, QPoint(20, 20));
        ftk::doubleClick(item);
        QVERIFY(m_chooser->isHidden());
        QCOMPARE(setting(SettingKeys::FormatId), QStringLiteral("4000"));
        const AttributeSetting &r = QSettingDlgState::attributeSetting();
        QVERIFY(r.bOnlyAudio);
        QCOMPARE(r.fileExtend, QStringLiteral("mp3"));
        QCOMPARE(r.AEncoder, QStringLiteral("MP3"));
    }

    // The panel's pages and the tile's Set button.
    void advancedPanelPages()
    {
        open();
        FormatItem *item = m_chooser->m_formatItemDlg->selectedItem();
        QVERIFY(item && item->m_btnSet->isVisible());
        ftk::click(item->m_btnSet);
        ftk::settle();
        QSettingDlg *panel = m_chooser->m_settingDlg;
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->geometry(), QRect(40, 275, 556, 130));
        ftk::click(panel->m_btnVideo);
        QVERIFY(panel->m_cmbVEncoder->isVisible());
        QVERIFY(ftk::shoot(m_chooser, QStringLiteral("QSettingDlg-video")));
        ftk::click(panel->m_btnAudio);
        QVERIFY(panel->m_cmbAEncoder->isVisible());
        QVERIFY(!panel->m_cmbVEncoder->isVisible());
        QVERIFY(ftk::shoot(m_chooser, QStringLiteral("QSettingDlg-audio")));
        ftk::click(panel->m_btnVideo);
        QVERIFY(panel->m_cmbVEncoder->isVisible());
        // A press beside the tiles (right of the last one, above the panel) folds the panel away.
        QWidget *beside = m_chooser->m_formatItemDlg->viewport();
        const FormatItem *last = m_chooser->m_formatItemDlg->items().last();
        ftk::click(beside, last->mapTo(beside, QPoint(last->width() + 20, 10)));
        ftk::settle();
        QVERIFY(panel->isHidden());
    }

    // Tiles fill rows of five; a press on the selected tile or with the right button changes nothing.
    void tileGridAndPresses()
    {
        open();
        FormatItemWidget *grid = m_chooser->m_formatItemDlg;
        const QList<FormatItem *> tiles = grid->items();
        QVERIFY(tiles.size() > 5);
        QCOMPARE(tiles[5]->x(), tiles[0]->x());
        QVERIFY(tiles[5]->y() >= tiles[0]->y() + 76 + 8);
        QCOMPARE(tiles[1]->y(), tiles[0]->y());
        QSignalSpy presses(grid, &FormatItemWidget::emitItemPress);
        QSignalSpy outside(grid, &FormatItemWidget::emitClickFormatWgt);
        FormatItem *selected = grid->selectedItem();
        ftk::click(selected, QPoint(20, 20));
        rstest::clickAt(tiles[2], QPoint(20, 20), Qt::RightButton);
        QCOMPARE(presses.count(), 0);
        QCOMPARE(outside.count(), 0);
        QCOMPARE(tiles[2]->getItemState(), 1); // hovered by the pointer that pressed, not selected
        QCOMPARE(grid->selectedItem(), selected);
    }

    // The language-dependent sizes of the chooser and the panel.
    void frenchSizes()
    {
        open();
        QConverterOperate::setLanguageType(QStringLiteral("French"));
        m_chooser->retranslateUi();
        QCOMPARE(m_chooser->m_btnLosslessShow->width(), 144);
        QCOMPARE(m_chooser->m_settingDlg->m_cmbVEncoder->x(), 138);
        QCOMPARE(m_chooser->m_settingDlg->m_labCodec->width(), 102);
        QCOMPARE(m_chooser->m_settingDlg->m_cmbAEncoder->x(), 116);
        QVERIFY(m_chooser->m_LabPreset->isHidden());
        QConverterOperate::setLanguageType(QStringLiteral("English"));
        m_chooser->retranslateUi();
        QCOMPARE(m_chooser->m_btnLosslessShow->width(), 100);
        QCOMPARE(m_chooser->m_settingDlg->m_cmbVEncoder->x(), 116);
        QCOMPARE(m_chooser->m_btnOk->pos(), QPoint(544, 444));
        QCOMPARE(m_chooser->m_btnCancel->pos(), QPoint(470, 444));
    }

    // The chooser goes with the window that owns it; asking again afterwards makes a new one, never
    // hands out the deleted one.
    void chooserGoesWithItsWindow()
    {
        delete m_chooser;
        QWidget other;
        m_chooser = FormatWidget::getFormatWidget(&other);
        QCOMPARE(m_chooser->parentWidget(), &other);
        delete m_chooser;
        m_chooser = nullptr;
    }
};

RS_TEST_MAIN(TestFormatChooser)
#include "tst_format_chooser.moc"
