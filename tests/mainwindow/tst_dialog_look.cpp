// The small dialogs that stand over the main window, as drawn: the dark panel of the program's look behind
// them, and every text on them readable against what lies behind it.

#include "MainWindowTestKit.h"
#include "TestSupport.h"

#include "QAboutDlg.h"
#include "QCheckButton.h"
#include "QEditTipDlg.h"
#include "QLoadingDlg.h"
#include "QMessageCommonDlg.h"
#include "QSaveFileDlg.h"
#include "QShowCloseDlg.h"
#include "QShowIsLosslassDlg.h"
#include "QTextImageButton.h"
#include "QZTBaseButton.h"
#include "QZTCheckBox.h"

#include <QLabel>
#include <QMap>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

double luminance(QRgb c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A dialog as its caller fills it before showing it.
std::unique_ptr<QDialog> makeDialog(const QString &name)
{
    if (name == QLatin1String("QSaveFileDlg")) {
        auto *d = new QSaveFileDlg;
        d->setSaveFilename(QStringLiteral("/home/user/Videos/holiday/") + QString(80, QLatin1Char('x')) +
                           QStringLiteral("/joined.mp4"));
        d->setProgressValue(42.f);
        return std::unique_ptr<QDialog>(d);
    }
    if (name == QLatin1String("QLoadingDlg")) {
        auto *d = new QLoadingDlg;
        d->setAddFilePath(QStringLiteral("/media/clips/") + QString(80, QLatin1Char('y')) + QStringLiteral("/z.mov"));
        d->setAddCount(QStringLiteral("2/3"));
        d->setProgressVale(60.f);
        return std::unique_ptr<QDialog>(d);
    }
    if (name == QLatin1String("QShowIsLosslassDlg")) {
        auto *d = new QShowIsLosslassDlg;
        d->m_chkNote->setChecked(true);
        return std::unique_ptr<QDialog>(d);
    }
    if (name == QLatin1String("QShowCloseDlg"))
        return std::unique_ptr<QDialog>(new QShowCloseDlg);
    if (name == QLatin1String("QEditTipDlg"))
        return std::unique_ptr<QDialog>(new QEditTipDlg);
    if (name == QLatin1String("QMessageCommonDlg")) {
        auto *d = new QMessageCommonDlg;
        d->setMsgText(QStringLiteral("This file cannot be used."));
        return std::unique_ptr<QDialog>(d);
    }
    if (name == QLatin1String("QAboutDlg"))
        return std::unique_ptr<QDialog>(new QAboutDlg);
    return nullptr;
}

} // namespace

class TestDialogLook : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { mwt::installRecorders(); }

    void dialogsWearTheDarkLook_data()
    {
        QTest::addColumn<QString>("dialog");
        for (const char *name : {"QSaveFileDlg", "QLoadingDlg", "QShowIsLosslassDlg", "QShowCloseDlg", "QEditTipDlg",
                                 "QMessageCommonDlg", "QAboutDlg"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void dialogsWearTheDarkLook()
    {
        QFETCH(QString, dialog);
        std::unique_ptr<QDialog> dlg = makeDialog(dialog);
        QVERIFY(dlg);
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        const QImage shot = dlg->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const qreal dpr = shot.devicePixelRatio();
        mwt::shot(dlg.get(), dialog + QStringLiteral("-look"));
        const QList<QWidget *> children = dlg->findChildren<QWidget *>();
        auto covered = [&](const QPoint &p) {
            for (QWidget *w : children)
                if (w->isVisible() &&
                    QRect(w->mapTo(dlg.get(), QPoint(0, 0)), w->size()).adjusted(-2, -2, 2, 2).contains(p))
                    return true;
            return false;
        };

        // The body below the title band, where nothing stands: the charcoal greys of the main window.
        QVector<int> greys;
        int off = 0;
        for (int y = 34; y < dlg->height() - 12; y += 3)
            for (int x = 12; x < dlg->width() - 12; x += 3) {
                if (covered(QPoint(x, y)))
                    continue;
                const QRgb c = shot.pixel(QPoint(x, y) * dpr);
                const int spread = std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)});
                greys.append(qGray(c));
                if (qAlpha(c) != 255 || spread > 10 || qGray(c) < 28 || qGray(c) > 64)
                    ++off;
            }
        QVERIFY(greys.size() > 100);
        std::sort(greys.begin(), greys.end());
        const QString body = QStringLiteral("median grey %1, %2 of %3 points off the charcoal range")
                                 .arg(greys[greys.size() / 2])
                                 .arg(off)
                                 .arg(greys.size());
        QVERIFY2(off <= greys.size() / 10, qPrintable(body)); // a drawn logo may take a little of it

        // Each text against the ground right behind it: the commonest colour of its box (check marks left out).
        for (QWidget *w : children) {
            QString text;
            double needed = 4.5;
            int skip = 0;
            if (auto *l = qobject_cast<QLabel *>(w))
                text = l->text();
            else if (auto *c = qobject_cast<QCheckButton *>(w))
                text = c->text(), skip = 20;
            else if (auto *c = qobject_cast<QZTCheckBox *>(w))
                text = c->text(), skip = 20;
            else if (auto *b = qobject_cast<QTextImageButton *>(w))
                text = b->getBtnText(), needed = 3.0; // white on the accent face, a control's 3:1
            else if (auto *b = qobject_cast<QZTBaseButton *>(w))
                text = b->text(), needed = 3.0;
            if (text.isEmpty() || !w->isVisible())
                continue;
            const QRect box = QRect(w->mapTo(dlg.get(), QPoint(skip, 0)) * dpr, (w->size() - QSize(skip, 0)) * dpr)
                                  .intersected(shot.rect());
            QMap<QRgb, int> counts;
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x)
                    ++counts[shot.pixel(x, y) & 0xfff0f0f0];
            QRgb ground = 0;
            int most = 0;
            for (auto it = counts.cbegin(); it != counts.cend(); ++it)
                if (it.value() > most)
                    most = it.value(), ground = it.key();
            double best = 1;
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x)
                    best = std::max(best, contrast(shot.pixel(x, y), ground));
            QVERIFY2(best >= needed, qPrintable(QStringLiteral("%1 \"%2\": contrast %3 on %4")
                                                    .arg(w->objectName(), text)
                                                    .arg(best, 0, 'f', 2)
                                                    .arg(QColor(ground).name())));
            // A one-line caption is shown whole (a path is shortened on purpose, with an ellipsis).
            auto *label = qobject_cast<QLabel *>(w);
            if (label && !label->wordWrap() && !Qt::mightBeRichText(text) && !text.contains(QChar(0x2026)))
                QVERIFY2(label->fontMetrics().horizontalAdvance(text) <= label->width(), qPrintable(text));
        }
    }
};

RS_TEST_MAIN(TestDialogLook)
#include "tst_dialog_look.moc"
