// The Subtitle page on a real preview: choosing a subtitle file and its position, margin, transparency and
// scale change the record, and the preview draws the subtitle where the page says.
#include "EditorFileDialog.h"
#include "EditorTestKit.h"
#include "QIAnyUtil.h"
#include "QSubtitleOperationForm.h"
#include "QVideoEditingSettings.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

namespace {

QString writeSubtitle(const QString &name, const QString &folder = QStringLiteral("subs"))
{
    const QString path = rstest::scratchDir(folder) + QLatin1Char('/') + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write("1\n00:00:00,000 --> 00:00:10,000\nWWWW MMMM WWWW\n\n");
    return path;
}

// Rows of the picture that hold bright (subtitle) pixels, as a fraction of the picture's height.
double brightRowCentre(const QImage &image)
{
    double sum = 0;
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        int bright = 0;
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) > 160)
                ++bright;
        if (bright > 2) {
            sum += y;
            ++rows;
        }
    }
    return rows ? sum / rows / image.height() : -1;
}

QString oldSubtitle()
{
    return writeSubtitle(QStringLiteral("old.srt"), QStringLiteral("subs_old"));
}

VEEditConfig withOwnStreams(int streams)
{
    VEEditConfig c;
    c.subtitleItems << VESubltItemInfo{"No Subtitle", ""};
    for (int i = 0; i < streams; ++i)
        c.subtitleItems << VESubltItemInfo{QByteArray("Stream ") + QByteArray::number(i), ""};
    c.subtitleItems << VESubltItemInfo{"Video Internal CC", ""};
    // A file the preview can read: one it refuses is not kept as the choice.
    c.subtitleItems << VESubltItemInfo{"(old)[SRT]", oldSubtitle().toUtf8()};
    c.subtitleValue.subtitleCount = streams;
    return c;
}

} // namespace

class TestSubtitlePage : public QObject
{
    Q_OBJECT
private:
    struct Page : etk::PageRig<QSubtitleOperationForm>
    {
        explicit Page(const VEEditConfig &config, const QString &clip = etk::darkClip())
            : PageRig(clip, config, QSize(968, 233))
        {}
        VESubtitleSettings style() { return record(&QVideoEditingSettings::getSubtitleSettings); }
        VESubtitleValue_Info info() { return record(&QVideoEditingSettings::getSubtitleInfo); }
    };

private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }
    void cleanup() { EditorFileDialog::setOpenFileForTesting(nullptr); }

    void entryKinds_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("kind");
        QTest::newRow("no subtitle") << 0 << -1;
        QTest::newRow("first own stream") << 1 << 0;
        QTest::newRow("second own stream") << 2 << 1;
        QTest::newRow("closed captions") << 3 << -2;
        QTest::newRow("a file") << 4 << -3;
    }

    void entryKinds()
    {
        QFETCH(int, entry);
        Page p(withOwnStreams(2));
        QVERIFY(p.exposed);
        p.page.m_cbbSubtitleList->setCurrentIndex(entry == 0 ? 1 : 0);
        p.page.m_cbbSubtitleList->setCurrentIndex(entry);
        QCOMPARE(p.info().subtitleRow, entry);
        QTEST(p.info().subtitleIndex, "kind");
        QCOMPARE(p.info().subtitleFile, entry == 4 ? oldSubtitle().toUtf8() : QByteArray());
    }

    // A chosen file is added, chosen and drawn by the preview; the position buttons move it.
    void subtitleFileShowsWhereChosen()
    {
        Page p(withOwnStreams(0));
        const QString srt = writeSubtitle(QStringLiteral("movie.en.srt"));
        QString dir, filter;
        EditorFileDialog::setOpenFileForTesting([&](QWidget *, const QString &, const QString &d, const QString &f) {
            dir = d;
            filter = f;
            return srt;
        });
        QSignalSpy added(&p.page, &QSubtitleOperationForm::emitAddSubtitleToCmb);
        const QImage none = p.preview.grab(0.5);
        rstest::clickAt(p.page.m_btnSetFamily);
        QCOMPARE(dir, QDir::homePath());
        QVERIFY(filter.contains(QLatin1String("*.vtt")) && filter.contains(QLatin1String("*.srt")) &&
                filter.contains(QLatin1String("*.SRT")));
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.first().at(0).toString(), QStringLiteral("(movie.en)[SRT]"));
        QCOMPARE(p.page.m_cbbSubtitleList->currentText(), QStringLiteral("(movie.en)[SRT]"));
        QCOMPARE(p.info().subtitleIndex, -3);
        QCOMPARE(p.info().subtitleFile, srt.toUtf8());
        QList<VESubltItemInfo> items;
        p.preview.model->getSubltItemInfoList(items);
        QCOMPARE(items.size(), 4);

        const QImage bottom = p.preview.grab(0.5);
        QCOMPARE(brightRowCentre(none), -1.0);
        const double atBottom = brightRowCentre(bottom);
        QVERIFY2(atBottom > 0.7, qPrintable(QString::number(atBottom)));
        rstest::clickAt(p.page.m_rbtnTop, QPoint(8, 11));
        QCOMPARE(p.style().align, 16u);
        const double atTop = brightRowCentre(p.preview.grab(0.5));
        QVERIFY2(atTop > 0 && atTop < 0.3, qPrintable(QString::number(atTop)));
        etk::saveGallery(&p.page, QStringLiteral("QSubtitleOperationForm"));

        // The same file again only selects its entry.
        p.page.m_cbbSubtitleList->setCurrentIndex(0);
        rstest::clickAt(p.page.m_btnSetFamily);
        QCOMPARE(added.count(), 1);
        QCOMPARE(p.page.m_cbbSubtitleList->currentIndex(), 3);

        // Transparency shows: a half-transparent subtitle is darker.
        etk::typeInto(p.page.m_leAlphaValue, QStringLiteral("50"));
        QCOMPARE(p.style().alpha, 127u);
    }

    void numberFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("stored");
        QTest::newRow("alpha full") << "alpha"
                                    << "100"
                                    << "100" << 255;
        QTest::newRow("alpha half") << "alpha"
                                    << "50"
                                    << "50" << 127;
        QTest::newRow("alpha over") << "alpha"
                                    << "250"
                                    << "100" << 255;
        QTest::newRow("scale small") << "scale"
                                     << "1"
                                     << "25" << 25;
        QTest::newRow("scale big") << "scale"
                                   << "400"
                                   << "400" << 400;
        QTest::newRow("scale over") << "scale"
                                    << "999"
                                    << "400" << 400;
        QTest::newRow("margin") << "margin"
                                << "20"
                                << "20" << 20;
    }

    void numberFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        Page p(withOwnStreams(0));
        QZTLineEdit *e = field == "alpha"   ? p.page.m_leAlphaValue
                         : field == "scale" ? p.page.m_leScaleValue
                                            : p.page.m_lePositionValue;
        etk::typeInto(e, typed);
        QTEST(e->text(), "shown");
        const VESubtitleSettings s = p.style();
        const int stored = field == "alpha" ? int(s.alpha) : field == "scale" ? int(s.scaleX) : qRound(s.marginV * 100);
        QTEST(stored, "stored");
        if (field == "scale")
            QCOMPARE(s.scaleY, s.scaleX);
    }

    void scaleSlider_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<double>("scale");
        QTest::newRow("left end") << 0.0 << 25.0;
        QTest::newRow("quarter") << 0.25 << 50.0;
        QTest::newRow("middle band low") << 0.495 << 100.0;
        QTest::newRow("middle band high") << 0.505 << 100.0;
        QTest::newRow("three quarters") << 0.75 << 200.0;
        QTest::newRow("right end") << 1.0 << 400.0;
    }

    void scaleSlider()
    {
        QFETCH(double, position);
        QFETCH(double, scale);
        QVERIFY(qAbs(QSubtitleOperationForm::scaleOfPosition(position) - scale) < 0.01);
    }

    // A stored scale of 0 shows as 100 (no logarithm of 0); reset empties nothing into the record.
    void zeroScaleAndReset()
    {
        VEEditConfig config = withOwnStreams(1);
        config.subtitle.scaleX = 0;
        config.subtitle.align = 32;
        config.subtitleValue.subtitleRow = 3;
        config.subtitleValue.subtitleIndex = -3;
        config.subtitleValue.audioIndex = 0;
        Page p(config);
        QCOMPARE(p.page.m_leScaleValue->text(), QStringLiteral("100"));
        QVERIFY(p.page.m_rbtnMiddle->isChecked());
        QCOMPARE(p.style().scaleX, 0u); // showing stores nothing
        QCOMPARE(p.page.m_cbbSubtitleList->currentIndex(), 3);
        for (int i = 0; i < 2; ++i) {
            rstest::clickAt(p.page.m_buttonFrom->m_btnReset);
            QCOMPARE(p.info().subtitleRow, 0);
            QCOMPARE(p.info().subtitleIndex, -1); // not -2 from an emptied list
            QVERIFY(p.info().subtitleFile.isEmpty());
        }
        QCOMPARE(p.page.m_leAlphaValue->text(), QStringLiteral("100"));
        QCOMPARE(p.page.m_lePositionValue->text(), QStringLiteral("5"));
        QCOMPARE(p.page.m_leScaleValue->text(), QStringLiteral("100"));
        QVERIFY(p.page.m_rbtnBottom->isChecked());
        QVERIFY(p.page.m_leFamilyPath->text().isEmpty());
    }
};

RS_TEST_MAIN(TestSubtitlePage)
#include "tst_subtitlepage.moc"
