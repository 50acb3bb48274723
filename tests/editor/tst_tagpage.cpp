// The Tag page, driven with real key clicks and mouse clicks on its controls over an edit model.
#include "EditorFileDialog.h"
#include "EditorTestKit.h"
#include "QAudioTagForm.h"
#include "QIAnyUtil.h"
#include "QVideoEditingSettings.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QFile>
#include <QPainter>
#include <QTextEdit>

namespace {

VEAudioTagInfo sampleTags()
{
    VEAudioTagInfo t;
    t.title = "Night Drive";
    t.artist = "The Joiners";
    t.album = "Reels";
    t.albumArtist = "Various";
    t.date = "2019-05-01";
    t.genre = "Synthwave";
    t.comment = "<b>not markup</b> & more";
    t.disc = "/12";
    t.track = "3\\12";
    return t;
}

QString writePicture(const QString &name, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(200, 80, 40));
    QPainter(&image).fillRect(0, 0, size.width() / 2, size.height(), QColor(40, 90, 200));
    const QString path = rstest::scratchDir(QStringLiteral("covers")) + QLatin1Char('/') + name;
    image.save(path);
    return path;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestTagPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }
    void cleanup() { EditorFileDialog::setOpenFileForTesting(nullptr); }

    void splitAndBuild_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("rebuilt");
        QTest::newRow("number and total") << "3/12"
                                          << "3"
                                          << "12"
                                          << "3/12";
        QTest::newRow("number only") << "3"
                                     << "3"
                                     << "0"
                                     << "3";
        QTest::newRow("empty") << ""
                               << "0"
                               << "0"
                               << "";
        QTest::newRow("total only") << "/12"
                                    << "0"
                                    << "12"
                                    << "";
        QTest::newRow("backslash") << "3\\12"
                                   << "3"
                                   << "12"
                                   << "3/12";
        QTest::newRow("two slashes") << "1/2/3"
                                     << "1"
                                     << "2/3"
                                     << "1";
        QTest::newRow("letters") << "A/B"
                                 << "A"
                                 << "B"
                                 << "";
        QTest::newRow("leading zeros") << "007/012"
                                       << "007"
                                       << "012"
                                       << "7/12";
    }

    void splitAndBuild()
    {
        QFETCH(QString, value);
        QString number = QStringLiteral("0"), total = QStringLiteral("0");
        QAudioTagForm::analysisTrackValue(value, number, total);
        QTEST(number, "number");
        QTEST(total, "total");
        QTEST(QAudioTagForm::getDiscAndTrackStr(number, total), "rebuilt");
    }

    // Showing the page shows the record and leaves it exactly as it was (it used to be rewritten in the
    // page's own form: "/12" lost, markup converted, the year copied from the date).
    void loadingShowsWithoutRewriting()
    {
        QVideoEditingSettings model;
        VEAudioTagInfo tags = sampleTags();
        model.setAudioTagInfo(tags);
        QAudioTagForm page;
        page.setEditSettings(&model);
        page.resize(702, 545);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QCOMPARE(page.m_editTitle->text(), QStringLiteral("Night Drive"));
        QCOMPARE(page.m_editDisc1->text(), QStringLiteral("0"));
        QCOMPARE(page.m_editDisc2->text(), QStringLiteral("12"));
        QCOMPARE(page.m_editTrack1->text(), QStringLiteral("3"));
        QCOMPARE(page.m_editYear->text(), QStringLiteral("2019"));
        QCOMPARE(page.m_editGenre->currentText(), QStringLiteral("Synthwave"));
        QCOMPARE(page.m_editComments->textEdit()->toPlainText(), QStringLiteral("<b>not markup</b> & more"));
        VEAudioTagInfo after;
        model.getAudioTagInfo(after);
        QVERIFY(after == tags);
        QVERIFY(!page.audioTagInfoChange());

        // Now the user edits: each edit stores its field at once, in the page's form.
        etk::typeInto(page.m_editDisc1, QStringLiteral("007"));
        model.getAudioTagInfo(after);
        QCOMPARE(after.disc, QByteArray("7/12"));
        etk::typeInto(page.m_editTitle, QStringLiteral("Day Ride"));
        rstest::clickAt(page.m_editComments->textEdit());
        rstest::keyClick(page.m_editComments, Qt::Key_End, Qt::ControlModifier);
        rstest::typeText(page.m_editComments, QStringLiteral("!"));
        page.m_editGenre->setCurrentIndex(page.m_editGenre->findText(QStringLiteral("Hip Hop/Rap")));
        model.getAudioTagInfo(after);
        QCOMPARE(after.title, QByteArray("Day Ride"));
        QVERIFY(after.comment.endsWith("!"));
        QVERIFY(after.comment.contains("<b>not markup</b>"));
        QCOMPARE(after.genre, QByteArray("Hip Hop/Rap"));
        QCOMPARE(after.albumArtist, QByteArray("Various")); // fields without a control pass through
        QCOMPARE(after.date, QByteArray("2019-05-01"));
        QVERIFY(page.audioTagInfoChange());
        etk::typeInto(page.m_editDisc1, QString());
        rstest::keyClick(page.m_editDisc1, Qt::Key_Backspace);
        model.getAudioTagInfo(after);
        QCOMPARE(after.disc, QByteArray()); // no number: nothing, whatever the total says
    }

    void coverPicture()
    {
        QVideoEditingSettings model;
        VEAudioTagInfo sample = sampleTags();
        model.setAudioTagInfo(sample);
        QAudioTagForm page;
        page.setEditSettings(&model);
        page.resize(702, 545);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(!page.m_btnDelete->isVisible());
        const QString wide = writePicture(QStringLiteral("wide.png"), QSize(400, 200));
        QString askedIn, filter;
        EditorFileDialog::setOpenFileForTesting([&](QWidget *, const QString &, const QString &dir, const QString &f) {
            askedIn = dir;
            filter = f;
            return wide;
        });
        rstest::clickAt(page.m_btnTagImg);
        QVERIFY(filter.contains(QLatin1String("*.jpg")) && filter.contains(QLatin1String("*.JPG")));
        VEAudioTagInfo tags;
        model.getAudioTagInfo(tags);
        QCOMPARE(tags.coverImage, fileBytes(wide));
        QCOMPARE(int(tags.coverSize), tags.coverImage.size());
        QVERIFY(page.m_btnDelete->isVisible());
        QCOMPARE(page.getThumbnailPath(), wide);
        QCOMPARE(QAudioTagForm::g_path, QFileInfo(wide).absolutePath());
        // The picture is fitted into the button: 125 wide, 62 high, centred.
        const QImage shown = page.m_btnTagImg->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const qreal dpr = shown.devicePixelRatio();
        QCOMPARE(QColor(shown.pixel(int(20 * dpr), int(62 * dpr))), QColor(40, 90, 200));
        etk::saveGallery(&page, QStringLiteral("QAudioTagForm"));

        // A file that cannot be read, or is larger than 16 MiB, changes nothing.
        const QString big = rstest::scratchDir(QStringLiteral("big")) + QStringLiteral("/big.png");
        {
            QFile f(big);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(QAudioTagForm::kMaxCoverBytes + 1));
        }
        for (const QString &refused : {big, rstest::scratchDir(QStringLiteral("a folder"))}) {
            EditorFileDialog::setOpenFileForTesting(
                [&](QWidget *, const QString &, const QString &, const QString &) { return refused; });
            rstest::clickAt(page.m_btnTagImg);
            model.getAudioTagInfo(tags);
            QCOMPARE(tags.coverImage, fileBytes(wide));
            QCOMPARE(page.getThumbnailPath(), wide);
        }

        rstest::clickAt(page.m_btnDelete);
        model.getAudioTagInfo(tags);
        QVERIFY(tags.coverImage.isEmpty());
        QCOMPARE(tags.coverSize, 0u);
        QVERIFY(!page.m_btnDelete->isVisible());
        QVERIFY(page.getThumbnailPath().isEmpty());
    }

    void secondShowDoesNotReload()
    {
        QVideoEditingSettings model;
        QAudioTagForm page;
        page.setEditSettings(&model);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.hide();
        VEAudioTagInfo tags = sampleTags();
        model.setAudioTagInfo(tags);
        page.show();
        QVERIFY(page.m_editTitle->text().isEmpty());
    }
};

RS_TEST_MAIN(TestTagPage)
#include "tst_tagpage.moc"
