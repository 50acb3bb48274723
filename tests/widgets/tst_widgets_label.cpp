// Eliding and renaming label: shortening to fit, the tool tip, narrow labels, typing filter and the
// single, validated commit of a rename.

#include "RetractLabel.h"
#include "TestSupport.h"
#include "WidgetTestKit.h"
#include "WindowInput.h"

#include <QLineEdit>
#include <QSignalSpy>

class TestLabel : public QObject
{
    Q_OBJECT
private slots:
    void eliding_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("shortened");
        QTest::newRow("fits") << QSize(200, 20) << QStringLiteral("clip.mp4") << false;
        QTest::newRow("too long") << QSize(60, 16) << QStringLiteral("a very long clip name that cannot fit.mp4")
                                  << true;
        QTest::newRow("two lines allowed") << QSize(60, 34) << QStringLiteral("a long clip name wrapping.mkv") << true;
    }
    void eliding()
    {
        QFETCH(QSize, size);
        QFETCH(QString, name);
        QFETCH(bool, shortened);
        RetractLabel label;
        label.resize(size);
        label.setPixelSize(12);
        label.setText(name);
        QCOMPARE(label.getName(), name);
        if (shortened) {
            QVERIFY(label.text().endsWith(QStringLiteral("...")));
            QVERIFY(name.startsWith(label.text().chopped(3)));
            QCOMPARE(label.toolTip(), name);
            const QFontMetrics fm(label.font());
            QVERIFY(fm.boundingRect(QRect(0, 0, size.width(), 10000), Qt::TextWrapAnywhere, label.text()).height() <=
                    size.height());
        } else {
            QCOMPARE(label.text(), name);
            QVERIFY(label.toolTip().isEmpty());
        }
        QVERIFY(label.getTextWidth() > 0);
    }

    // The shortened name is shown wrapped the way it was measured: as many lines as the label holds.
    void showsTheWrappedLines_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("lines");
        QTest::newRow("one line") << 16 << 1;
        QTest::newRow("two lines") << 34 << 2;
    }
    void showsTheWrappedLines()
    {
        QFETCH(int, height);
        QFETCH(int, lines);
        RetractLabel label;
        label.resize(120, height);
        label.setStyleSheet(QStringLiteral("color: white"));
        label.setPixelSize(12);
        label.setText(QStringLiteral("holiday_clip_from_the_long_summer_trip_2026.mp4"));
        QImage image(label.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        int bands = 0;
        bool inked = false;
        int rightmost = 0;
        for (int y = 0; y < image.height(); ++y) {
            bool row = false;
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) > 128) {
                    row = true;
                    rightmost = qMax(rightmost, x);
                }
            if (row && !inked)
                ++bands;
            inked = row;
        }
        QCOMPARE(bands, lines);
        QVERIFY(rightmost < label.width() - 1); // nothing runs past the right edge
    }

    void tooLowLabelKeepsDisplay()
    {
        RetractLabel label;
        label.resize(100, 4);
        label.QLabel::setText(QStringLiteral("old"));
        label.setText(QStringLiteral("new name.mp4"));
        QCOMPARE(label.text(), QStringLiteral("old"));
        QCOMPARE(label.getName(), QStringLiteral("new name.mp4"));
    }

    void tooNarrowForEllipsisEnds()
    {
        // Narrower than one character: the shortening loop must end instead of running forever.
        RetractLabel label;
        label.resize(2, 16);
        label.setPixelSize(12);
        label.setText(QStringLiteral("abcdefghij"));
        QCOMPARE(label.text(), QStringLiteral("..."));
        QCOMPARE(label.toolTip(), QStringLiteral("abcdefghij"));
    }

    void typingFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("plain") << QStringLiteral("clip2") << QStringLiteral("clip2");
        for (const QString &bad :
             {QStringLiteral("/"), QStringLiteral(":"), QStringLiteral("*"), QStringLiteral("\""), QStringLiteral("<"),
              QStringLiteral(">"), QStringLiteral("|"), QStringLiteral("?"), QStringLiteral("\\")})
            QTest::newRow(qPrintable("refuses " + bad)) << QStringLiteral("cl") + bad << QStringLiteral("clip");
        QTest::newRow("paste with slash") << QStringLiteral("a/b") << QStringLiteral("clip");
    }
    void typingFilter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        RetractLabel label;
        label.resize(200, 20);
        label.setText(QStringLiteral("clip.mp4"));
        label.setCanEditText(true);
        QCOMPARE(label.editor()->text(), QStringLiteral("clip"));
        label.editor()->setText(typed);
        QCOMPARE(label.editor()->text(), kept);
    }

    void commit_data()
    {
        QTest::addColumn<bool>("ignoreExtension");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("emitted");
        QTest::newRow("renamed keeps extension") << true << "clip.mp4"
                                                 << "new"
                                                 << "new.mp4" << 1;
        QTest::newRow("unchanged emits nothing") << true << "clip.mp4"
                                                 << "clip"
                                                 << "clip.mp4" << 0;
        QTest::newRow("no extension") << true << "clip"
                                      << "other"
                                      << "other" << 1;
        QTest::newRow("trimmed") << true << "clip.mp4"
                                 << "  new  "
                                 << "new.mp4" << 1;
        QTest::newRow("empty refused") << true << "clip.mp4"
                                       << "   "
                                       << "clip.mp4" << 0;
        QTest::newRow("dot refused") << true << "clip.mp4"
                                     << "."
                                     << "clip.mp4" << 0;
        QTest::newRow("dot dot refused") << false << "clip.mp4"
                                         << ".."
                                         << "clip.mp4" << 0;
        QTest::newRow("whole name") << false << "clip.mp4"
                                    << "new.mkv"
                                    << "new.mkv" << 1;
        QTest::newRow("whole name unchanged") << false << "clip.mp4"
                                              << "clip.mp4"
                                              << "clip.mp4" << 0;
    }
    void commit()
    {
        QFETCH(bool, ignoreExtension);
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        QFETCH(int, emitted);
        QWidget window;
        auto *label = new RetractLabel(&window);
        label->resize(200, 20);
        label->setIgnoreExten(ignoreExtension);
        label->setText(name);
        window.show();
        QSignalSpy changed(label, &RetractLabel::emitChangeName);
        label->setCanEditText(true);
        label->editor()->setText(typed);
        // Return fires returnPressed and editingFinished: one commit only.
        rstest::keyClick(label, Qt::Key_Return);
        emit label->editor()->editingFinished();
        QCOMPARE(changed.count(), emitted);
        QCOMPARE(label->getName(), result);
        QVERIFY(label->editor()->isHidden());
    }
};

RS_TEST_MAIN(TestLabel)
#include "tst_widgets_label.moc"
