#include "FormatTestKit.h"

#include "FormatItem.h"
#include "FormatItemWidget.h"
#include "FormatWidget.h"
#include "QIAnyUtil.h"
#include "QTextImageButton.h"
#include "QVideoSettingXml.h"
#include "SettingKeys.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QDir>
#include <QTimer>

namespace ftk {

void resetSettings()
{
    QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + "/Contents");
    QFile::remove(QVideoSettingXml::settingsFilePath());
    QFile::remove(QIAnyUtil::getAppDataPath() + QStringLiteral("/VideoDefaultFormatSetting.xml"));
}

void restoreChooser(FormatWidget *chooser)
{
    const bool lossless = QVideoSettingXml::GetItemValue(SettingKeys::LosslessConvert) == QLatin1String("Y");
    if (lossless)
        chooser->setFormatIdLossLess(QVideoSettingXml::GetItemValue(SettingKeys::FormatCategoryLossless),
                                     QVideoSettingXml::GetItemValue(SettingKeys::FormatIdLossless), true);
    else
        chooser->setFormatId(QVideoSettingXml::GetItemValue(SettingKeys::FormatCategory),
                             QVideoSettingXml::GetItemValue(SettingKeys::FormatId), true);
    chooser->setDefaultSet();
    chooser->OnShowSettingDlg(false);
    if (lossless)
        chooser->OnClickLossless();
    else
        chooser->OnClickCustomizeFormat();
    chooser->setDefaultQuality(QVideoSettingXml::GetItemValue(SettingKeys::VideoQualityValue).toInt());
    chooser->saveDefaultQuality();
}

void click(QWidget *w, const QPoint &at)
{
    rstest::clickAt(w, at.x() < 0 ? rstest::kCentre : at);
}

void doubleClick(QWidget *w)
{
    rstest::doubleClickAt(w);
}

void closeNextModal(int *closed)
{
    QTimer::singleShot(20, [closed] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->inherits("QZTMessageBox")) {
            ++*closed;
            modal->close();
        } else {
            closeNextModal(closed);
        }
    });
}

void settle()
{
    // The animations run on the clock and end late on a busy machine: wait until none of any window runs, with
    // the layouts and repaints they and the last input asked for done.
    QVERIFY(QTest::qWaitFor(
        [] {
            QCoreApplication::processEvents();
            for (QWidget *top : QApplication::topLevelWidgets())
                for (const QAbstractAnimation *a : top->findChildren<QAbstractAnimation *>())
                    if (a->state() == QAbstractAnimation::Running)
                        return false;
            return true;
        },
        rstest::kHangBoundMs));
}

FormatItem *tile(FormatItemWidget *grid, const QString &id)
{
    for (FormatItem *item : grid->items()) {
        if (item->getItemID() == id)
            return item;
    }
    return nullptr;
}

QTextImageButton *categoryButton(const QList<QTextImageButton *> &buttons, const QString &name)
{
    for (QTextImageButton *b : buttons) {
        if (b->getBtnText() == name)
            return b;
    }
    return nullptr;
}

bool shoot(QWidget *w, const QString &name)
{
    QImage image(w->size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    image.fill(QColor(90, 90, 90));
    w->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
    bool drawn = false;
    for (int y = 0; y < plain.height() && !drawn; y += 3)
        for (int x = 0; x < plain.width() && !drawn; x += 3)
            drawn = plain.pixel(x, y) != QColor(90, 90, 90).rgba();
    if (!drawn || !image.save(rstest::galleryPath(name)))
        return false;
    const QStringList unreachable = rstest::unreachableControls(w->window());
    if (!unreachable.isEmpty())
        qWarning("%s: controls out of reach: %s", qPrintable(name), qPrintable(unreachable.join(QStringLiteral("; "))));
    return unreachable.isEmpty();
}

} // namespace ftk
