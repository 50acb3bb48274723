// Decoding into the shared picture pool gives the same pictures as FFmpeg's own buffers, on one thread
// and on frame threads, when buffers are fresh and when they are reused; the pool keeps its bound.
#include "MediaFixtures.h"
#include "TestSupport.h"
#include "ffmpeg_raii.h"
#include "info_frame_pool.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

#include <QCryptographicHash>
#include <QtTest>

namespace {

enum class Buffers { Default, Pooled };

// A digest of the visible samples of the first `count` decoded pictures of the file's video.
QByteArray decodeDigest(const QString &path, Buffers buffers, int threads, int count)
{
    AVFormatContext *raw = nullptr;
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return {};
    rsc::InputFormatPtr ctx(raw);
    if (avformat_find_stream_info(raw, nullptr) < 0)
        return {};
    const int index = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (index < 0)
        return {};
    const AVStream *st = raw->streams[index];
    const AVCodec *codec = avcodec_find_decoder(st->codecpar->codec_id);
    rsc::CodecContextPtr dec(avcodec_alloc_context3(codec));
    avcodec_parameters_to_context(dec.get(), st->codecpar);
    dec->thread_count = threads;
    dec->thread_type = FF_THREAD_FRAME;
    if (buffers == Buffers::Pooled)
        rsc::usePooledBuffers(dec.get());
    if (avcodec_open2(dec.get(), codec, nullptr) < 0)
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    int got = 0;
    rsc::PacketPtr pkt = rsc::makePacket();
    rsc::FramePtr frame = rsc::makeFrame();
    auto drain = [&] {
        while (got < count && avcodec_receive_frame(dec.get(), frame.get()) >= 0) {
            const AVPixFmtDescriptor *d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(frame->format));
            const int bytes = (d->comp[0].depth + 7) / 8;
            for (int p = 0; p < d->nb_components && frame->data[p]; ++p) {
                const int w = p ? AV_CEIL_RSHIFT(frame->width, d->log2_chroma_w) : frame->width;
                const int h = p ? AV_CEIL_RSHIFT(frame->height, d->log2_chroma_h) : frame->height;
                for (int y = 0; y < h; ++y)
                    hash.addData(reinterpret_cast<const char *>(frame->data[p] + y * frame->linesize[p]), w * bytes);
            }
            av_frame_unref(frame.get());
            ++got;
        }
    };
    while (got < count && av_read_frame(raw, pkt.get()) >= 0) {
        if (pkt->stream_index == index && avcodec_send_packet(dec.get(), pkt.get()) >= 0)
            drain();
        av_packet_unref(pkt.get());
    }
    avcodec_send_packet(dec.get(), nullptr);
    drain();
    return got == count ? hash.result() : QByteArray();
}

} // namespace

class TestInfoFramePool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { rstest::prepareEnvironment(); }

    void pooledPicturesEqualDefaultOnes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("threads");
        QTest::newRow("h264 one thread") << rstest::MediaFixtures::standard("h264_aac.mp4") << 1;
        QTest::newRow("h264 frame threads") << rstest::MediaFixtures::standard("h264_aac.mp4") << 4;
        QTest::newRow("odd size mpeg4") << rstest::MediaFixtures::standard("odd_size.mkv") << 1;
        QTest::newRow("vp9 frame threads") << rstest::MediaFixtures::standard("vp9_opus.webm") << 3;
        QTest::newRow("theora") << rstest::MediaFixtures::standard("theora_vorbis.ogv") << 1;
        QTest::newRow("h264 4:4:4 10-bit frame threads")
            << rstest::MediaFixtures::make(
                   {"pool_444p10.mp4",
                    QStringLiteral("-f lavfi -i testsrc2=size=354x198:rate=25:duration=1 -c:v libx264 -preset "
                                   "ultrafast -profile:v high444 -pix_fmt yuv444p10le -bf 2 -g 10")
                        .split(QLatin1Char(' '))})
            << 4;
    }

    void pooledPicturesEqualDefaultOnes()
    {
        QFETCH(QString, path);
        QFETCH(int, threads);
        const QByteArray reference = decodeDigest(path, Buffers::Default, 1, 20);
        QVERIFY(!reference.isEmpty());
        rsc::framePoolTrim();
        // Fresh buffers first, then the same buffers again holding the last run's pictures.
        QCOMPARE(decodeDigest(path, Buffers::Pooled, threads, 20), reference);
        QVERIFY(rsc::framePoolIdleBytes() > 0);
        QCOMPARE(decodeDigest(path, Buffers::Pooled, threads, 20), reference);
    }

    void idleBuffersAreBoundedAndTrimmed()
    {
        const QString path = rstest::MediaFixtures::standard("h264_aac.mp4");
        for (int i = 0; i < 3; ++i)
            QVERIFY(!decodeDigest(path, Buffers::Pooled, 4, 10).isEmpty());
        QVERIFY(rsc::framePoolIdleBytes() > 0);
        QVERIFY(rsc::framePoolIdleBytes() <= rsc::kFramePoolIdleBytes);
        rsc::framePoolTrim();
        QCOMPARE(rsc::framePoolIdleBytes(), size_t(0));
    }

    // A program that stops making images gets the memory back without another call.
    void idleBuffersAreFreedWhenUnused()
    {
        rsc::framePoolSetIdleLife(std::chrono::milliseconds(200));
        QVERIFY(!decodeDigest(rstest::MediaFixtures::standard("h264_aac.mp4"), Buffers::Pooled, 2, 10).isEmpty());
        QVERIFY(rsc::framePoolIdleBytes() > 0);
        QTRY_COMPARE_WITH_TIMEOUT(rsc::framePoolIdleBytes(), size_t(0), 20000);
        // The sweeping thread ended; the next idle buffers get a new one.
        QVERIFY(!decodeDigest(rstest::MediaFixtures::standard("h264_aac.mp4"), Buffers::Pooled, 2, 10).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(rsc::framePoolIdleBytes(), size_t(0), 20000);
        rsc::framePoolSetIdleLife(std::chrono::seconds(10));
    }
};

QTEST_GUILESS_MAIN(TestInfoFramePool)
#include "tst_info_frame_pool.moc"
