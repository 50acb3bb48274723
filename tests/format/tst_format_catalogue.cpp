// Catalogues edited by hand: a profile without its audio keys, an encoder name the vocabulary does not
// know, a profile without title or extension, a category listed without profiles. The chooser, the panel
// and the rebuild must keep working on them, and the record must say what the catalogue asked for.

#include "FormatItem.h"
#include "FormatItemWidget.h"
#include "FormatTestKit.h"
#include "FormatWidget.h"
#include "QCheckButton.h"
#include "QCustomComboBox.h"
#include "QIAnyUtil.h"
#include "QSettingDlg.h"
#include "QTextImageButton.h"
#include "QVideoSettingXml.h"
#include "SettingKeys.h"
#include "TestSupport.h"

#include <QAction>
#include <QDir>
#include <QSignalSpy>

namespace {

QString dict(const QStringList &keysAndValues)
{
    QString s = QStringLiteral("<dict>");
    for (int i = 0; i + 1 < keysAndValues.size(); i += 2) {
        const QString &v = keysAndValues[i + 1];
        s += QStringLiteral("<key>%1</key>").arg(keysAndValues[i]);
        s += v.startsWith(QLatin1Char('<')) ? v : QStringLiteral("<string>%1</string>").arg(v);
    }
    return s + QStringLiteral("</dict>");
}

QString videoPart(const QString &fourcc)
{
    return QStringLiteral("<key>videoencoders</key>") + dict({"supports", fourcc, "default", fourcc}) +
           QStringLiteral("<key>resolution</key>") + dict({"default", "320*240"}) +
           QStringLiteral("<key>videoparams</key><array>") +
           dict({"fourcc", fourcc, "resolution", "320*240", "framerate", dict({"supports", "25,30", "default", "25"}),
                 "videobitrate", dict({"supports", "500,800", "default", "500", "low", "500", "high", "800"})}) +
           QStringLiteral("</array>");
}

QString audioPart(const QString &fourcc)
{
    return QStringLiteral("<key>audioencoders</key>") + dict({"supports", fourcc, "default", fourcc}) +
           QStringLiteral("<key>channels</key>") + dict({"default", "2"}) +
           QStringLiteral("<key>audioparams</key><array>") +
           dict({"fourcc", fourcc, "channel", "2", "samplerate", dict({"supports", "44100", "default", "44100"}),
                 "audiobitrate", dict({"supports", "128", "default", "128", "low", "128", "high", "128"})}) +
           QStringLiteral("</array>");
}

QString profile(const QStringList &base, const QString &body)
{
    return QStringLiteral("<dict><key>baseinfo</key>") + dict(base) + body + QStringLiteral("</dict>");
}

QString catalogue()
{
    const QString devices =
        profile({"title", "Phone", "id", "1136", "ext", "mp4", "icon", "phone", "auto", "0"}, videoPart("H264")) +
        profile({"title", "Odd Codec", "id", "1137", "ext", "mkv", "icon", "nosuchicon", "auto", "0"},
                videoPart("XYZ9") + audioPart("AAC"));
    const QString broken = profile({"id", "5000", "icon", "film"}, audioPart("MP3"));
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                          "<key>Categories</key><array><string>Devices</string><string>Broken</string>"
                          "<string>Empty</string></array>"
                          "<key>Devices</key><array>%1</array><key>Broken</key><array>%2</array>"
                          "<key>Codecs</key><dict><key>H264</key><string>H.264</string></dict></dict></plist>")
        .arg(devices, broken);
}

} // namespace

class TestFormatCatalogue : public QObject
{
    Q_OBJECT
private:
    FormatWidget *m_chooser = nullptr;
    QWidget m_host;

    void choose(const QString &category, const QString &id)
    {
        QTextImageButton *button = ftk::categoryButton(m_chooser->typeButtons(), category);
        QVERIFY(button);
        ftk::click(button);
        FormatItem *tile = ftk::tile(m_chooser->m_formatItemDlg, id);
        QVERIFY2(tile, qPrintable(id));
        ftk::click(tile, QPoint(20, 20));
    }

private slots:
    void initTestCase()
    {
        const QString contents = rstest::scratchDir(QStringLiteral("bundle")) + QStringLiteral("/Contents");
        QVERIFY(QDir().mkpath(contents + "/Resources/profile"));
        for (const char *name :
             {"/Resources/profile/profiles_mac.plist", "/Resources/profile/profiles_mac_Lossless.plist"}) {
            QFile f(contents + QLatin1String(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(catalogue().toUtf8());
        }
        QIAnyUtil::setApplicationDirPathForTesting(contents);
        QFile::remove(QVideoSettingXml::settingsFilePath());
        m_chooser = FormatWidget::getFormatWidget(&m_host);
        QStringList names;
        for (QTextImageButton *b : m_chooser->typeButtons())
            names << b->getBtnText();
        QCOMPARE(names, QStringList({"Devices", "Broken", "Empty"}));
    }

    void everyTileChoosesAndConfirms()
    {
        ftk::restoreChooser(m_chooser);
        m_chooser->show();
        QSignalSpy titles(m_chooser, &FormatWidget::sendDevFormatChange);
        // A category listed without profiles leaves the grid empty.
        ftk::click(ftk::categoryButton(m_chooser->typeButtons(), QStringLiteral("Empty")));
        QVERIFY(m_chooser->m_formatItemDlg->items().isEmpty());
        QCOMPARE(m_chooser->m_formatItemDlg->getSelItemIcon(), QString());

        // A profile without audio keys: empty audio lists, the record still built.
        choose(QStringLiteral("Devices"), QStringLiteral("1136"));
        QCOMPARE(m_chooser->m_settingDlg->m_cmbAEncoder->count(), 0);
        m_chooser->OnShowSettingDlg(true);
        ftk::settle();
        ftk::click(m_chooser->m_btnOk);
        const AttributeSetting &r = QSettingDlgState::attributeSetting();
        QCOMPARE(r.VEncoder, QStringLiteral("H264"));
        QCOMPARE(r.AEncoder, QString());
        QCOMPARE(r.ACodecsId, -1);
        QCOMPARE(r.ASampleRate, 0);

        // An encoder name the vocabulary does not know reaches the record with id 0 (the merge refuses it);
        // its missing icon leaves the tile without a picture.
        m_chooser->show();
        choose(QStringLiteral("Devices"), QStringLiteral("1137"));
        QVERIFY(!ftk::tile(m_chooser->m_formatItemDlg, QStringLiteral("1137"))->hasIcon());
        QCOMPARE(m_chooser->m_settingDlg->m_cmbVEncoder->currentText(), QStringLiteral("XYZ9"));
        m_chooser->m_cmbQuality->actions().at(1)->trigger();
        ftk::click(m_chooser->m_btnOk);
        QCOMPARE(r.VEncoder, QStringLiteral("XYZ9"));
        QCOMPARE(r.VCodecsId, 0);
        QCOMPARE(r.fileFormat, QStringLiteral("matroska"));

        // No title and no extension: an empty title announced, empty container and extension.
        m_chooser->show();
        choose(QStringLiteral("Broken"), QStringLiteral("5000"));
        ftk::click(m_chooser->m_btnOk);
        QCOMPARE(titles.last().first().toString(), QString());
        QCOMPARE(r.fileExtend, QString());
        QCOMPARE(r.fileFormat, QString());
        QVERIFY(r.bOnlyAudio);
        QCOMPARE(r.AEncoder, QStringLiteral("MP3"));

        // The high-speed mode over the same catalogue, and a stored choice the catalogue lacks.
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::FormatIdLossless, QStringLiteral("9999")));
        m_chooser->show();
        ftk::click(m_chooser->m_radLosslessMode, QPoint(5, 8));
        QVERIFY(QSettingDlgState::attributeSetting().bLossless);
        ftk::click(m_chooser->m_btnOk);
        QCOMPARE(r.fileFormat, QString());
        m_chooser->show(); // OK closed the chooser: reopened to go back to the encoding mode
        ftk::click(m_chooser->m_radCustomize, QPoint(5, 8));
    }
};

RS_TEST_MAIN(TestFormatCatalogue)
#include "tst_format_catalogue.moc"
