// The recording fake: what later wrapper and controller tests rely on when they script it.
#include "TestSupport.h"
#include "rscodec_fake.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <thread>

namespace {

struct HandlerLog
{
    int calls = 0;
    uint32_t format = 0, width = 0, height = 0, stride0 = 0;
};

unsigned int recordFrame(void *user, void *frame)
{
    auto *log = static_cast<HandlerLog *>(user);
    rsc_frame *ref = rsc_frame_reference(frame);
    ++log->calls;
    log->format = rsc_frame_format(ref);
    log->width = rsc_frame_width(ref);
    log->height = rsc_frame_height(ref);
    log->stride0 = rsc_frame_stride(ref, 0);
    const bool hasData = rsc_frame_data(ref, 0) != nullptr;
    rsc_frame_release(ref);
    return hasData ? 1 : 0;
}

} // namespace

class TestFake : public QObject
{
    Q_OBJECT

private slots:
    void init() { rscfake::reset(); }

    void recordsCallsInOrderWithReadableArguments()
    {
        rsc_edit *edit = rsc_edit_create();
        rsc_edit_set_crop(edit, 0, 0.25, 1, 0.5);
        rsc_edit_set_subtitle_font(edit, "Arial");
        rsc_edit_set_subtitle_file(edit, nullptr);
        const double f[] = {60, 1000};
        const double g[] = {-3, 2.5};
        rsc_edit_set_equalizer(edit, f, g, 2);
        rsc_edit_release(edit);
        const std::vector<std::string> expected = {
            "rsc_edit_create()",
            "rsc_edit_set_crop(edit#1, 0, 0.25, 1, 0.5)",
            "rsc_edit_set_subtitle_font(edit#1, \"Arial\")",
            "rsc_edit_set_subtitle_file(edit#1, null)",
            "rsc_edit_set_equalizer(edit#1, [60, 1000], [-3, 2.5], 2)",
            "rsc_edit_release(edit#1)",
        };
        QCOMPARE(rscfake::calls(), expected);
        QCOMPARE(rscfake::count("rsc_edit_set_crop"), 1);
        QCOMPARE(int(rscfake::calls("rsc_edit_set_subtitle").size()), 2);
    }

    void defaultsAndNullHandles_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<int>("expected");
        QTest::newRow("open succeeds") << "open" << 1;
        QTest::newRow("queries answer no") << "has_video" << 0;
        QTest::newRow("null handle answers 0") << "null" << 0;
        QTest::newRow("released handle answers 0") << "released" << 0;
    }

    void defaultsAndNullHandles()
    {
        QFETCH(QString, call);
        QFETCH(int, expected);
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT);
        QVERIFY(player);
        int answer = -1;
        if (call == "open")
            answer = rsc_player_open(player, "/a.mp4", 0, 0, 0, 0);
        else if (call == "has_video")
            answer = rsc_player_has_video(player);
        else if (call == "null")
            answer = rsc_player_play(nullptr);
        else {
            rsc_player_release(player);
            answer = rsc_player_play(player);
            QCOMPARE(rscfake::calls().back(), std::string("rsc_player_play(player#1(released))"));
        }
        QCOMPARE(answer, expected);
    }

    void scriptedResultsInTurn()
    {
        rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
        rscfake::setResults("rsc_info_open_file", {0, 1});
        QCOMPARE(rsc_info_open_file(info, "/a"), 0);
        QCOMPARE(rsc_info_open_file(info, "/a"), 1);
        QCOMPARE(rsc_info_open_file(info, "/a"), 1); // the last value repeats
        rscfake::setResult("rsc_info_duration", 1234);
        QCOMPARE(rsc_info_duration(info), 1234ull);
        rscfake::setText("rsc_info_program_name", "Channel");
        QCOMPARE(QString(rsc_info_program_name(info)), QString("Channel"));
        rscfake::setTextNull("rsc_info_program_name");
        QVERIFY(rsc_info_program_name(info) == nullptr);
        rscfake::setDouble("rsc_player_watermark_text_width", 0.25);
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_player_watermark_text_width(player), 0.25);
        rscfake::setResult("rsc_player_create", 0);
        QVERIFY(rsc_player_create(RSC_CREATE_DEFAULT) == nullptr);
        rscfake::clearResult("rsc_player_create");
        QVERIFY(rsc_player_create(RSC_CREATE_DEFAULT) != nullptr);
    }

    void scriptedMediaIsDescribed()
    {
        rscfake::FakeMedia media;
        media.duration = 5000000;
        rscfake::FakeStream v;
        v.width = 1920;
        v.height = 1080;
        v.format = "h264";
        v.values[1] = 27;
        v.privateData = {1, 2, 3};
        media.video.push_back(v);
        rscfake::FakeStream a1, a2;
        a1.language = "eng";
        a2.title = "Commentary";
        media.audio = {a1, a2};
        media.chapters = {{0, 1000000, "One", true}, {1000000, 4000000, "", false}};
        media.metadata["ffmpeg_format"] = "mov,mp4,m4a,3gp,3g2,mj2";
        media.cover = {0x89, 'P', 'N', 'G'};
        rscfake::setMedia("/clip.mp4", media);
        rscfake::FakeMedia broken;
        broken.openable = false;
        rscfake::setMedia("/broken.mp4", broken);

        rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_info_open_file(info, "/broken.mp4"), 0);
        QCOMPARE(rsc_info_open_file(info, "/clip.mp4"), 1);
        QCOMPARE(rsc_info_has_video(info), 1);
        QCOMPARE(rsc_info_duration(info), 5000000ull);
        QCOMPARE(rsc_info_video_width(info), 1920u);
        QCOMPARE(rsc_info_audio_count(info), 2u);
        QCOMPARE(QString(rsc_info_stream_language(info, RSC_STREAM_AUDIO)), QString("eng"));
        QCOMPARE(rsc_info_set_audio_index(info, 1), 1);
        QCOMPARE(QString(rsc_info_stream_title(info, RSC_STREAM_AUDIO)), QString("Commentary"));
        QCOMPARE(rsc_info_set_audio_index(info, 2), 0);
        QCOMPARE(rsc_info_stream_value(info, RSC_STREAM_VIDEO, 1), 27ull);
        QCOMPARE(rsc_info_stream_private_size(info, RSC_STREAM_VIDEO), 3u);
        QVERIFY(rsc_info_chapter_title(info, 1) == nullptr);
        QCOMPARE(rsc_info_chapter_start(info, 1), 1000000ull);
        const auto *cover = static_cast<const rsc_cover_image *>(rsc_info_get_metadata(info, "cover_image"));
        QVERIFY(cover && cover->size == 4);
        QVERIFY(rsc_info_get_metadata(info, "title") == nullptr);

        unsigned char *bmp = rsc_info_get_video_image(info, 0, 1, 120, 67, 0);
        QVERIFY(bmp);
        QImage image;
        QVERIFY(image.loadFromData(bmp, int(rsc_info_get_video_image_size(info, bmp))));
        QCOMPARE(image.size(), QSize(120, 67));
        QCOMPARE(rsc_info_free_video_image(info, bmp), 1);
        QCOMPARE(rsc_info_free_video_image(info, bmp), 0);

        rsc_info *other = rsc_info_create(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_info_open_file(other, "/unscripted.mp4"), 1); // opens, describes nothing
        QCOMPARE(rsc_info_has_video(other), 0);
        QCOMPARE(rscfake::handleName(other), std::string("info#2"));
    }

    void jobsFinishAfterTheScriptedPolls()
    {
        rscfake::setJob(4, 400);
        rsc_job *job = rsc_job_create_merge(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_job_open_output(job, "/out.mp4", "mp4", nullptr), 1);
        QCOMPARE(rsc_job_add_task(job, "/a.mp4", 0, 0, nullptr), 1);
        std::vector<int> finished;
        std::vector<uint64_t> done;
        for (int i = 0; i < 5; ++i) {
            finished.push_back(rsc_job_is_finished(job));
            done.push_back(rsc_job_done(job));
        }
        QCOMPARE(finished, (std::vector<int>{0, 0, 0, 1, 1}));
        QCOMPARE(done, (std::vector<uint64_t>{100, 200, 300, 400, 400}));
        QCOMPARE(rsc_job_total(job), 400ull);
        // A new task runs from the start; a stop ends it at once.
        QCOMPARE(rsc_job_add_task(job, "/b.mp4", 0, 0, nullptr), 1);
        QCOMPARE(rsc_job_is_finished(job), 0);
        QCOMPARE(rsc_job_stop(job, 1), 1);
        QCOMPARE(rsc_job_is_stopped(job), 1);
        QCOMPARE(rsc_job_is_finished(job), 1);
    }

    void framesReachTheRegisteredHandler_data()
    {
        QTest::addColumn<bool>("original");
        QTest::addColumn<uint>("format");
        QTest::addColumn<uint>("stride");
        QTest::newRow("edited yuv") << false << uint(RSC_FRAME_YUV420P) << 64u;
        QTest::newRow("original bgrx") << true << uint(RSC_FRAME_BGRX) << 256u;
    }

    void framesReachTheRegisteredHandler()
    {
        QFETCH(bool, original);
        QFETCH(uint, format);
        QFETCH(uint, stride);
        rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT);
        HandlerLog log;
        QCOMPARE(rscfake::sendFrame(player, original, format, 64, 36), 0u); // nothing registered yet
        if (original)
            rsc_player_set_original_video_frame_handler(player, recordFrame, &log);
        else
            rsc_player_set_video_frame_handler(player, recordFrame, &log);
        unsigned int answer = 0;
        // Handlers run on the library's thread.
        std::thread([&] { answer = rscfake::sendFrame(player, original, format, 64, 36); }).join();
        QCOMPARE(answer, 1u);
        QCOMPARE(log.calls, 1);
        QCOMPARE(log.format, uint32_t(format));
        QCOMPARE(log.width, 64u);
        QCOMPARE(log.height, 36u);
        QCOMPARE(log.stride0, uint32_t(stride));
        QCOMPARE(rscfake::sendFrame(player, !original, format, 64, 36), 0u);
    }

    // The fake is generated from the header; a call added to the header without regenerating it is caught.
    void everyHeaderCallIsFaked()
    {
        QFile header(rstest::sourceDir() + "/codec/include/rscodec.h");
        QFile fake(rstest::sourceDir() + "/codec/fake/fake_api.cpp");
        QVERIFY(header.open(QIODevice::ReadOnly) && fake.open(QIODevice::ReadOnly));
        const QString declarations = QString::fromUtf8(header.readAll());
        const QString faked = QString::fromUtf8(fake.readAll());
        QRegularExpression call("\\b(rsc_\\w+)\\s*\\(");
        int checked = 0;
        for (auto it = call.globalMatch(declarations); it.hasNext();) {
            const QString name = it.next().captured(1);
            QVERIFY2(faked.contains(QString("Call call(\"%1\")").arg(name)), qPrintable(name + " is not faked"));
            ++checked;
        }
        QVERIFY(checked > 300);
    }

    void resetForgetsEverything()
    {
        rscfake::setResult("rsc_info_duration", 5);
        rsc_info_create(RSC_CREATE_DEFAULT);
        rscfake::reset();
        QVERIFY(rscfake::calls().empty());
        rsc_info *again = rsc_info_create(RSC_CREATE_DEFAULT);
        QCOMPARE(rscfake::handleName(again), std::string("info#1"));
        QCOMPARE(rsc_info_duration(again), 0ull);
    }
};

RS_TEST_MAIN(TestFake)
#include "tst_fake.moc"
