#include "SmallDialogs.h"

#include "QCheckButton.h"
#include "QIAnyUtil.h"
#include "QNinePointsImageDialog.h"
#include "QTextImageButton.h"
#include "QZTBaseButton.h"
#include "QZTDialog.h"

#include <QIcon>
#include <QImage>

namespace SmallDialogs {

QString res(const char *path)
{
    return QIAnyUtil::getResourcePath() + QLatin1String(path);
}

namespace {
bool lightBody()
{
    static const bool light = [] {
        const QImage bg(res("/image/Common_bg/bg_2.png"));
        if (bg.isNull())
            return false;
        return qGray(bg.pixel(bg.width() / 2, bg.height() / 2)) > 128;
    }();
    return light;
}
} // namespace

QColor bodyTextColor()
{
    return lightBody() ? QColor(40, 40, 40) : QColor(Qt::white);
}

QColor bodyLinkColor()
{
    return lightBody() ? QColor(176, 40, 40) : QColor(255, 156, 156);
}

void frame(QNinePointsImageDialog *dlg, int corner, int w, int h)
{
    dlg->setAttribute(Qt::WA_TranslucentBackground);
    dlg->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    dlg->setBackgroundImage(res("/image/Common_bg/bg_2.png"), false);
    const rectSize c(corner, corner);
    dlg->setGridViewInfo(c, c, c, c);
    dlg->setMoveTop(30);
    dlg->setFixedSize(w, h);
    dlg->addCloseBtn(res("/image/btn_close.png"), true);
    dlg->addMinBtn(res("/image/btn_min.png"), true);
    dlg->addMaxBtn(res("/image/btn_max.png"), true);
}

void ztFrame(QZTDialog *dlg, const QString &title)
{
    dlg->setAttribute(Qt::WA_TranslucentBackground);
    dlg->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    dlg->setBackgroundImage(res("/image/Common_bg/bg_2.png"), false);
    dlg->setGridViewInfo(rectSize(80, 80), rectSize(80, 80), rectSize(80, 80), rectSize(80, 80));
    dlg->setStretchPolicy(0);
    dlg->setMoveTopHeight(30);
    QPalette pal = dlg->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    dlg->setPalette(pal);
    QFont f = dlg->font();
    f.setFamily(QStringLiteral("Tahoma"));
    f.setPixelSize(12);
    dlg->setFont(f);
    dlg->setDlgTitle(title);
    dlg->setWindowTitle(title);
    dlg->setTitleRect(QRect(0, 8, 0, 0));
    dlg->setAlignment(Qt::AlignCenter);
    dlg->setWindowIcon(QIcon(res("/image/main_logo.png")));
}

void ztTitleButtons(QZTBaseButton *close, QZTBaseButton *min, QZTBaseButton *max)
{
    close->setButtonImage(res("/image/btn_close.png"), true);
    min->setButtonImage(res("/image/btn_min.png"), true);
    min->setEnabled(false);
    max->setButtonImage(res("/image/btn_max.png"), true);
    max->setEnabled(false);
}

void placeTitleButtons(QZTBaseButton *close, QZTBaseButton *min, QZTBaseButton *max)
{
    close->move(18, 13);
    min->move(close->x() + close->width() + 8, 13);
    max->move(min->x() + min->width() + 8, 13);
}

void stripButton(QTextImageButton *button, const QString &text, const QString &image, int w, int h,
                 const QColor &disabled)
{
    button->setBtnImageAndText(image, text, 11);
    button->setFixedSize(w, h);
    button->setImgBtnRect(QRect(0, 0, w, h));
    button->setTextPixelSize(11);
    button->setTextColor(Qt::white, Qt::white, Qt::white, disabled);
}

void checkButton(QCheckButton *button, bool radio, const QString &text, int points)
{
    if (radio)
        button->setCheckImage(res("/image/Common_bg/Edit_selections_yes.png"),
                              res("/image/Common_bg/Edit_selections_no.png"));
    else
        button->setCheckImage(res("/image/Common_bg/btn_check_on1.png"), res("/image/Common_bg/btn_check_off1.png"));
    button->setButtonType(radio);
    QFont f = button->font();
    f.setFamily(QStringLiteral("helvetica neue"));
    // The sizes are those of the platform the look was drawn for, where a point is a pixel.
    f.setPixelSize(points);
    button->setFont(f);
    button->setTextColor(bodyTextColor());
    button->setText(text);
}

} // namespace SmallDialogs
