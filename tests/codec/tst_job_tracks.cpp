// Track-wise jobs: an output written from elementary-stream packets handed to tracks, checked with ffprobe.
#include "codecids_table.h"
#include "tst_job_helpers.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <thread>

using rstest::FFprobe;
using rstest::MediaFixtures;

namespace {

// The packets of a clip's first video and audio streams, with what a track needs to know of them.
struct Demuxed
{
    struct Stream
    {
        uint32_t codec = 0;
        int width = 0, height = 0, sampleRate = 0, channels = 0;
        AVRational frameRate{0, 1};
        QByteArray privateData;
        QList<rsc_packet> packets;
        QList<QByteArray> payloads;
    };
    Stream video, audio;
};

bool demux(const QString &path, Demuxed *out)
{
    AVFormatContext *fmt = nullptr;
    if (avformat_open_input(&fmt, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return false;
    avformat_find_stream_info(fmt, nullptr);
    const int vi = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int ai = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    auto describe = [&](int index, Demuxed::Stream *s) {
        if (index < 0)
            return;
        const AVStream *st = fmt->streams[index];
        s->codec = rsc::codecIdForAvCodecId(st->codecpar->codec_id);
        s->width = st->codecpar->width;
        s->height = st->codecpar->height;
        s->sampleRate = st->codecpar->sample_rate;
        s->channels = st->codecpar->ch_layout.nb_channels;
        s->frameRate = st->avg_frame_rate;
        s->privateData =
            QByteArray(reinterpret_cast<const char *>(st->codecpar->extradata), st->codecpar->extradata_size);
    };
    describe(vi, &out->video);
    describe(ai, &out->audio);
    AVPacket *pkt = av_packet_alloc();
    while (av_read_frame(fmt, pkt) >= 0) {
        Demuxed::Stream *s = pkt->stream_index == vi ? &out->video : pkt->stream_index == ai ? &out->audio : nullptr;
        if (s) {
            const AVRational tb = fmt->streams[pkt->stream_index]->time_base;
            rsc_packet p{};
            p.pts = av_rescale_q(pkt->pts, tb, AVRational{1, 1000000});
            p.dts = av_rescale_q(pkt->dts == AV_NOPTS_VALUE ? pkt->pts : pkt->dts, tb, AVRational{1, 1000000});
            p.duration = av_rescale_q(pkt->duration, tb, AVRational{1, 1000000});
            p.flags = (pkt->flags & AV_PKT_FLAG_KEY) ? 1 : 0;
            s->payloads.append(QByteArray(reinterpret_cast<const char *>(pkt->data), pkt->size));
            s->packets.append(p);
        }
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    avformat_close_input(&fmt);
    for (Demuxed::Stream *s : {&out->video, &out->audio}) {
        for (int i = 0; i < s->packets.size(); ++i) {
            s->packets[i].data = reinterpret_cast<const unsigned char *>(s->payloads[i].constData());
            s->packets[i].size = uint32_t(s->payloads[i].size());
        }
    }
    return true;
}

rsc_track *videoTrack(const Demuxed::Stream &s)
{
    rsc_track *t = rsc_track_create(RSC_STREAM_VIDEO);
    const bool ok = rsc_track_set_format(t, s.codec) == 1 &&
                    rsc_track_set_video_size(t, uint32_t(s.width), uint32_t(s.height)) == 1 &&
                    rsc_track_set_frame_rate(t, uint32_t(s.frameRate.num), uint32_t(s.frameRate.den)) == 1 &&
                    rsc_track_set_display_aspect(t, uint32_t(s.width), uint32_t(s.height)) == 1 &&
                    rsc_track_set_private_data(t, reinterpret_cast<const unsigned char *>(s.privateData.constData()),
                                               uint32_t(s.privateData.size())) == 1;
    if (!ok) {
        rsc_track_release(t);
        return nullptr;
    }
    return t;
}

rsc_track *audioTrack(const Demuxed::Stream &s)
{
    rsc_track *t = rsc_track_create(RSC_STREAM_AUDIO);
    const bool ok = rsc_track_set_format(t, s.codec) == 1 &&
                    rsc_track_set_audio_format(t, uint32_t(s.sampleRate), uint32_t(s.channels)) == 1 &&
                    rsc_track_set_private_data(t, reinterpret_cast<const unsigned char *>(s.privateData.constData()),
                                               uint32_t(s.privateData.size())) == 1;
    if (!ok) {
        rsc_track_release(t);
        return nullptr;
    }
    return t;
}

void feed(rsc_track *t, const QList<rsc_packet> &packets, int from, int to)
{
    for (int i = from; i < to; ++i)
        QCOMPARE(rsc_track_add_packet(t, &packets[i]), 1);
}

bool waitFinished(rsc_job *job, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (rsc_job_is_finished(job) != 1 && timer.elapsed() < ms)
        QThread::msleep(5);
    return rsc_job_is_finished(job) == 1;
}

const rsc_packet kEnd{};

} // namespace

class TestJobTracks : public QObject
{
    Q_OBJECT

private slots:
    void writesPacketsFromTracks_data();
    void writesPacketsFromTracks();
    void chaptersStayWithinTheOutput_data();
    void chaptersStayWithinTheOutput();
    void refusesUnusableTracks_data();
    void refusesUnusableTracks();
    void refusesPacketsOutOfOrder();
    void stopsPromptlyWhileWaiting();
};

void TestJobTracks::writesPacketsFromTracks_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("fedWhileRunning"); // packets come from another thread after the start
    QTest::newRow("mp4, all before start") << QStringLiteral("mp4") << QStringLiteral("mp4") << false;
    QTest::newRow("matroska, while running") << QStringLiteral("matroska") << QStringLiteral("mkv") << true;
    QTest::newRow("mov, while running") << QStringLiteral("mov") << QStringLiteral("mov") << true;
}

void TestJobTracks::writesPacketsFromTracks()
{
    QFETCH(QString, container);
    QFETCH(QString, suffix);
    QFETCH(bool, fedWhileRunning);
    const QString src = MediaFixtures::standard(QStringLiteral("h264_aac.mp4"));
    Demuxed d;
    QVERIFY(demux(src, &d));
    QVERIFY(d.video.packets.size() > 10 && d.audio.packets.size() > 10);

    rsc_track *v = videoTrack(d.video);
    rsc_track *a = audioTrack(d.audio);
    QVERIFY(v && a);
    const QString out = rstest::scratchDir(QStringLiteral("tracks")) + QStringLiteral("/out.") + suffix;
    QFile::remove(out);
    rsc_job *job = rsc_job_create_convert(RSC_CREATE_DEFAULT);
    auto feedAll = [&] {
        // Video first, then sound: the job interleaves by decoding time whatever order they come in.
        feed(v, d.video.packets, 0, d.video.packets.size());
        feed(a, d.audio.packets, 0, d.audio.packets.size());
        QCOMPARE(rsc_track_add_packet(v, &kEnd), 1);
        QCOMPARE(rsc_track_add_packet(a, &kEnd), 1);
    };
    if (!fedWhileRunning)
        feedAll();
    // A chapter at the largest time the caller can name is left out rather than wrapped to a negative time;
    // chapters added out of time order are written in it.
    rsc_edit *chapters = rsc_edit_create();
    rsc_edit_add_chapter(chapters, 1000000, 500000, "Second");
    rsc_edit_add_chapter(chapters, ~quint64(0) - 1, 1, "At the end of time");
    rsc_edit_add_chapter(chapters, 0, 1000000, "Opening");
    QCOMPARE(
        rsc_job_open_tracks(job, v, a, nullptr, out.toUtf8().constData(), container.toUtf8().constData(), chapters), 1);
    rsc_edit_release(chapters);
    QCOMPARE(rsc_job_set_range(job, 1000000, 0), 0); // no source, so no range
    QCOMPARE(rsc_job_start(job), 1);
    std::thread producer;
    if (fedWhileRunning) {
        producer = std::thread([&] {
            QThread::msleep(50); // the job waits for packets meanwhile
            feedAll();
        });
    }
    const bool finished = waitFinished(job, 30000);
    if (producer.joinable())
        producer.join();
    QVERIFY(finished);
    QCOMPARE(rsc_job_is_failed(job), 0);
    QCOMPARE(rsc_job_is_stopped(job), 0);
    const double lastEnd = (d.video.packets.last().pts + d.video.packets.last().duration) / 1e6;
    QVERIFY(qAbs(rsc_track_time(v) / 1e6 - lastEnd) < 0.1);
    QVERIFY(rsc_job_done(job) >= rsc_track_time(v));
    QCOMPARE(rsc_job_close(job), 1);
    rsc_job_release(job);
    rsc_track_release(v);
    rsc_track_release(a);

    const QJsonArray vs = FFprobe::streams(out, QStringLiteral("video"));
    const QJsonArray as = FFprobe::streams(out, QStringLiteral("audio"));
    QCOMPARE(vs.size(), 1);
    QCOMPARE(as.size(), 1);
    QCOMPARE(vs[0].toObject()[QStringLiteral("codec_name")].toString(), QStringLiteral("h264"));
    QCOMPARE(vs[0].toObject()[QStringLiteral("width")].toInt(), d.video.width);
    QCOMPARE(as[0].toObject()[QStringLiteral("codec_name")].toString(), QStringLiteral("aac"));
    QCOMPARE(as[0].toObject()[QStringLiteral("sample_rate")].toString().toInt(), d.audio.sampleRate);
    const auto vp = FFprobe::packets(out, QStringLiteral("v:0"));
    const auto ap = FFprobe::packets(out, QStringLiteral("a:0"));
    QCOMPARE(vp.size(), d.video.packets.size());
    QCOMPARE(ap.size(), d.audio.packets.size());
    QString where;
    QVERIFY2(FFprobe::strictlyMonotonic(vp, &where), qPrintable(where));
    QVERIFY2(FFprobe::strictlyMonotonic(ap, &where), qPrintable(where));
    QCOMPARE(FFprobe::packetDigests(out, QStringLiteral("v:0")), FFprobe::packetDigests(src, QStringLiteral("v:0")));
    QVERIFY(qAbs(FFprobe::durationSeconds(out) - FFprobe::durationSeconds(src)) < 0.15);
    const QString wrong = jobtest::chapterMismatch(out, {0, 1, 1, 1.5});
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    const QString errors = FFprobe::decodeErrors(out);
    QVERIFY2(errors.isEmpty(), qPrintable(errors));
}

void TestJobTracks::chaptersStayWithinTheOutput_data()
{
    QTest::addColumn<QString>("container");
    QTest::newRow("mp4") << QStringLiteral("mp4");
    QTest::newRow("matroska") << QStringLiteral("matroska");
}

void TestJobTracks::chaptersStayWithinTheOutput()
{
    // A 4 s sound track given 2000 one-second chapters and one that runs to the end of time: the output lasts
    // 4 s and its chapters end by then, as a join's do.
    QFETCH(QString, container);
    const QString src = MediaFixtures::make(
        {QStringLiteral("sine_4s.m4a"),
         QString::fromLatin1("-f lavfi -i sine=frequency=440:sample_rate=44100:duration=4 -c:a aac").split(' ')});
    Demuxed d;
    QVERIFY(demux(src, &d));
    rsc_track *a = audioTrack(d.audio);
    QVERIFY(a);
    feed(a, d.audio.packets, 0, d.audio.packets.size());
    QCOMPARE(rsc_track_add_packet(a, &kEnd), 1);
    rsc_edit *chapters = rsc_edit_create();
    for (quint64 i = 0; i < 2000; ++i)
        rsc_edit_add_chapter(chapters, i * 1000000, 1000000, "Second");
    rsc_edit_add_chapter(chapters, 500000, ~quint64(0), "Forever");
    const QString out = rstest::scratchDir(QStringLiteral("tracks-chapters")) + QStringLiteral("/out.") +
                        (container == QLatin1String("mp4") ? QStringLiteral("mp4") : QStringLiteral("mkv"));
    rsc_job *job = rsc_job_create_convert(RSC_CREATE_DEFAULT);
    QCOMPARE(rsc_job_open_tracks(job, nullptr, a, nullptr, out.toUtf8().constData(), container.toUtf8().constData(),
                                 chapters),
             1);
    rsc_edit_release(chapters);
    QCOMPARE(rsc_job_start(job), 1);
    QVERIFY(waitFinished(job, 30000));
    QCOMPARE(rsc_job_is_failed(job), 0);
    QCOMPARE(rsc_job_close(job), 1);
    rsc_job_release(job);
    rsc_track_release(a);

    const double duration = FFprobe::durationSeconds(out);
    QVERIFY2(qAbs(duration - 4) < 0.1, qPrintable(QString::number(duration)));
    const QJsonArray found = FFprobe::probe(out).value(QStringLiteral("chapters")).toArray();
    QCOMPARE(found.size(), 5); // four seconds and the one without end, cut there
    for (const QJsonValue &c : found) {
        const double end = c.toObject().value(QStringLiteral("end_time")).toString().toDouble();
        QVERIFY2(end <= duration + 0.01, qPrintable(QString::number(end)));
    }
}

void TestJobTracks::refusesUnusableTracks_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("codec");    // FFmpeg name of the format set, empty = none
    QTest::addColumn<bool>("formatTaken"); // the format setter's answer
    QTest::addColumn<bool>("sized");       // picture size / sound format set
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("retry"); // a container that takes the track after the refusal; empty = none
    QTest::newRow("no format") << RSC_STREAM_VIDEO << QString() << false << true << QStringLiteral("mp4") << QString();
    QTest::newRow("sound codec on a video track")
        << RSC_STREAM_VIDEO << QStringLiteral("aac") << false << true << QStringLiteral("mp4") << QString();
    QTest::newRow("video without a size")
        << RSC_STREAM_VIDEO << QStringLiteral("h264") << true << false << QStringLiteral("mp4") << QString();
    QTest::newRow("sound without a format")
        << RSC_STREAM_AUDIO << QStringLiteral("aac") << true << false << QStringLiteral("mp4") << QString();
    QTest::newRow("container cannot hold it") << RSC_STREAM_VIDEO << QStringLiteral("h264") << true << true
                                              << QStringLiteral("wav") << QStringLiteral("matroska");
}

void TestJobTracks::refusesUnusableTracks()
{
    QFETCH(int, kind);
    QFETCH(QString, codec);
    QFETCH(bool, formatTaken);
    QFETCH(bool, sized);
    QFETCH(QString, container);
    QFETCH(QString, retry);
    rsc_track *t = rsc_track_create(kind);
    QVERIFY(t);
    if (!codec.isEmpty()) {
        const uint32_t id = rsc::codecIdForFFmpegName(codec.toLatin1().constData());
        QVERIFY(id != 0);
        QCOMPARE(rsc_track_set_format(t, id), formatTaken ? 1 : 0);
    }
    if (sized) {
        if (kind == RSC_STREAM_VIDEO)
            QCOMPARE(rsc_track_set_video_size(t, 320, 240), 1);
        else
            QCOMPARE(rsc_track_set_audio_format(t, 44100, 2), 1);
    }
    const QString out = rstest::scratchDir(QStringLiteral("tracks")) + QStringLiteral("/refused.out");
    QFile::remove(out);
    rsc_job *job = rsc_job_create_convert(RSC_CREATE_DEFAULT);
    rsc_track *video = kind == RSC_STREAM_VIDEO ? t : nullptr;
    rsc_track *audio = kind == RSC_STREAM_AUDIO ? t : nullptr;
    QCOMPARE(rsc_job_open_tracks(job, video, audio, nullptr, out.toUtf8().constData(), container.toUtf8().constData(),
                                 nullptr),
             0);
    QVERIFY(!QString::fromUtf8(rsc_job_error(job)).isEmpty());
    QCOMPARE(rsc_job_start(job), 0);
    QVERIFY(!QFile::exists(out));
    // A track handed in the wrong place is refused too.
    QCOMPARE(rsc_job_open_tracks(job, audio, video, nullptr, out.toUtf8().constData(), "mp4", nullptr), 0);
    rsc_job_release(job);
    if (!retry.isEmpty()) {
        // The refused open gave the track back.
        rsc_job *second = rsc_job_create_convert(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_job_open_tracks(second, t, nullptr, nullptr, out.toUtf8().constData(), retry.toUtf8().constData(),
                                     nullptr),
                 1);
        rsc_job_release(second);
    }
    rsc_track_release(t);
    QCOMPARE(rsc_track_create(3), static_cast<rsc_track *>(nullptr));
}

void TestJobTracks::refusesPacketsOutOfOrder()
{
    rsc_track *t = rsc_track_create(RSC_STREAM_AUDIO);
    const unsigned char bytes[4] = {1, 2, 3, 4};
    rsc_packet p{1000, 1000, 1000, 1, bytes, sizeof bytes};
    QCOMPARE(rsc_track_add_packet(t, &p), 1);
    QCOMPARE(rsc_track_add_packet(t, &p), 0); // same decoding time
    p.dts = 500;
    p.pts = 500;
    QCOMPARE(rsc_track_add_packet(t, &p), 0); // earlier
    p.dts = 3000;
    p.pts = 2000;
    QCOMPARE(rsc_track_add_packet(t, &p), 0); // shown before it is decoded
    p.pts = 3000;
    p.data = nullptr;
    QCOMPARE(rsc_track_add_packet(t, &p), 0); // bytes promised but none given
    p.data = bytes;
    QCOMPARE(rsc_track_add_packet(t, &p), 1);
    QCOMPARE(rsc_track_add_packet(t, &kEnd), 1);
    p.dts = p.pts = 5000;
    QCOMPARE(rsc_track_add_packet(t, &p), 0); // after the end
    rsc_track_release(t);
}

void TestJobTracks::stopsPromptlyWhileWaiting()
{
    const QString src = MediaFixtures::standard(QStringLiteral("h264_aac.mp4"));
    Demuxed d;
    QVERIFY(demux(src, &d));
    rsc_track *v = videoTrack(d.video);
    QVERIFY(v);
    feed(v, d.video.packets, 0, d.video.packets.size() / 2); // and never an end
    const QString out = rstest::scratchDir(QStringLiteral("tracks")) + QStringLiteral("/stopped.mkv");
    rsc_job *job = rsc_job_create_convert(RSC_CREATE_DEFAULT);
    QCOMPARE(rsc_job_open_tracks(job, v, nullptr, nullptr, out.toUtf8().constData(), "matroska", nullptr), 1);
    QCOMPARE(rsc_job_start(job), 1);
    QElapsedTimer wait;
    wait.start();
    while (rsc_track_time(v) == 0 && wait.elapsed() < 10000)
        QThread::msleep(5);
    QVERIFY(rsc_track_time(v) > 0);
    QCOMPARE(rsc_job_is_finished(job), 0);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(rsc_job_stop(job, 1), 1);
    // The job waits for packets that never come: without the stop it would wait for ever.
    QVERIFY2(timer.elapsed() < rstest::kHangBoundMs, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(rsc_job_is_stopped(job), 1);
    QCOMPARE(rsc_job_close(job), 0); // a stopped job's output is not a finished one
    rsc_job_release(job);
    rsc_track_release(v);
}

RS_TEST_MAIN(TestJobTracks)
#include "tst_job_tracks.moc"
