// A wide clip's watermarks placed in the editor as a user places them, then joined into outputs of another
// shape: the text and the picture must stand on the output's picture where the preview showed them, at the
// same size, whatever bars the output adds.
#include "EditorFileDialog.h"
#include "EditorTestKit.h"
#include "MediaFixtures.h"
#include "QAdjustOperationForm.h"
#include "QIAnyUtil.h"
#include "QMediaBorderFrame.h"
#include "QMediaDashedFrame.h"
#include "QMediaElementWindow.h"
#include "QMediaForm.h"
#include "QPlayerOperationForm.h"
#include "QVideoEditTag.h"
#include "QVideoEditingDlg.h"
#include "QWatermarkOperationForm.h"
#include "QZTComboBox.h"
#include "QZTComboBoxItem.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QListWidget>
#include <QTextEdit>

namespace {

const QColor kMark(230, 30, 200);

bool isMark(QRgb p)
{
    return qAbs(qRed(p) - kMark.red()) + qAbs(qGreen(p) - kMark.green()) + qAbs(qBlue(p) - kMark.blue()) < 90;
}

// The text's letters: white on the mid-grey clip (the outline is dark, the picture magenta).
bool isLetter(QRgb p)
{
    return qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200;
}

QString markPicture()
{
    const QString path = rstest::scratchDir(QStringLiteral("mark")) + QStringLiteral("/mark.png");
    QImage mark(64, 36, QImage::Format_RGB32);
    mark.fill(kMark);
    return mark.save(path) ? path : QString();
}

struct Boxes
{
    QRectF text, picture; // fractions of the picture
};

Boxes boxesIn(const QImage &image, const QRect &area)
{
    QRect text, picture;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (isMark(p))
                picture |= QRect(x, y, 1, 1);
            else if (isLetter(p))
                text |= QRect(x, y, 1, 1);
        }
    auto fraction = [&area](const QRect &r) {
        if (r.isEmpty())
            return QRectF();
        return QRectF(double(r.left() - area.left()) / area.width(), double(r.top() - area.top()) / area.height(),
                      double(r.width()) / area.width(), double(r.height()) / area.height());
    };
    return Boxes{fraction(text), fraction(picture)};
}

// The output's picture: the frame without the black bars the output's shape adds.
QRect pictureArea(const QImage &frame)
{
    auto dark = [&frame](const QRect &line) { return etk::meanColor(frame, line).value() < 24; };
    QRect area = frame.rect();
    while (area.height() > 2 && dark(QRect(0, area.top(), frame.width(), 1)))
        area.setTop(area.top() + 1);
    while (area.height() > 2 && dark(QRect(0, area.bottom(), frame.width(), 1)))
        area.setBottom(area.bottom() - 1);
    while (area.width() > 2 && dark(QRect(area.left(), 0, 1, frame.height())))
        area.setLeft(area.left() + 1);
    while (area.width() > 2 && dark(QRect(area.right(), 0, 1, frame.height())))
        area.setRight(area.right() - 1);
    return area;
}

QString describe(const Boxes &b)
{
    QString s;
    QDebug(&s) << "text" << b.text << "picture" << b.picture;
    return s;
}

bool near(const QRectF &a, const QRectF &b, double tolerance)
{
    return !a.isEmpty() && !b.isEmpty() && qAbs(a.left() - b.left()) <= tolerance &&
           qAbs(a.top() - b.top()) <= tolerance && qAbs(a.right() - b.right()) <= tolerance &&
           qAbs(a.bottom() - b.bottom()) <= tolerance;
}

// An overlay item's dashed box dragged by its middle to a point of the preview's picture (fractions).
void dragItem(QVideoEditingDlg &dlg, int item, const QPointF &to)
{
    QMediaBorderFrame *overlay = dlg.mediaForm()->watermarkFrame();
    QVERIFY(QTest::qWaitFor([&] { return overlay->isVisible() && overlay->item(item)->isVisible(); },
                            rstest::kHangBoundMs));
    const QRect element = dlg.mediaForm()->previewWindow()->getVideoElementRect();
    const QPoint target = overlay->mapFromGlobal(dlg.mediaForm()->previewWindow()->mapToGlobal(
        element.topLeft() + QPoint(int(to.x() * element.width()), int(to.y() * element.height()))));
    rstest::dragTo(overlay, overlay->item(item)->geometry().center(), overlay, target);
}

// An entry of the Adjust page's aspect list, chosen from its opened list as a user does.
void chooseAspect(QVideoEditingDlg &dlg, int index)
{
    rstest::clickAt(dlg.editTag()->button(QVideoEditingDlg::Adjust));
    QZTComboBox *list = dlg.adjustPage()->m_cbbAspectRatio;
    rstest::clickAt(list);
    QVERIFY(QTest::qWaitFor([list] { return list->rowView()->window()->isVisible(); }, rstest::kHangBoundMs));
    rstest::clickAt(list->rowAt(index));
    QCOMPARE(list->currentIndex(), index);
}

} // namespace

class TestPreviewMatch : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + QStringLiteral("/Contents"));
    }

    void watermarksStandWhereThePreviewShowsThem_data()
    {
        QTest::addColumn<QSize>("output");
        QTest::addColumn<int>("aspectChoice"); // -1: none
        QTest::addColumn<double>("aspect");    // of the edited picture
        QTest::newRow("640x480, bars above and below") << QSize(640, 480) << -1 << 16.0 / 9.0;
        QTest::newRow("1280x960, twice the clip's size") << QSize(1280, 960) << -1 << 16.0 / 9.0;
        QTest::newRow("4:3 picture, 1280x720, bars beside it") << QSize(1280, 720) << 4 << 4.0 / 3.0;
    }

    void watermarksStandWhereThePreviewShowsThem()
    {
        QFETCH(QSize, output);
        QFETCH(int, aspectChoice);
        QFETCH(double, aspect);
        const QString mark = markPicture();
        QVERIFY(!mark.isEmpty());
        etk::EditorWindow editor(etk::greyClip(QSize(640, 360)));
        QVideoEditingDlg &dlg = editor.dlg;
        QVERIFY(editor.waitLoaded());
        if (aspectChoice >= 0)
            chooseAspect(dlg, aspectChoice);
        if (QTest::currentTestFailed())
            return;
        rstest::clickAt(dlg.editTag()->button(QVideoEditingDlg::Watermark));
        QWatermarkOperationForm *page = dlg.watermarkPage();
        QTextEdit *edit = page->m_leAddWKText->textEdit();
        rstest::clickAt(edit);
        rstest::typeText(edit, QStringLiteral("MATCH"));
        EditorFileDialog::setOpenFileForTesting(
            [mark](QWidget *, const QString &, const QString &, const QString &) { return mark; });
        rstest::clickAt(page->m_btnAddWKImg);
        EditorFileDialog::setOpenFileForTesting(nullptr);
        dragItem(dlg, 0, QPointF(0.62, 0.72));
        dragItem(dlg, 1, QPointF(0.2, 0.22));
        if (QTest::currentTestFailed())
            return;
        rstest::clickAt(dlg.playBar()->m_btnStop);

        // What the pane shows: the edited picture alone, at its own shape.
        QWidget *view = etk::videoViewOf(dlg.mediaForm()->previewWindow());
        QVERIFY(view);
        Boxes shown;
        const bool both = QTest::qWaitFor(
            [&] {
                const QImage pane = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
                shown = boxesIn(pane, pane.rect());
                return !shown.text.isEmpty() && !shown.picture.isEmpty() && shown.text.top() > 0.5 &&
                       shown.picture.top() < 0.5;
            },
            rstest::kHangBoundMs);
        etk::saveGallery(&dlg,
                         QStringLiteral("QVideoEditingDlg-preview-for-%1x%2").arg(output.width()).arg(output.height()));
        QVERIFY2(both, qPrintable(describe(shown)));
        const QSize pane = view->size();
        QVERIFY2(qAbs(double(pane.width()) / pane.height() - aspect) < 0.03,
                 qPrintable(QStringLiteral("the pane shows %1x%2").arg(pane.width()).arg(pane.height())));

        rstest::clickAt(dlg.m_btnOK);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        VEEditConfig record;
        dlg.getEditConfig(record);
        const QString joined = etk::encodeWithEdits(etk::greyClip(QSize(640, 360)), record,
                                                    QStringLiteral("match_%1").arg(output.width()), output);
        QVERIFY(!joined.isEmpty());
        const QImage frame = etk::frameAt(joined, 1.0);
        QCOMPARE(frame.size(), output);
        frame.save(rstest::galleryPath(
            QStringLiteral("QVideoEditingDlg-output-%1x%2").arg(output.width()).arg(output.height())));
        const QRect area = pictureArea(frame);
        QString shape;
        QDebug(&shape) << "the output's picture" << area;
        QVERIFY2(qAbs(double(area.width()) / area.height() - aspect) < 0.02, qPrintable(shape));
        const Boxes written = boxesIn(frame, area);
        // A few pixels of the pane's scaling and of the letters' edges at another size.
        const QString both2 = QStringLiteral("preview: %1\noutput:  %2").arg(describe(shown), describe(written));
        QVERIFY2(near(shown.picture, written.picture, 0.015), qPrintable(both2));
        QVERIFY2(near(shown.text, written.text, 0.02), qPrintable(both2));
    }
};

RS_TEST_MAIN(TestPreviewMatch)
#include "tst_previewmatch.moc"
