#include "MD5.h"
#include "TestSupport.h"
#include "ZTAVCodecAnalysis.h"

#include <sstream>

class TestVocabulary : public QObject
{
    Q_OBJECT
private slots:
    void codecIds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("id");
        QTest::newRow("H264") << "H264" << 28u;
        QTest::newRow("lower-case h264 is unknown") << "h264" << 0u;
        QTest::newRow("H265 fourcc") << "H265" << 0x48323635u;
        QTest::newRow("Xvid fourcc") << "Xvid" << 0x44495658u;
        QTest::newRow("DIVX") << "DIVX" << 0x30355844u;
        QTest::newRow("AAC") << "AAC" << 86018u;
        QTest::newRow("OGG and VBIS share") << "VBIS" << 86021u;
        QTest::newRow("OGG") << "OGG" << 86021u;
        QTest::newRow("mp1v as mpg1") << "mp1v" << 1u;
        QTest::newRow("mp2v as HMP2") << "mp2v" << 2u;
        QTest::newRow("APE as PCM") << "APE" << 65536u;
        QTest::newRow("DV50 as DV60") << "DV50" << 25u;
        QTest::newRow("last row OGV") << "OGV" << 31u;
        QTest::newRow("alac") << "alac" << 86032u;
        QTest::newRow("vc-1") << "vc-1" << 71u;
        QTest::newRow("empty") << "" << 0u;
        QTest::newRow("padded name") << "AAC " << 0u;
    }
    void codecIds()
    {
        QFETCH(QString, name);
        QFETCH(uint, id);
        QCOMPARE(ZTAVCodecAnalysis::codecIDOfFourcc(name.toStdString()), id);
    }

    void containers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::newRow("mkv") << "mkv"
                             << "matroska";
        QTest::newRow("upper-case MKV unchanged") << "MKV"
                                                  << "MKV";
        QTest::newRow("wmv") << "wmv"
                             << "asf";
        QTest::newRow("ts") << "ts"
                            << "mpegts";
        QTest::newRow("trp") << "trp"
                             << "mpegts";
        QTest::newRow("WebM") << "WebM"
                              << "webm";
        QTest::newRow("aac") << "aac"
                             << "adts";
        QTest::newRow("alac") << "alac"
                              << "mov";
        QTest::newRow("unknown passes") << "mp4"
                                        << "mp4";
    }
    void containers()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QCOMPARE(QString::fromStdString(ZTAVCodecAnalysis::formatOfFourCC(name.toStdString())), container);
    }

    void frameRates_data()
    {
        QTest::addColumn<double>("fps");
        QTest::addColumn<uint>("num");
        QTest::addColumn<uint>("den");
        QTest::newRow("23.976") << 23.976 << 24000u << 1001u;
        QTest::newRow("23.99 upper bound strict") << 23.99 << 24u << 1u;
        QTest::newRow("23.5 lower bound strict") << 23.5 << 23u << 1u;
        QTest::newRow("25") << 25.0 << 25u << 1u;
        QTest::newRow("29.97") << 29.97 << 30000u << 1001u;
        QTest::newRow("59.94") << 59.94 << 60000u << 1001u;
        QTest::newRow("24.995") << 24.995 << 25u << 1u;
        QTest::newRow("zero") << 0.0 << 0u << 1u;
        QTest::newRow("negative does not wrap") << -5.0 << 0u << 1u;
    }
    void frameRates()
    {
        QFETCH(double, fps);
        QFETCH(uint, num);
        QFETCH(uint, den);
        unsigned int n = 99, d = 99;
        ZTAVCodecAnalysis::GetVideoFrameRate(fps, n, d);
        QCOMPARE(n, num);
        QCOMPARE(d, den);
    }

    void originalContainer_data()
    {
        QTest::addColumn<QString>("demuxers");
        QTest::addColumn<QString>("brand");
        QTest::addColumn<QString>("container");
        const QString mov = "mov,mp4,m4a,3gp,3g2,mj2";
        QTest::newRow("mov family, no brand") << mov << ""
                                              << "mp4";
        QTest::newRow("isom") << mov << "isom"
                              << "mp4";
        QTest::newRow("quicktime") << mov << "qt  "
                                   << "mov";
        QTest::newRow("quicktime without blanks") << mov << "qt"
                                                  << "mp4";
        QTest::newRow("f4v") << mov << "f4v "
                             << "f4v";
        QTest::newRow("3gp4") << mov << "3gp4"
                              << "3gp";
        QTest::newRow("3g2a") << mov << "3g2a"
                              << "3g2";
        QTest::newRow("matroska") << "matroska,webm"
                                  << "matroska"
                                  << "matroska";
        QTest::newRow("webm") << "matroska,webm"
                              << "webm"
                              << "webm";
        QTest::newRow("matroska family, no brand") << "matroska,webm"
                                                   << ""
                                                   << "mp4";
        QTest::newRow("avi") << "avi"
                             << "isom"
                             << "avi";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }
    void originalContainer()
    {
        QFETCH(QString, demuxers);
        QFETCH(QString, brand);
        QFETCH(QString, container);
        QCOMPARE(
            QString::fromStdString(ZTAVCodecAnalysis::formatForFormatName(demuxers.toStdString(), brand.toStdString())),
            container);
    }

    void audioContainers_data()
    {
        QTest::addColumn<uint>("id");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QString>("extension");
        QTest::newRow("mp3") << 86017u << "mp3"
                             << "mp3";
        QTest::newRow("aac") << 86018u << "mp4"
                             << "m4a";
        QTest::newRow("wma") << 86058u << "asf"
                             << "asf";
        QTest::newRow("other") << 7u << "mp3"
                               << "mp3";
    }
    void audioContainers()
    {
        QFETCH(uint, id);
        QFETCH(QString, container);
        QFETCH(QString, extension);
        std::string ext;
        QCOMPARE(QString::fromStdString(ZTAVCodecAnalysis::formatOfCodecID(id, ext)), container);
        QCOMPARE(QString::fromStdString(ext), extension);
    }

    void md5Vectors_data()
    {
        // RFC 1321, appendix A.5.
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("digest");
        QTest::newRow("empty") << QByteArray("") << "d41d8cd98f00b204e9800998ecf8427e";
        QTest::newRow("a") << QByteArray("a") << "0cc175b9c0f1b6a831c399e269772661";
        QTest::newRow("abc") << QByteArray("abc") << "900150983cd24fb0d6963f7d28e17f72";
        QTest::newRow("message digest") << QByteArray("message digest") << "f96b697d7cb7938d525a2f31aaf161d0";
        QTest::newRow("alphabet") << QByteArray("abcdefghijklmnopqrstuvwxyz") << "c3fcd3d76192e4007dfb496cca67e13b";
        QTest::newRow("alphanumeric") << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
                                      << "d174ab98d277d9f5a5611c2c9f419d9f";
        QTest::newRow("eighty digits")
            << QByteArray("12345678901234567890123456789012345678901234567890123456789012345678901234567890")
            << "57edf4a22be3c955ac49da2e2107b67a";
    }
    void md5Vectors()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, digest);
        QCOMPARE(QString::fromStdString(MD5(text.toStdString()).hexdigest()), digest);

        // Any split into update calls gives the same digest, across block boundaries too.
        for (int step : {1, 3, 63, 64, 65}) {
            MD5 md5;
            for (int i = 0; i < text.size(); i += step)
                md5.update(text.constData() + i, unsigned(qMin(step, text.size() - i)));
            QCOMPARE(QString::fromStdString(md5.finalize().md5()), digest);
        }
    }
    void md5AgreesWithQtOnLongInput()
    {
        QByteArray data;
        for (int i = 0; i < 100000; ++i)
            data.append(char(i * 7 + (i >> 8)));
        MD5 md5;
        md5.update(data.constData(), 1000);
        md5.update(data.constData() + 1000, unsigned(data.size() - 1000));
        md5.finalize();
        QCOMPARE(QByteArray::fromStdString(md5.hexdigest()),
                 QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex());
    }
    void md5States()
    {
        MD5 md5;
        md5.update("abc", 3);
        QCOMPARE(md5.hexdigest(), std::string());
        md5.finalize();
        const std::string first = md5.hexdigest();
        md5.finalize();
        QCOMPARE(md5.hexdigest(), first);
        std::ostringstream out;
        out << md5;
        QCOMPARE(out.str(), first);
        md5.init();
        QCOMPARE(md5.hexdigest(), std::string());
    }
};

RS_TEST_MAIN(TestVocabulary)
#include "tst_vocabulary.moc"
