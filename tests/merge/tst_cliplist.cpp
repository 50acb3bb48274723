// The clip list: positions and indexes, the lossless test, and clips handed over from a worker thread.

#include "TestSupport.h"

#include "AttributeSetting.h"
#include "ZtVideoConvertItem.h"
#include "ZtVideoConvertManager.h"
#include "rscodec_fake.h"

#include <QThread>

namespace {

ZtVideoConvertItem *clip(const QString &name)
{
    auto *item = new ZtVideoConvertItem;
    item->m_strFileName = name;
    return item;
}

QStringList namesAndIndexes(const ZtVideoConvertManager &list)
{
    QStringList out;
    for (int i = 0; i < list.GetItemCount(); ++i)
        out << QStringLiteral("%1%2").arg(list.GetItem(i)->m_strFileName).arg(list.GetItem(i)->Index());
    return out;
}

// A clip with one video, one audio and one subtitle track of the given codec values.
ZtVideoConvertItem *avClip(quint32 vcodec = 27, quint32 w = 320, quint32 h = 240, quint32 acodec = 86018)
{
    auto *item = new ZtVideoConvertItem;
    VideoTrackInfo v;
    v.value1 = vcodec;
    v.value2 = 0;
    v.value3 = 25;
    v.width = w;
    v.height = h;
    const unsigned char avcc[4] = {1, 0x64, 0, 0x1f};
    v.assign(avcc, 4);
    item->m_videoTracks << v;
    AudioTrackInfo a;
    a.value2 = acodec;
    a.value3 = 44100;
    a.value4 = 2;
    item->m_audioTracks << a;
    SubtitleTrackInfo s;
    s.value1 = 0;
    item->m_subtitleTracks << s;
    return item;
}

} // namespace

class TestClipList : public QObject
{
    Q_OBJECT
private slots:
    void addPositions()
    {
        ZtVideoConvertManager list;
        QCOMPARE(list.addConverItem(clip("A"), -1), 0);
        QCOMPARE(list.addConverItem(clip("B"), -1), 1);
        QCOMPARE(list.addConverItem(clip("C"), 5), 2);
        QCOMPARE(list.addConverItem(clip("N"), 0), 0);
        QCOMPARE(namesAndIndexes(list), QStringList({"N0", "A1", "B2", "C3"}));
        list.DeleteItemAt(1);
        QCOMPARE(namesAndIndexes(list), QStringList({"N0", "B1", "C2"}));
        list.DeleteItemAt(7);
        QCOMPARE(list.GetItemCount(), 3);
        QVERIFY(!list.GetItem(-1));
        QVERIFY(!list.GetItem(3));
    }

    void moves_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("first to last") << 0 << 2 << true << QStringList({"B0", "C1", "A2"});
        QTest::newRow("last to first") << 2 << 0 << true << QStringList({"C0", "A1", "B2"});
        QTest::newRow("to out of range") << 0 << 3 << false << QStringList({"A0", "B1", "C2"});
        QTest::newRow("from negative") << -1 << 0 << false << QStringList({"A0", "B1", "C2"});
    }
    void moves()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, ok);
        QFETCH(QStringList, order);
        ZtVideoConvertManager list;
        for (const char *n : {"A", "B", "C"})
            list.addConverItem(clip(n), -1);
        QCOMPARE(list.OrginalItemInsert(from, to), ok);
        QCOMPARE(namesAndIndexes(list), order);
    }

    void lossless_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("lossless");
        QTest::newRow("identical") << "" << true;
        QTest::newRow("other video codec") << "vcodec" << false;
        // A stream copy cannot change the frame size at a join.
        QTest::newRow("other frame size") << "size" << false;
        QTest::newRow("other audio codec") << "acodec" << false;
        QTest::newRow("other private data") << "privdata" << false;
        QTest::newRow("no audio on one") << "noaudio" << false;
        QTest::newRow("second chooses a subtitle file") << "subfile" << false;
        QTest::newRow("first chooses a subtitle file") << "firstsubfile" << false;
        QTest::newRow("subtitle stream missing on one") << "subtitlemissing" << false;
        QTest::newRow("audio row beyond the tracks") << "audiorow" << false;
        QTest::newRow("video flag without a track") << "notrack" << false;
        QTest::newRow("closed captions skip subtitles") << "cc" << true;
    }
    void lossless()
    {
        QFETCH(QString, change);
        QFETCH(bool, lossless);
        ZtVideoConvertManager list;
        ZtVideoConvertItem *first = avClip();
        ZtVideoConvertItem *second = avClip();
        if (change == "vcodec")
            second->m_videoTracks[0].value1 = 12;
        else if (change == "size")
            second->m_videoTracks[0].width = 640;
        else if (change == "acodec")
            second->m_audioTracks[0].value2 = 86017;
        else if (change == "privdata")
            second->m_videoTracks[0].privateData[1] = 0x4d;
        else if (change == "noaudio")
            second->m_bHasAudio = false;
        else if (change == "subfile")
            second->m_editConfig.subtitleValue.subtitleIndex = -3;
        else if (change == "firstsubfile")
            first->m_editConfig.subtitleValue.subtitleIndex = -3;
        else if (change == "subtitlemissing") {
            first->m_editConfig.subtitleValue.subtitleIndex = 0;
            second->m_editConfig.subtitleValue.subtitleIndex = 0;
            second->m_subtitleTracks.clear();
        } else if (change == "audiorow")
            second->m_editConfig.subtitleValue.audioRow = 4;
        else if (change == "notrack")
            second->m_videoTracks.clear();
        else if (change == "cc") {
            first->m_editConfig.subtitleValue.subtitleIndex = -2;
            second->m_editConfig.subtitleValue.subtitleIndex = 0;
            second->m_subtitleTracks.clear();
        }
        list.addConverItem(first, -1);
        list.addConverItem(second, -1);
        QCOMPARE(list.IsLosslessMerger(), lossless);
    }

    void losslessEdges()
    {
        ZtVideoConvertManager list;
        QVERIFY(!list.IsLosslessMerger());
        ZtVideoConvertItem *only = avClip();
        only->m_editConfig.subtitleValue.subtitleIndex = -3;
        list.addConverItem(only, -1);
        QVERIFY(list.IsLosslessMerger());
        list.ClearItems();
        // Audio-only clips: a subtitle file choice and other durations do not matter.
        for (int i = 0; i < 2; ++i) {
            ZtVideoConvertItem *a = avClip();
            a->m_bHasVideo = false;
            a->m_videoTracks.clear();
            a->m_nDuration = quint64(i + 1) * 1000000;
            a->m_editConfig.subtitleValue.subtitleIndex = -3;
            list.addConverItem(a, -1);
        }
        QVERIFY(list.IsLosslessMerger());
    }

    void subtitleQuestion_data()
    {
        // The record's row: 0 none, 1..count the file's streams, count + 1 closed captions, beyond a file.
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("secondFormat"); // of the second clip's subtitle track
        QTest::addColumn<QString>("asked");        // the library call for the second clip; empty: none
        QTest::addColumn<bool>("carried");
        const QString second = QStringLiteral("rsc_job_lossless_carries_subtitle(\"matroska\", \"/clips/b.mkv\", %1)");
        QTest::newRow("none chosen") << 0 << "subrip" << QString() << false;
        QTest::newRow("first stream") << 1 << "subrip" << second.arg(0) << true;
        QTest::newRow("second stream") << 2 << "subrip" << second.arg(1) << true;
        QTest::newRow("closed captions") << 3 << "subrip" << QString() << false;
        QTest::newRow("a subtitle file") << 4 << "subrip" << QString() << false;
        QTest::newRow("another format than the first clip's") << 1 << "ass" << second.arg(0) << false;
    }
    void subtitleQuestion()
    {
        // The library answers yes for every stream: what is asked, and for which stream, is the record's part.
        QFETCH(int, row);
        QFETCH(QString, secondFormat);
        QFETCH(QString, asked);
        QFETCH(bool, carried);
        rscfake::reset();
        rscfake::setResult("rsc_job_lossless_carries_subtitle", 1);
        AttributeSetting a;
        a.bLossless = true;
        a.fileFormat = QStringLiteral("Original");
        QSettingDlgState::setAttributeSetting(a);
        ZtVideoConvertManager list;
        for (const QString &path : {QStringLiteral("/clips/a.mkv"), QStringLiteral("/clips/b.mkv")}) {
            ZtVideoConvertItem *item = avClip();
            item->m_strFilePath = path;
            item->m_strFormatName = QStringLiteral("matroska");
            item->m_subtitleTracks[0].formatName = "subrip";
            SubtitleTrackInfo other;
            other.formatName = "subrip";
            item->m_subtitleTracks << other;
            item->m_editConfig.subtitleValue.subtitleCount = 2;
            item->m_editConfig.subtitleValue.subtitleRow = path.endsWith(QLatin1String("b.mkv")) ? row : 1;
            list.addConverItem(item, -1);
        }
        list.GetItem(1)->m_subtitleTracks[row == 2 ? 1 : 0].formatName = secondFormat.toUtf8();
        QVERIFY(list.isSubtitleCarried(0));
        rscfake::clearCalls();
        QCOMPARE(list.isSubtitleCarried(1), carried);
        const std::vector<std::string> calls =
            rscfake::calls("rsc_job_lossless_carries_subtitle(\"matroska\", \"/clips/b");
        QCOMPARE(calls.empty() ? QString() : QString::fromStdString(calls.front()), asked);
        QVERIFY(!list.isSubtitleCarried(2));
    }

    void workerHandsClipsToTheListThread()
    {
        ZtVideoConvertManager list;
        QSignalSpy added(&list, &ZtVideoConvertManager::emitItemAdded);
        ZtVideoConvertItem *made = nullptr;
        int answer = 0;
        QThread *worker = QThread::create([&] {
            made = clip("W");
            answer = list.addConverItem(made, -1);
        });
        worker->start();
        QVERIFY(worker->wait(5000));
        delete worker;
        QCOMPARE(answer, -1);
        // Not yet in the list: it enters on the list's own thread.
        QCOMPARE(list.GetItemCount(), 0);
        QVERIFY(added.wait(2000));
        QCOMPARE(list.GetItemCount(), 1);
        QCOMPARE(list.GetItem(0), made);
        QCOMPARE(made->thread(), list.thread());
        QCOMPARE(made->Index(), 0);
    }
};

RS_TEST_MAIN(TestClipList)
#include "tst_cliplist.moc"
