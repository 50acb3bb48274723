// "Auto" in the parameter panel means the clip's own: a profile chosen through the chooser's window, its
// video encoder picked again in the tile's settings, size and frame rate left at "Auto", joined from a
// 1920x1080 25 fps clip, keeps 1920x1080 at 25 fps, also after the encoding mode is chosen again and OK
// pressed without opening the panel. A size or rate the panel shows as a number is kept.

#include "FFprobe.h"
#include "FormatItem.h"
#include "FormatItemWidget.h"
#include "FormatTestKit.h"
#include "FormatWidget.h"
#include "MediaFixtures.h"
#include "QCheckButton.h"
#include "QConverterOperate.h"
#include "QCustomComboBox.h"
#include "QNewConvertObject.h"
#include "QSettingDlg.h"
#include "QTextImageButton.h"
#include "TestSupport.h"
#include "WindowInput.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QMenu>

class TestFormatAuto : public QObject
{
    Q_OBJECT
private:
    QWidget m_host;
    FormatWidget *m_chooser = nullptr;

    // A list entry picked as a user does: the list opens its menu, the entry is clicked.
    void pick(QCustomComboBox *list, const QString &shown)
    {
        rstest::clickAt(list);
        QMenu *menu = list->menu();
        QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), rstest::kHangBoundMs);
        QAction *entry = nullptr;
        for (QAction *a : menu->actions())
            if (a->text() == shown)
                entry = a;
        QVERIFY2(entry, qPrintable(shown));
        rstest::clickAt(menu, menu->actionGeometry(entry).center());
        QTRY_VERIFY_WITH_TIMEOUT(!menu->isVisible(), rstest::kHangBoundMs);
        QCOMPARE(list->currentText(), shown);
    }

    // The merge driver's join of one clip with the record the chooser left; the output path.
    QString join(const QString &clip)
    {
        ZtVideoConvertManager *list = ZtVideoConvertManager::getConvertManagerObject(nullptr);
        list->ClearItems();
        auto *item = new ZtVideoConvertItem;
        if (!item->setVideoPath(clip, 0)) {
            delete item;
            return QString();
        }
        list->addConverItem(item, -1);
        item->getValidOutputName();
        item->getConverOutputDir();
        const QString output = item->getConverPath();
        QNewConvertObject driver(nullptr);
        driver.AddConvertItem(item);
        driver.setMergerOptputPath(output);
        bool finished = false, failed = false;
        connect(&driver, &QNewConvertObject::emitMergerTotalFinished, this, [&finished] { finished = true; });
        connect(&driver, &QNewConvertObject::emitMergerFinished, this, [&failed](bool ok) { failed = !ok; });
        driver.OnStartToMerger();
        if (!QTest::qWaitFor([&] { return finished || failed; }, 12 * rstest::kHangBoundMs) || failed)
            return QString();
        return output;
    }

private slots:
    void initTestCase()
    {
        ftk::resetSettings();
        m_host.resize(1035, 623);
        m_chooser = FormatWidget::getFormatWidget(&m_host);
    }

    void init()
    {
        ftk::resetSettings();
        QConverterOperate::setConverterPath(rstest::scratchDir(QStringLiteral("out")) + QLatin1Char('/'));
        ftk::restoreChooser(m_chooser);
        m_chooser->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_chooser));
        ftk::settle();
    }

    void outputKeepsWhatThePanelShows_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("encoder"); // picked again in the tile's settings
        QTest::addColumn<QString>("size");    // the size to pick, empty to leave the panel's
        QTest::addColumn<QSize>("expectedSize");
        QTest::addColumn<double>("expectedFps");
        QTest::newRow("General Video MP4, H.264, Auto") << "General Video"
                                                        << "3000"
                                                        << "H.264"
                                                        << "" << QSize(1920, 1080) << 25.0;
        QTest::newRow("HD Video MKV, H.264, Auto") << "HD Video"
                                                   << "2002"
                                                   << "H.264"
                                                   << "" << QSize(1920, 1080) << 25.0;
        QTest::newRow("General Video MP4, H.264, 1280*720") << "General Video"
                                                            << "3000"
                                                            << "H.264"
                                                            << "1280*720" << QSize(1280, 720) << 25.0;
        // A profile without "Auto" keeps its own size and rate.
        QTest::newRow("Devices Smartphone HD") << "Devices"
                                               << "1136"
                                               << ""
                                               << "" << QSize(1280, 720) << 29.97;
    }

    void outputKeepsWhatThePanelShows()
    {
        QFETCH(QString, category);
        QFETCH(QString, id);
        QFETCH(QString, encoder);
        QFETCH(QString, size);
        QFETCH(QSize, expectedSize);
        QFETCH(double, expectedFps);

        rstest::clickAt(m_chooser->m_radCustomize, QPoint(5, 8));
        QTextImageButton *button = ftk::categoryButton(m_chooser->typeButtons(), category);
        QVERIFY(button);
        rstest::clickAt(button);
        FormatItem *tile = ftk::tile(m_chooser->m_formatItemDlg, id);
        QVERIFY(tile);
        rstest::clickAt(tile, QPoint(20, 20));
        QSettingDlg *panel = m_chooser->m_settingDlg;
        if (!encoder.isEmpty() || !size.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(tile->m_btnSet->isVisible(), rstest::kHangBoundMs);
            rstest::clickAt(tile->m_btnSet);
            ftk::settle();
            QVERIFY(panel->isVisible());
            rstest::clickAt(panel->m_btnVideo);
            if (!encoder.isEmpty())
                pick(panel->m_cmbVEncoder, encoder);
            if (!size.isEmpty())
                pick(panel->m_cmbVResolution, size);
        }
        const QString shownSize = panel->m_cmbVResolution->currentText();
        const QString shownRate = panel->m_cmbVFrame->currentText();
        QCOMPARE(shownSize == QLatin1String("Auto"), expectedSize == QSize(1920, 1080));
        QCOMPARE(shownRate == QLatin1String("Auto"), expectedFps == 25.0);
        QVERIFY(ftk::shoot(m_chooser, QStringLiteral("FormatWidget-auto-%1").arg(id)));
        rstest::clickAt(m_chooser->m_btnOk);
        QVERIFY(m_chooser->isHidden());
        // Opened again and the encoding mode chosen again (as on coming back from the high-speed mode), then
        // OK without opening the panel: the choice stays what the panel showed.
        ftk::restoreChooser(m_chooser);
        m_chooser->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_chooser));
        ftk::settle();
        rstest::clickAt(m_chooser->m_radCustomize, QPoint(5, 8));
        rstest::clickAt(m_chooser->m_btnOk);
        QVERIFY(m_chooser->isHidden());

        const QString clip = rstest::MediaFixtures::fullHd(1);
        const QString output = join(clip);
        QVERIFY2(!output.isEmpty(), "the join failed");
        const QJsonArray videos = rstest::FFprobe::streams(output, QStringLiteral("video"));
        QCOMPARE(videos.size(), 1);
        const QJsonObject v = videos.first().toObject();
        QCOMPARE(QSize(v.value("width").toInt(), v.value("height").toInt()), expectedSize);
        const QStringList rate = v.value("avg_frame_rate").toString().split(QLatin1Char('/'));
        QCOMPARE(rate.size(), 2);
        const double fps = rate[0].toDouble() / qMax(1.0, rate[1].toDouble());
        QVERIFY2(qAbs(fps - expectedFps) < 0.05,
                 qPrintable(QStringLiteral("%1 fps for a panel showing %2, %3").arg(fps).arg(shownSize, shownRate)));
    }
};

RS_TEST_MAIN(TestFormatAuto)
#include "tst_format_auto.moc"
