// A press on the Trim page's range slider, through the window: every press left of the track reports the
// play position, also where the play handle does not move, and a press logs nothing.

#include "QVEDualSlider.h"
#include "TestSupport.h"
#include "WidgetTestKit.h"
#include "WindowInput.h"

#include <QSignalSpy>

namespace {
int s_messages = 0;
void countMessages(QtMsgType, const QMessageLogContext &, const QString &)
{
    ++s_messages;
}
} // namespace

class TestTrimPress : public QObject
{
    Q_OBJECT
private slots:
    void pressLeftOfTheTrack_data()
    {
        QTest::addColumn<int>("fromTrack"); // x of the press relative to the track's start
        QTest::addColumn<double>("reported");
        QTest::addColumn<bool>("moves");
        QTest::newRow("in the gap before the track") << -1 << 0.5 << false;
        QTest::newRow("at the slider's left edge") << -1000 << 0.0 << true;
    }
    void pressLeftOfTheTrack()
    {
        QFETCH(int, fromTrack);
        QWidget host;
        host.resize(460, 60);
        auto *slider = new QVEDualSlider(&host);
        slider->setBottomImage(wtk::makeSolid(QStringLiteral("press_bottom"), 800, 16, Qt::gray));
        slider->setTopImage(wtk::makeSolid(QStringLiteral("press_top"), 800, 16, Qt::red));
        slider->setStartBtnImage(wtk::makeStrip(QStringLiteral("press_start"), 20, 40), 2);
        slider->setEndBtnImage(wtk::makeStrip(QStringLiteral("press_end"), 20, 40));
        slider->setProgressBtnImage(wtk::makeStrip(QStringLiteral("press_play"), 12, 40), 7);
        slider->setCircle(true);
        slider->move(20, 10);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        slider->setPlayValue(50, false);
        const int trackStart = slider->startButton()->width();
        QVERIFY2(slider->playButton()->width() / 2 > 1, "the gap is the play handle's left half");
        const QPoint at(qMax(0, trackStart + fromTrack), 3); // above the start handle
        const QPoint playAt = slider->playButton()->pos();
        QSignalSpy play(slider, &QDualSlider::sendPlayProValue);
        s_messages = 0;
        const QtMessageHandler previous = qInstallMessageHandler(countMessages);
        rstest::pressAt(slider, at);
        rstest::releaseAt(slider, at);
        qInstallMessageHandler(previous);
        QCOMPARE(s_messages, 0);
        QCOMPARE(play.count(), 1);
        QFETCH(double, reported);
        QCOMPARE(play.first().first().toDouble(), reported);
        QFETCH(bool, moves);
        QCOMPARE(slider->playButton()->pos() != playAt, moves);
    }
};

RS_TEST_MAIN(TestTrimPress)
#include "tst_trimpress.moc"
