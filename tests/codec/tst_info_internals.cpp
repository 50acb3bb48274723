// Frames handed to frame handlers, the process-wide calls and the library log; a job's reading of clips whose
// headers state what no file holds (this test's copy of the clip reader is built with the undefined-behaviour
// sanitizer, which ends the test at the first fault); subtitle scripts and font names as libass reads them.
#include "FFprobe.h"
#include "MediaFixtures.h"
#include "TestSupport.h"
#include "decode_input.h"
#include "filter_ass.h"
#include "filter_font.h"
#include "filter_inputs.h"
#include "frame_object.h"
#include "info_brand.h"
#include "info_text.h"
#include "log_codec.h"
#include "rscodec.h"
#include "tst_job_helpers.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <ass/ass.h>

namespace {

rsc::FramePtr makeSource(AVPixelFormat format, int w, int h)
{
    rsc::FramePtr f = rsc::makeFrame();
    f->format = format;
    f->width = w;
    f->height = h;
    if (av_frame_get_buffer(f.get(), 0) < 0)
        return nullptr;
    return f;
}

void fillRgb24(AVFrame *f, uint8_t r, uint8_t g, uint8_t b)
{
    for (int y = 0; y < f->height; ++y)
        for (int x = 0; x < f->width; ++x) {
            uint8_t *p = f->data[0] + y * f->linesize[0] + x * 3;
            p[0] = r;
            p[1] = g;
            p[2] = b;
        }
}

void setFormats(std::initializer_list<int32_t> formats)
{
    std::vector<int32_t> list(formats);
    QCOMPARE(rsc_global_set_frame_formats(list.data(), int(list.size())), 1);
}

// PlayResX x PlayResY as libass takes them from `script`, with the defaults it applies as it draws a frame;
// QSize() when it takes no script.
QSize libassCanvas(QByteArray script)
{
    ASS_Library *library = ass_library_init();
    ass_set_message_cb(
        library, [](int, const char *, va_list, void *) {}, nullptr);
    ASS_Renderer *renderer = ass_renderer_init(library);
    ass_set_frame_size(renderer, 64, 48);
    ass_set_fonts(renderer, nullptr, nullptr, ASS_FONTPROVIDER_NONE, nullptr, 0);
    ASS_Track *track = ass_read_memory(library, script.data(), size_t(script.size()), nullptr);
    QSize canvas;
    if (track) {
        int changed = 0;
        ass_render_frame(renderer, track, 0, &changed);
        canvas = QSize(track->PlayResX, track->PlayResY);
        ass_free_track(track);
    }
    ass_renderer_done(renderer);
    ass_library_done(library);
    return canvas;
}

// The TrueType file `font` with a name table of its own, of Windows English records by name id, at its end.
QByteArray withNames(QByteArray font, const QMap<int, QString> &names)
{
    QByteArray table, strings;
    QDataStream head(&table, QIODevice::WriteOnly), text(&strings, QIODevice::WriteOnly);
    head << quint16(0) << quint16(names.size()) << quint16(6 + 12 * names.size());
    for (auto it = names.begin(); it != names.end(); ++it) {
        const int at = strings.size();
        for (const QChar c : it.value())
            text << c.unicode();
        head << quint16(3) << quint16(1) << quint16(0x409) << quint16(it.key()) << quint16(strings.size() - at)
             << quint16(at);
    }
    font += QByteArray((4 - font.size() % 4) % 4, '\0');
    const int end = font.size(), tables = quint8(font[4]) << 8 | quint8(font[5]);
    QDataStream directory(&font, QIODevice::ReadWrite);
    for (int i = 0; i < tables; ++i)
        if (font.mid(12 + 16 * i, 4) == "name" && directory.device()->seek(12 + 16 * i + 8))
            directory << quint32(end) << quint32(table.size() + strings.size());
    return font + table + strings;
}

QString blackSecond()
{
    return rstest::MediaFixtures::make(
        {QStringLiteral("internals_black_1s.mp4"),
         QString::fromLatin1("-f lavfi -i color=c=black:s=320x240:r=25:d=1 -c:v libx264 -preset ultrafast "
                             "-pix_fmt yuv420p")
             .split(QLatin1Char(' '))});
}

// The size the preview measures for "WgW" drawn with the font file, in pixels of its 320x240 picture.
QSize drawnText(const QString &fontFile)
{
    rsc_player *player = rsc_player_create(RSC_CREATE_DEFAULT & ~RSC_CREATE_AUDIO_OUTPUT);
    rsc_player_open(player, blackSecond().toUtf8().constData(), 320, 240, 0, 0);
    rsc_player_set_watermark_text(player, "WgW");
    rsc_player_set_watermark_text_size(player, 60);
    rsc_player_set_watermark_text_font_file(player, fontFile.toUtf8().constData());
    rsc_player_refresh_video_frame(player); // lays the text out
    const QSize size(qRound(rsc_player_watermark_text_width(player) * 320),
                     qRound(rsc_player_watermark_text_height(player) * 240));
    rsc_player_release(player);
    return size;
}

// The bright pixels in the top and the bottom half of a joined second whose text (at the top) and subtitles
// (at the bottom) are set in the font named so.
QPair<int, int> joinedText(const QString &font)
{
    const QString dir = rstest::scratchDir(QStringLiteral("joined-text"));
    QFile srt(dir + QStringLiteral("/subs.srt"));
    srt.open(QIODevice::WriteOnly) && srt.write("1\n00:00:00,000 --> 00:00:01,000\nWWWW\n\n");
    srt.close();
    rsc_edit *edit = rsc_edit_create();
    rsc_edit_enable_video_edits(edit, 1);
    rsc_edit_set_watermark_text(edit, "WWWW");
    rsc_edit_set_watermark_text_size(edit, 40);
    rsc_edit_set_watermark_text_font(edit, font.toUtf8().constData());
    rsc_edit_set_subtitle_file(edit, srt.fileName().toUtf8().constData());
    rsc_edit_set_subtitle_font(edit, font.toUtf8().constData());
    rsc_edit_set_subtitle_size(edit, 40);
    const QString out = dir + QStringLiteral("/out.mp4");
    jobtest::runMerge(false, out, QStringLiteral("mp4"), {jobtest::Task{blackSecond(), 0, 0, edit}});
    const QImage frame = jobtest::frameAt(out, 0.5);
    QPair<int, int> bright{0, 0};
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            (y < frame.height() / 2 ? bright.first : bright.second) += qGray(frame.pixel(x, y)) > 100;
    return bright;
}

} // namespace

class TestInfoInternals : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { setFormats({0, 30}); }

    void framesInAcceptedFormatsAreShared_data()
    {
        QTest::addColumn<int>("pixelFormat");
        QTest::addColumn<uint>("expected");
        QTest::addColumn<int>("planes");
        QTest::newRow("yuv420p") << int(AV_PIX_FMT_YUV420P) << uint(RSC_FRAME_YUV420P) << 3;
        QTest::newRow("bgr0") << int(AV_PIX_FMT_BGR0) << uint(RSC_FRAME_BGRX) << 1;
    }

    void framesInAcceptedFormatsAreShared()
    {
        QFETCH(int, pixelFormat);
        QFETCH(uint, expected);
        QFETCH(int, planes);
        setFormats({0, 30});
        rsc::FramePtr src = makeSource(AVPixelFormat(pixelFormat), 33, 17);
        QVERIFY(src);
        rsc::FrameConverter converter;
        rsc_frame *frame = converter.wrap(src.get());
        QVERIFY(frame);
        QCOMPARE(rsc_frame_format(frame), uint32_t(expected));
        QCOMPARE(rsc_frame_width(frame), 33u);
        QCOMPARE(rsc_frame_height(frame), 17u);
        for (int p = 0; p < planes; ++p) {
            QCOMPARE(rsc_frame_data(frame, p), src->data[p]); // a reference, not a copy
            QCOMPARE(int(rsc_frame_stride(frame, p)), src->linesize[p]);
        }
        QVERIFY(rsc_frame_data(frame, planes) == nullptr);
        QCOMPARE(rsc_frame_stride(frame, planes), 0u);
        rsc_frame_release(frame);
    }

    void otherFormatsAreConverted_data()
    {
        QTest::addColumn<int>("preferred");
        QTest::newRow("to yuv") << 0;
        QTest::newRow("to bgrx") << 30;
    }

    void otherFormatsAreConverted()
    {
        QFETCH(int, preferred);
        setFormats({preferred});
        rsc::FramePtr src = makeSource(AV_PIX_FMT_RGB24, 16, 8);
        fillRgb24(src.get(), 255, 0, 0);
        rsc::FrameConverter converter;
        rsc_frame *frame = converter.wrap(src.get());
        QVERIFY(frame);
        QCOMPARE(int(rsc_frame_format(frame)), preferred);
        if (preferred == 30) {
            QVERIFY(rsc_frame_stride(frame, 0) >= 16u * 4);
            const unsigned char *p = rsc_frame_data(frame, 0);
            QVERIFY(p[0] < 10 && p[1] < 10 && p[2] > 245); // B, G, R
        } else {
            // Pure red in limited-range BT.601: Y about 81, V high.
            const unsigned char *y = rsc_frame_data(frame, 0);
            const unsigned char *v = rsc_frame_data(frame, 2);
            QVERIFY2(std::abs(int(y[0]) - 81) < 6, qPrintable(QString::number(y[0])));
            QVERIFY(v[0] > 220);
        }
        rsc_frame_release(frame);
    }

    void fullRangeYuvIsConvertedToTheDrawnRange()
    {
        setFormats({0, 30});
        rsc::FramePtr src = makeSource(AV_PIX_FMT_YUVJ420P, 8, 8);
        av_frame_make_writable(src.get());
        memset(src->data[0], 0, size_t(src->linesize[0]) * 8);
        memset(src->data[1], 128, size_t(src->linesize[1]) * 4);
        memset(src->data[2], 128, size_t(src->linesize[2]) * 4);
        rsc::FrameConverter converter;
        rsc_frame *frame = converter.wrap(src.get());
        QVERIFY(frame);
        QCOMPARE(rsc_frame_format(frame), uint32_t(RSC_FRAME_YUV420P));
        QVERIFY(std::abs(int(rsc_frame_data(frame, 0)[0]) - 16) <= 1); // black stays black
        rsc_frame_release(frame);
    }

    void referenceOutlivesTheOriginal()
    {
        rsc::FramePtr src = makeSource(AV_PIX_FMT_YUV420P, 4, 4);
        memset(src->data[0], 77, size_t(src->linesize[0]) * 4);
        rsc::FrameConverter converter;
        rsc_frame *original = converter.wrap(src.get());
        src.reset();
        rsc_frame *copy = rsc_frame_reference(original);
        rsc_frame_release(original);
        QVERIFY(copy);
        QCOMPARE(int(rsc_frame_data(copy, 0)[0]), 77);
        rsc_frame_release(copy);
    }

    void emptyAndNullFrames()
    {
        rsc_frame *empty = rsc_frame_create();
        QVERIFY(empty);
        QCOMPARE(rsc_frame_format(empty), uint32_t(RSC_FRAME_NONE));
        QVERIFY(rsc_frame_data(empty, 0) == nullptr);
        QVERIFY(rsc_frame_reference(empty) == nullptr);
        rsc_frame_release(empty);
        QCOMPARE(rsc_frame_format(nullptr), uint32_t(RSC_FRAME_NONE));
        QCOMPARE(rsc_frame_width(nullptr), 0u);
        QVERIFY(rsc_frame_reference(nullptr) == nullptr);
        rsc::FrameConverter converter;
        QVERIFY(converter.wrap(nullptr) == nullptr);
    }

    void frameFormatListsAreChecked()
    {
        const int32_t unknown[] = {7, 99};
        QCOMPARE(rsc_global_set_frame_formats(unknown, 2), 0);
        QCOMPARE(rsc_global_set_frame_formats(nullptr, 2), 0);
        const int32_t fine[] = {0, 30};
        QCOMPARE(rsc_global_set_frame_formats(fine, 0), 0);
        QCOMPARE(rsc_global_set_frame_formats(fine, 2), 1);
    }

    void logGoesToTheDataFolder()
    {
        QCOMPARE(rsc_global_set_data_folder("/no/such/folder"), 0);
        QCOMPARE(rsc_global_set_data_folder(nullptr), 0);
        const QString dir = rstest::scratchDir("appdata");
        QCOMPARE(rsc_global_set_options(1, 0), 1);
        QCOMPARE(rsc_global_set_data_folder(dir.toUtf8().constData()), 1);
        rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_info_open_file(info, rstest::MediaFixtures::badFile("text.mp4").toUtf8().constData()), 0);
        rsc_info_release(info);
        av_log(nullptr, AV_LOG_ERROR, "routed error marker\n");
        av_log(nullptr, AV_LOG_INFO, "filtered info marker\n");
        QFile log(dir + "/codec.log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray text = log.readAll();
        QVERIFY2(text.contains("text.mp4"), text.constData());
        QVERIFY(text.contains("Invalid data found"));    // FFmpeg's error text
        QVERIFY(text.contains("routed error marker"));   // av_log reaches the file
        QVERIFY(!text.contains("filtered info marker")); // not verbose: warnings and errors only
    }

    void logIsBounded()
    {
        const QString dir = rstest::scratchDir("appdata-bounded");
        QCOMPARE(rsc_global_set_data_folder(dir.toUtf8().constData()), 1);
        const QByteArray line(200, 'x');
        for (int i = 0; i < 2 * rsc::kLogMaxBytes / 200 + 10; ++i)
            rsc::logWrite("%s", line.constData());
        QVERIFY(QFileInfo(dir + "/codec.log").size() < rsc::kLogMaxBytes);
        QVERIFY(QFileInfo::exists(dir + "/codec.log.1"));
        QVERIFY(QFileInfo(dir + "/codec.log.1").size() <= rsc::kLogMaxBytes + 1024);
        QCOMPARE(QDir(dir).entryList(QDir::Files).size(), 2);
    }

    void interruptSwitchStopsReads()
    {
        const QByteArray path = rstest::MediaFixtures::standard("h264_aac.mp4").toUtf8();
        rsc_info *info = rsc_info_create(RSC_CREATE_DEFAULT);
        QCOMPARE(rsc_global_set_interrupt(1), 0);
        QCOMPARE(rsc_info_open_file(info, path.constData()), 0);
        QCOMPARE(rsc_global_set_interrupt(0), 1);
        QCOMPARE(rsc_info_open_file(info, path.constData()), 1);
        rsc_info_release(info);
    }

    void utf8Check_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<QString>("asUtf8"); // what the library hands out
        QTest::newRow("ascii") << QByteArray("plain") << true << "plain";
        QTest::newRow("utf-8 e acute") << QByteArray("Caf\xc3\xa9") << true << QString::fromUtf8("Caf\u00e9");
        QTest::newRow("cjk and emoji") << QString::fromUtf8("\u7247\U0001F600").toUtf8() << true
                                       << QString::fromUtf8("\u7247\U0001F600");
        QTest::newRow("latin-1 e acute") << QByteArray("Caf\xe9") << false << QString::fromUtf8("Caf\u00e9");
        QTest::newRow("cut sequence") << QByteArray("a\xe7\x89") << false << QString::fromUtf8("a\u00e7\u0089");
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << false << QString::fromUtf8("\u00c0\u00af");
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << false << QString::fromUtf8("\u00ed\u00a0\u0080");
    }

    void utf8Check()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, utf8);
        QFETCH(QString, asUtf8);
        QCOMPARE(rsc::isUtf8(text.constData()), utf8);
        if (!utf8)
            QCOMPARE(QString::fromUtf8(rsc::latin1ToUtf8(text.constData()).c_str()), asUtf8);
        else
            QCOMPARE(QString::fromUtf8(text), asUtf8);
    }

    void matroskaDocType_data()
    {
        // EBML header: ID 1A45DFA3, size, then children (EBMLVersion 4286, DocType 4282, ...).
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QString>("docType");
        const QByteArray version = QByteArray::fromHex("428681 01");
        const QByteArray webm = QByteArray::fromHex("4282 84") + "webm";
        QTest::newRow("webm") << QByteArray::fromHex("1A45DFA3 8B") + version + webm << "webm";
        QTest::newRow("two-byte size, padded") << QByteArray::fromHex("1A45DFA3 4011") + version +
                                                      QByteArray::fromHex("4282 8A") + "matroska" + QByteArray(2, '\0')
                                               << "matroska";
        QTest::newRow("no DocType") << QByteArray::fromHex("1A45DFA3 84") + version << "";
        QTest::newRow("not EBML") << QByteArray("RIFF....WAVE") << "";
        QTest::newRow("DocType longer than the file") << QByteArray::fromHex("1A45DFA3 8A 4282 FF") + "web"
                                                      << "";
        QTest::newRow("truncated size") << QByteArray::fromHex("1A45DFA3 01") << "";
        QTest::newRow("empty") << QByteArray() << "";
    }

    void matroskaDocType()
    {
        QFETCH(QByteArray, head);
        QFETCH(QString, docType);
        QCOMPARE(QString::fromStdString(
                     rsc::ebmlDocType(reinterpret_cast<const uint8_t *>(head.constData()), size_t(head.size()))),
                 docType);
    }

    void scriptCanvasAsLibassReadsIt_data()
    {
        QTest::addColumn<QByteArray>("header");
        // Each row is named by its own lines, percent-encoded.
        auto row = [](const QByteArray &what, const QByteArray &header) {
            QTest::newRow(what.toPercentEncoding(" :;+-&[]").constData()) << header;
        };
        for (const char *lines :
             {// numbers that wrap, negative ones, white space and signs before them
              "PlayResY: 18446744073709551617", "PlayResX: 640\nPlayResY: 4294967295", "PlayResX: 4294968576",
              "PlayResX: 1280\nPlayResY: -720", "PlayResX: -640\nPlayResY: 480", "PlayResX: 640\nPlayResY:\f720",
              "PlayResX: 640\nPlayResY:\v720", "PlayResY:\t \t720", "PlayResY: +720", "PlayResX: 640\nPlayResY: + 720",
              // what follows the digits, and hexadecimal
              "PlayResY: 720px", "PlayResY: 1e6", "PlayResY:&h2D0", "PlayResX: 640\nPlayResY: 0x2d0",
              // a canvas named elsewhere than in its own line, keys in other cases
              "; PlayResY: 1000000\nPlayResX: 640", "Title: PlayResY: 1000000", "playresy: 720\nplayresx: 640",
              "PLAYRESY: 720", "  \tPlayResY: 720", "\fPlayResY: 720",
              // missing sides, several lines, 0
              "", "PlayResX: 1280", "PlayResX: 1000", "PlayResY: 1024", "PlayResY: 2147483647",
              "PlayResY: 720\nPlayResX: 1280\nPlayResY: 360", "PlayResX: 1280\nPlayResY: 0",
              "PlayResX: 0\nPlayResY: 0"})
            row(lines, "[Script Info]\n" + QByteArray(lines) + "\n[V4+ Styles]\n");
        // Sections, line endings, byte-order marks.
        for (const char *header : {"PlayResY: 720\n[V4+ Styles]\n", "[Script Info]\n[V4 Styles]\nPlayResY: 720\n",
                                   "[script INFO]\nPlayResY: 720\n[V4+ Styles]\n",
                                   "[Script Info]\r\nPlayResX: 1920\r\nPlayResY: 1080\r\n[V4+ Styles]\r\n",
                                   "[Script Info]\rPlayResY: 1080\r[V4+ Styles]\r",
                                   "\xEF\xBB\xBF[Script Info]\n\xEF\xBB\xBF\r\xEF\xBB\xBF"
                                   "PlayResY: 720\n \xEF\xBB\xBF"
                                   "PlayResX: 640\n[V4+ Styles]\n"})
            row(header, header);
    }

    // The canvas the subtitle checks size glyphs in is the one libass draws in.
    void scriptCanvasAsLibassReadsIt()
    {
        QFETCH(QByteArray, header);
        const QByteArray script = header + "\n[Events]\nDialogue: 0,0:00:00.00,0:00:01.00,Default,,0,0,0,,x\n";
        const QSize libass = libassCanvas(script);
        QVERIFY(libass != QSize());
        const rsc::edit::AssCanvas ours = rsc::edit::assCanvas(script.constData(), size_t(script.size()));
        QCOMPARE(QSize(ours.width, ours.height), libass);
    }

    void fontNamesKeepToTheirFields_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("a comma") << QStringLiteral("Rs Serif,FontSize=900");
        QTest::newRow("a newline") << QStringLiteral(
            "Rs Serif\n[Events]\nDialogue: 0,0:00:00.00,9:00:00.00,W,,0,0,0,,{\\fs900}WWWW");
        QTest::newRow("a carriage return")
            << QStringLiteral("Rs Serif\r[Events]\rDialogue: 0,0:00:00.00,9:00:00.00,W,,0,0,0,,WWWW");
        QTest::newRow("a brace") << QStringLiteral("Rs Serif{\\fs900}");
        QTest::newRow("a semicolon") << QStringLiteral("Rs Serif; Book");
        QTest::newRow("an equals sign") << QStringLiteral("Rs Serif=Book");
    }

    // A font name, the user's or a font file's family, stays one field of the watermark's script (one style
    // line of 23 fields, one event) and one item of the subtitles' force_style. A font file is still drawn in
    // its own font (libass knows it by its full name too); joined, the text and the subtitles show as with a
    // name of letters alone that no font has either.
    void fontNamesKeepToTheirFields()
    {
        QFETCH(QString, name);
        QFile serif(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"));
        QFile crafted(rstest::scratchDir(QStringLiteral("font-") + QTest::currentDataTag()) + QStringLiteral("/f.ttf"));
        QVERIFY(serif.open(QIODevice::ReadOnly) && crafted.open(QIODevice::WriteOnly));
        crafted.write(withNames(serif.readAll(), {{1, name}, {2, "Book"}, {4, "Rs Test Serif"}, {6, "RsTestSerif"}}));
        crafted.close();
        const std::string fontFile = crafted.fileName().toStdString();
        QCOMPARE(QString::fromStdString(rsc::edit::fontFamilyOfFile(fontFile)), name);
        const int items = QByteArray::fromStdString(rsc::edit::assForceStyle({})).count(',');
        for (const std::string &font : {name.toStdString(), std::string()}) {
            rsc::edit::TextItem text;
            rsc::edit::SubtitleStyle style;
            text.text = "WgW";
            text.fontName = style.fontName = font;
            text.fontFile = style.fontFile = font.empty() ? fontFile : std::string();
            int styles = 0, events = 0;
            for (const QByteArray &line :
                 QByteArray::fromStdString(rsc::edit::assScriptForText(text, 320, 240)).split('\n')) {
                QVERIFY(!line.contains('\r') && (!line.startsWith("Style:") || line.count(',') == 22));
                styles += line.startsWith("Style:");
                events += line.startsWith("Dialogue:");
            }
            QCOMPARE(qMakePair(styles, events), qMakePair(1, 1));
            const QByteArray forced = QByteArray::fromStdString(rsc::edit::assForceStyle(style));
            QVERIFY2(forced.count(',') == items && forced.count('=') == items + 1 && !forced.contains('\n') &&
                         !forced.contains('\r'),
                     forced.constData());
        }
        QCOMPARE(drawnText(crafted.fileName()), drawnText(serif.fileName()));
        QVERIFY(drawnText(serif.fileName()) !=
                drawnText(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")));
        static const QPair<int, int> plain = joinedText(QStringLiteral("Rs Serif"));
        const QPair<int, int> joined = joinedText(name);
        QVERIFY2(plain.first > 300 && plain.second > 300 && qAbs(joined.first - plain.first) < plain.first / 10 &&
                     qAbs(joined.second - plain.second) < plain.second / 10,
                 qPrintable(QStringLiteral("%1 %2, %3 %4")
                                .arg(joined.first)
                                .arg(joined.second)
                                .arg(plain.first)
                                .arg(plain.second)));
    }

    void clipsStatingTheImpossible_data()
    {
        QTest::addColumn<QString>("clip"); // 2 s of picture and sound
        const QString twoSeconds = QStringLiteral("-f lavfi -i testsrc=s=160x120:r=25:d=2 -f lavfi -i sine=d=2 "
                                                  "-c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac ");
        // mkvmerge's track length counts from the track's start (10 s here): 2^63 - 1 microseconds after it.
        QTest::newRow("a track length beyond any time") << rstest::MediaFixtures::makeByCommand(
            QStringLiteral("internals_endless_track.mkv"),
            QStringLiteral("ffmpeg -loglevel error %1 -output_ts_offset 10 in.mkv && printf '%2' > tags.xml && "
                           "mkvmerge -q --no-global-tags --disable-track-statistics-tags --tags 0:tags.xml "
                           "-o \"$OUT\" in.mkv")
                .arg(twoSeconds,
                     QStringLiteral("<?xml version=\"1.0\"?><Tags><Tag><Targets/><Simple><Name>DURATION</Name>"
                                    "<String>9223372036854.775807</String></Simple><Simple>"
                                    "<Name>_STATISTICS_TAGS</Name><String>DURATION</String></Simple></Tag>"
                                    "</Tags>")));
        QTest::newRow("colour codes of 255") << rstest::MediaFixtures::make(
            {QStringLiteral("internals_colour_255.mp4"),
             (twoSeconds + QStringLiteral("-bsf:v h264_metadata=colour_primaries=255:"
                                          "transfer_characteristics=255:matrix_coefficients=255"))
                 .split(QLatin1Char(' '))});
    }

    // Such a clip is read for both kinds of join as what it holds: its length, and the colour the picture's
    // decoder states, whether a copy opens it from its headers or probes it in full; joined, it is 2 s long.
    void clipsStatingTheImpossible()
    {
        QFETCH(QString, clip);
        const std::string path = clip.toStdString();
        for (const auto purpose : {rsc::job::InputClip::Purpose::Copy, rsc::job::InputClip::Purpose::Decode}) {
            rsc::job::InputClip input;
            std::string error;
            QVERIFY2(input.open(path, 0, 0, &error, purpose), error.c_str());
            QVERIFY2(qAbs(input.durationUs() - 2000000) < 100000, qPrintable(QString::number(input.durationUs())));
            const int64_t stated = input.statedEndUs(true, true);
            QVERIFY2(stated == 0 || qAbs(stated - 2000000) < 100000, qPrintable(QString::number(stated)));
        }
        rsc::job::InputClip fromHeader, probed;
        QVERIFY(fromHeader.open(path, 0, 0, nullptr, rsc::job::InputClip::Purpose::Copy));
        QVERIFY(fromHeader.openedFromHeader());
        rsc::job::InputClip::allowOpeningFromHeader(false);
        const bool opened = probed.open(path, 0, 0, nullptr, rsc::job::InputClip::Purpose::Copy);
        rsc::job::InputClip::allowOpeningFromHeader(true);
        QVERIFY(opened);
        const AVCodecParameters *a = fromHeader.videoStream()->codecpar, *b = probed.videoStream()->codecpar;
        QCOMPARE(int(a->color_primaries), int(b->color_primaries));
        QCOMPARE(int(a->color_trc), int(b->color_trc));
        QCOMPARE(int(a->color_space), int(b->color_space));
        QCOMPARE(int(a->chroma_location), int(b->chroma_location));

        for (const bool lossless : {true, false}) {
            const QString out = rstest::scratchDir(QStringLiteral("impossible")) +
                                QStringLiteral("/%1-%2.mkv").arg(QTest::currentDataTag()).arg(lossless);
            rsc_job *job =
                lossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
            QCOMPARE(rsc_job_open_output(job, out.toUtf8().constData(), "matroska", nullptr), 1);
            QCOMPARE(rsc_job_start(job), 1);
            QCOMPARE(rsc_job_add_task(job, clip.toUtf8().constData(), 0, 0, nullptr), 1);
            QTRY_VERIFY_WITH_TIMEOUT(rsc_job_wait(job, 50) == 1, 6 * rstest::kHangBoundMs);
            const QString why = QString::fromUtf8(rsc_job_error(job));
            const bool failed = rsc_job_is_failed(job) || rsc_job_close(job) != 1;
            rsc_job_release(job);
            QVERIFY2(!failed, qPrintable(why));
            QVERIFY2(qAbs(rstest::FFprobe::durationSeconds(out) - 2.0) < 0.15,
                     qPrintable(QString::number(rstest::FFprobe::durationSeconds(out))));
        }
    }
};

RS_TEST_MAIN(TestInfoInternals)
#include "tst_info_internals.moc"
