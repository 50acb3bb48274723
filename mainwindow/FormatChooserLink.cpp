#include "FormatChooserLink.h"

#include "FormatWidget.h"
#include "QVideoSettingXml.h"

namespace {

struct StoredChoice
{
    bool lossless = false;
    int quality = 0;
};

// Applies the stored mode and profile to the chooser (both the window's start and the Format button).
StoredChoice applyStoredProfile(FormatWidget *chooser)
{
    StoredChoice c;
    c.lossless = QVideoSettingXml::GetItemValue("LOSSLESS_ITEM", "Lossless_convert", "N") == QLatin1String("Y");
    if (!c.lossless)
        chooser->setFormatId(QVideoSettingXml::GetItemValue("FormatSet", "Format_cate", "Devices"),
                             QVideoSettingXml::GetItemValue("FormatSet", "Format_ID", "1136"), true);
    else
        chooser->setFormatIdLossLess(
            QVideoSettingXml::GetItemValue("FormatSet", "Format_cate_lossless", "General Video"),
            QVideoSettingXml::GetItemValue("FormatSet", "Format_ID_lossless", "3000"), true);
    chooser->setDefaultSet();
    return c;
}

int storedQuality()
{
    bool ok = false;
    const int q = QVideoSettingXml::GetItemValue("VIDEO_QUALITY_ITEM", "quality_value", "0").toInt(&ok, 10);
    return ok ? q : 0;
}

} // namespace

FormatWidget *FormatChooserLink::restoreChoice(QWidget *window)
{
    FormatWidget *chooser = FormatWidget::getFormatWidget(window);
    const StoredChoice c = applyStoredProfile(chooser);
    // Only creates the entry on a first start.
    QVideoSettingXml::GetItemValue("Open_path", "Open_path_value", ".");
    const int quality = storedQuality();
    if (c.lossless)
        chooser->OnClickLossless();
    else
        chooser->OnClickCustomizeFormat();
    chooser->setDefaultQuality(quality);
    chooser->saveDefaultQuality();
    return chooser;
}

void FormatChooserLink::openChooser(QWidget *window)
{
    FormatWidget *chooser = FormatWidget::getFormatWidget(window);
    const StoredChoice c = applyStoredProfile(chooser);
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    int x = origin.x() + (window->width() - chooser->width()) / 2;
    int y = origin.y() + (window->height() - chooser->height()) / 2;
    chooser->move(x <= 0 ? 50 : x, y <= 0 ? 50 : y);
    chooser->OnShowSettingDlg(false);
    if (c.lossless)
        chooser->OnClickLossless();
    else
        chooser->OnClickCustomizeFormat();
    chooser->setDefaultQuality(storedQuality());
    chooser->exec();
}
