// Gallery of the custom widgets and of the controls in the light and dark skins, drawn from the bundle's
// skin images into <build>/gallery/widgets_*.png for review by eye. Each picture must show something.

#include "QAudioDataWidget.h"
#include "QCheckButton.h"
#include "QCheckboxCombobox.h"
#include "QCustomComboBox.h"
#include "QCustomSpinBox.h"
#include "QCustomTimeEdit.h"
#include "QDualSlider.h"
#include "QIAnyUtil.h"
#include "QImageButton.h"
#include "QImageButtonEx.h"
#include "QInitCtrlStyle.h"
#include "QNinePointsImageDialog.h"
#include "QSliderCtrlBtn.h"
#include "QTextImageButton.h"
#include "QVEInitCtrlStyle.h"
#include "QVariableSizeWidget.h"
#include "QZTBaseButton.h"
#include "QZTBaseSlider.h"
#include "QZTButtonExtend.h"
#include "QZTCheckBox.h"
#include "QZTComboBox.h"
#include "QZTComboBoxItem.h"
#include "QZTDialog.h"
#include "QZTLineEdit.h"
#include "QZTMessageDlg.h"
#include "QZTRadioButton.h"
#include "QZTScrollBar.h"
#include "QZTSpinBox.h"
#include "RetractLabel.h"
#include "TestSupport.h"
#include "WidgetTestKit.h"
#include "qSliderCtrl.h"

#include <QDir>
#include <QListWidget>
#include <QPainter>
#include <QtEndian>

#include <cmath>

namespace {

// WCAG contrast ratio of two opaque colours: 1 (same) to 21 (black on white). Body text wants 4.5.
double contrast(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QImage shot(QWidget *w)
{
    QImage image(w->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    w->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// What lies behind a control: the window drawn with the control hidden, at the control's centre.
QColor groundBehind(QWidget *control, QWidget *window)
{
    control->hide();
    const QImage image = shot(window);
    control->show();
    const QPoint at = control->mapTo(window, control->rect().center());
    return image.pixelColor(at);
}

// The vertical centre of what is drawn in column x of an image (-1 when the column is empty).
double drawnCentre(const QImage &image, int x)
{
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        if (qAlpha(image.pixel(x, y)) > 128) {
            if (top < 0)
                top = y;
            bottom = y;
        }
    }
    return top < 0 ? -1.0 : (top + bottom) / 2.0;
}

} // namespace

class TestGallery : public QObject
{
    Q_OBJECT
private:
    QString m_dir;
    QString res(const char *path) const { return QIAnyUtil::getResourcePath() + QLatin1String(path); }

    void save(QWidget *w, const QString &name, const QColor &ground = Qt::transparent)
    {
        QImage image(w->size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2.0);
        image.fill(ground);
        w->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        const QString path = m_dir + QStringLiteral("/widgets_") + name + QStringLiteral(".png");
        QVERIFY2(image.save(path), qPrintable(path));
        const QStringList unreachable = rstest::unreachableControls(w->window());
        QVERIFY2(unreachable.isEmpty(),
                 qPrintable(name + QStringLiteral(": ") + unreachable.join(QStringLiteral("; "))));
        bool drawn = false;
        const QImage plain = image.convertToFormat(QImage::Format_ARGB32);
        const QRgb groundPixel = ground.rgba();
        for (int y = 0; y < plain.height() && !drawn; y += 2)
            for (int x = 0; x < plain.width() && !drawn; x += 2)
                drawn = plain.pixel(x, y) != groundPixel && qAlpha(plain.pixel(x, y)) > 0;
        QVERIFY2(drawn, qPrintable(name + " is empty"));
    }

    // A row of copies of a button in its four states (hover, pressed and disabled through events).
    template <class Button> void stateRow(const QString &name, std::function<void(Button *)> setup)
    {
        QWidget row;
        row.resize(10, 10);
        int x = 4;
        int h = 0;
        for (int state = 0; state < 4; ++state) {
            auto *b = new Button(&row);
            setup(b);
            b->move(x, 4);
            x += b->width() + 6;
            h = std::max(h, b->height());
            // One pointer cannot hover one copy while it presses another: these two states are handed to
            // the copies themselves.
            if (state == 1) {
                QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(b->mapToGlobal(QPoint(2, 2))));
                QCoreApplication::sendEvent(b, &enter);
            }
            if (state == 2) {
                QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(b->mapToGlobal(QPoint(2, 2))),
                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(b, &press);
            }
            if (state == 3)
                b->setEnabled(false);
        }
        row.resize(x, h + 8);
        row.show();
        save(&row, name, QColor(53, 53, 53));
    }

private slots:
    void initTestCase()
    {
        QIAnyUtil::setApplicationDirPathForTesting(rstest::bundleDir() + "/Contents");
        m_dir = rstest::buildDir() + QStringLiteral("/gallery");
        QDir().mkpath(m_dir);
        QVERIFY(QFile::exists(res("/image/Common_bg/btn_common.png")));
    }

    void buttons()
    {
        stateRow<QImageButton>(QStringLiteral("image_button"),
                               [this](QImageButton *b) { QVERIFY(b->setBtnImage(res("/pic/btn_close.png"))); });
        stateRow<QTextImageButton>(QStringLiteral("text_button"), [this](QTextImageButton *b) {
            QVERIFY(b->setBtnImageForRect(res("/image/Common_bg/btn_common.png"), QRect(0, 0, 96, 26)));
            b->setTextColor(Qt::white, Qt::white, Qt::white, QColor(111, 111, 111));
            b->setBtnText(QStringLiteral("Convert"));
        });
        stateRow<QImageButtonEx>(QStringLiteral("badge_button"), [this](QImageButtonEx *b) {
            b->setBtnImageForRect(res("/image/Common_bg/btn_common.png"), QRect(0, 0, 96, 30));
            b->setTextColor(Qt::white);
            b->setBtnText(QStringLiteral("Files"));
            for (int i = 0; i < 7; ++i)
                b->addItemCount();
        });
    }

    void checkButtons()
    {
        QWidget row;
        row.resize(260, 30);
        for (int i = 0; i < 2; ++i) {
            auto *c = new QCheckButton(&row);
            c->resize(120, 24);
            c->move(4 + i * 128, 3);
            c->setCheckImage(res("/image/Common_bg/Edit_selections_yes.png"),
                             res("/image/Common_bg/Edit_selections_no.png"));
            c->setButtonType(true);
            c->setTextColor(Qt::white);
            c->setText(i == 0 ? QStringLiteral("High speed") : QStringLiteral("Encoding"));
            c->setChecked(i == 0);
        }
        row.show();
        save(&row, QStringLiteral("check_buttons"), QColor(53, 53, 53));
    }

    void fields()
    {
        QWidget panel;
        panel.resize(330, 40);
        auto *combo = new QCustomComboBox(&panel);
        combo->setImageForRect(res("/VEditSource/btn_common.png"), QRect(0, 0, 130, 26));
        combo->setTextColor(Qt::white);
        combo->addItems({QStringLiteral("High quality"), QStringLiteral("Low quality")});
        combo->move(6, 7);
        auto *spin = new QCustomSpinBox(&panel);
        spin->setImageForRect(res("/VEditSource/btn_common.png"), QRect(0, 0, 70, 22));
        spin->setUpAndDownBtnImage(res("/VEditSource/spinBox_up.png"), res("/VEditSource/spinBox_down.png"));
        spin->setValue(42);
        spin->move(146, 9);
        auto *time = new QCustomTimeEdit(&panel);
        time->setImageForRect(res("/VEditSource/btn_common.png"), QRect(0, 0, 100, 24));
        time->setUpAndDownBtnImage(res("/VEditSource/spinBox_up.png"), res("/VEditSource/spinBox_down.png"));
        time->setCurrentTime(3723004000ULL);
        time->move(224, 8);
        panel.show();
        save(&panel, QStringLiteral("fields"), QColor(37, 37, 37));
    }

    void sliders()
    {
        QWidget panel;
        panel.resize(340, 90);
        auto *progress = new qSliderCtrl(&panel);
        progress->setBottomImage(res("/image/Common_bg/loading_trake.png"));
        progress->setTopImage(res("/image/Common_bg/loading_trake2.png"));
        progress->setCircle(true);
        progress->setCircleLenght(7);
        progress->setEnabledPull(false);
        progress->setShowValue(true);
        progress->move(10, 5);
        progress->setValue(40);
        auto *dual = new QDualSlider(&panel);
        dual->setBottomImage(res("/VEditSource/slider_bottom.png"));
        dual->setTopImage(res("/VEditSource/slider_top.png"));
        // The handle row sits 5 below the middle and the knob 4 below its image's middle: -9 puts it on the
        // track.
        dual->setStartBtnImage(res("/VEditSource/slider_image.png"), -9);
        dual->setEndBtnImage(res("/VEditSource/slider_image.png"));
        dual->setProgressBtnImage(res("/image/Common_bg/slider_arrow.png"), 13); // on the track, as a playhead
        dual->setCircle(true);
        dual->move(10, 40);
        dual->setStartValue(20);
        dual->setEndValue(70);
        panel.show();
        save(&panel, QStringLiteral("sliders"), QColor(37, 37, 37));
        // Every handle's knob sits on the track: the same vertical centre as the track between them.
        const QImage drawn = shot(dual);
        const double track = drawnCentre(drawn, (dual->startHandle()->geometry().right() + dual->endHandle()->x()) / 2);
        QVERIFY(track > 0);
        for (QWidget *handle : {static_cast<QWidget *>(dual->startHandle()), static_cast<QWidget *>(dual->endHandle()),
                                static_cast<QWidget *>(dual->playHandle())}) {
            const double knob = drawnCentre(drawn, handle->geometry().center().x());
            QVERIFY2(qAbs(knob - track) <= 1.0, qPrintable(QStringLiteral("knob %1, track %2").arg(knob).arg(track)));
        }
    }

    void label()
    {
        RetractLabel label;
        label.resize(120, 34);
        label.setStyleSheet(QStringLiteral("color: white"));
        label.setPixelSize(12);
        label.setText(QStringLiteral("holiday_clip_from_the_long_summer_trip_2026.mp4"));
        save(&label, QStringLiteral("retract_label"), QColor(53, 53, 53));
    }

    void audioBars()
    {
        AudioDataAttribute a = wtk::audioBarsRecord();
        QAudioDataWidget w(nullptr, &a);
        w.resize(300, 120);
        w.setAudioLogo(res("/image/PlayerImage/bg_audio.png"));
        w.show();
        QByteArray block(44 + 2 * 2300, '\0');
        qToLittleEndian<quint32>(2 * 2300, block.data() + 40);
        for (int i = 0; i < 2300; ++i)
            qToLittleEndian<quint16>(quint16((i * 977) % 65536), block.data() + 44 + 2 * i);
        w.setAudioData(reinterpret_cast<const unsigned char *>(block.constData()), block.size(), 8000);
        save(&w, QStringLiteral("audio_bars"));
    }

    void frames()
    {
        QNinePointsImageDialog dlg;
        dlg.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
        dlg.setAttribute(Qt::WA_TranslucentBackground);
        QVERIFY(dlg.setBackgroundImage(res("/image/Common_bg/bg_1.png"), false));
        const rectSize corner(80, 80);
        dlg.setGridViewInfo(corner, corner, corner, corner);
        dlg.setTitleRect(QRect(0, 8, 0, 0));
        dlg.setTextColor(Qt::white); // the light backgrounds carry a charcoal title band
        dlg.setTitle(QStringLiteral("Preferences"));
        dlg.addCloseBtn(res("/pic/btn_close.png"), true);
        dlg.show();
        save(&dlg, QStringLiteral("nine_point_dialog"));

        QVariableSizeWidget window;
        window.setBackgroundImage(res("/image/Common_bg/bg_2.png"), true);
        window.resize(460, 300);
        window.setTitleRect(QRect(0, 8, 0, 0));
        window.setDlgTitle(QStringLiteral("Variable size"));
        window.setTitleColor(Qt::white); // the title band of the skin's panels is charcoal
        window.show();
        save(&window, QStringLiteral("variable_window"));

        QZTMessageDlg message;
        message.SetMessage(QStringLiteral("The files were joined."));
        message.SetMessageStyle(0x2 | 0x20 | 0x400);
        message.show();
        save(&message, QStringLiteral("message_dialog"));
        message.close();
    }

    void lightSkin()
    {
        QZTDialog dlg(nullptr, 1);
        QInitCtrlStyle::InitBg1(&dlg);
        dlg.setDlgTitle(QStringLiteral("Light skin"));
        auto *button = new QZTBaseButton(&dlg);
        QInitCtrlStyle::InitZTButton(button, 90, 26);
        button->setText(QStringLiteral("OK"));
        button->move(290, 250);
        auto *check = new QZTCheckBox(&dlg);
        QInitCtrlStyle::InitCheckBox(check);
        check->setText(QStringLiteral("Open folder when done"));
        check->setChecked(true);
        check->adjustSize();
        check->move(30, 50);
        auto *radio = new QZTRadioButton(&dlg);
        QInitCtrlStyle::InitRadio(radio);
        radio->setText(QStringLiteral("Shut down"));
        radio->setChecked(true);
        radio->adjustSize();
        radio->move(30, 80);
        auto *edit = new QZTLineEdit(&dlg);
        QInitCtrlStyle::InitLineEdit(edit, 200, 22);
        edit->setText(QStringLiteral("/home/user/Videos"));
        edit->move(30, 110);
        auto *spin = new QZTSpinBox(&dlg);
        QInitCtrlStyle::InitSpinbox(spin);
        spin->resize(80, 22);
        spin->setValue(12);
        spin->move(240, 110);
        auto *combo = new QZTComboBox(&dlg);
        QInitCtrlStyle::InitZTCombox1(combo, 160, 22, QString());
        combo->addItems({QStringLiteral("English"), QStringLiteral("Deutsch")});
        combo->move(30, 145);
        auto *slider = new QZTBaseSlider(&dlg);
        QInitCtrlStyle::InitZTSlider(slider);
        slider->resize(200, 20);
        slider->setValue(60);
        slider->move(30, 180);
        auto *plain = new QZTComboBox(&dlg);
        QInitCtrlStyle::InitZTCombox(plain, 120, 22);
        plain->addItems({QStringLiteral("MP4"), QStringLiteral("MKV")});
        plain->move(210, 145);
        auto *bar = new QZTScrollBar(&dlg);
        QInitCtrlStyle::InitZtScrollBar(bar);
        bar->setGeometry(360, 50, 11, 150);
        dlg.show();
        save(&dlg, QStringLiteral("light_skin"));

        // Every text reads against what it is drawn on.
        auto readable = [](const QColor &text, const QColor &ground, const QString &what) {
            const double ratio = contrast(text, ground);
            QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1: %2 on %3, contrast %4")
                                                  .arg(what, text.name(), ground.name())
                                                  .arg(ratio, 0, 'f', 2)));
        };
        readable(check->palette().color(QPalette::WindowText), groundBehind(check, &dlg), QStringLiteral("check box"));
        readable(radio->palette().color(QPalette::WindowText), groundBehind(radio, &dlg), QStringLiteral("radio"));
        readable(edit->palette().color(QPalette::Text), shot(edit).pixelColor(edit->width() - 6, edit->height() / 2),
                 QStringLiteral("line edit"));
        readable(spin->palette().color(QPalette::Text), shot(spin).pixelColor(spin->width() / 2, spin->height() / 2),
                 QStringLiteral("spin box"));
        readable(combo->drawTextColor(), shot(combo).pixelColor(combo->width() * 3 / 5, combo->height() / 2),
                 QStringLiteral("combo box"));
        for (QZTComboBox *c : {combo, plain}) {
            for (int i = 0; i < 2; ++i) {
                auto *row = qobject_cast<QZTComboBoxItem *>(c->rowView()->itemWidget(c->rowView()->item(i)));
                QVERIFY(row);
                row->resize(c->width(), 22);
                readable(row->drawTextColor(), shot(row).pixelColor(row->width() - 4, row->height() / 2),
                         QStringLiteral("popup row %1").arg(i));
            }
        }
        // A combo without a drop-down button still shows its cue inside the field's right end.
        const QImage field = shot(plain);
        const QColor face = field.pixelColor(plain->width() / 2, 3);
        int cue = 0;
        for (int x = plain->width() - 13; x < plain->width() - 2; ++x)
            for (int y = 4; y < plain->height() - 4; ++y)
                cue += contrast(field.pixelColor(x, y), face) > 3.0 ? 1 : 0;
        QVERIFY2(cue >= 4, qPrintable(QString::number(cue)));
        // The light slider's knob sits on its track.
        const QImage track = shot(slider);
        const double knob = drawnCentre(track, slider->getButton()->geometry().center().x());
        const double line = drawnCentre(track, slider->width() - 9);
        QVERIFY2(line > 0 && qAbs(knob - line) <= 1.0, qPrintable(QStringLiteral("%1 vs %2").arg(knob).arg(line)));
    }

    void darkSkin()
    {
        QWidget panel;
        panel.resize(420, 200);
        panel.setAutoFillBackground(true);
        QPalette palette = panel.palette();
        palette.setColor(QPalette::Window, QColor(37, 37, 37));
        panel.setPalette(palette);
        auto *button = new QZTBaseButton(&panel);
        QVEInitCtrlStyle::SetZTButton(button, 90, 24);
        button->setText(QStringLiteral("Apply"));
        button->move(10, 10);
        auto *swatch = new QZTButtonExtend(&panel);
        QVEInitCtrlStyle::SetZTButtonEx(swatch, 75, 22);
        swatch->setText(QStringLiteral("Color"));
        swatch->setIconColor(QColor(243, 228, 142));
        swatch->move(110, 11);
        auto *edit = new QZTLineEdit(&panel);
        QVEInitCtrlStyle::SetQZTLineEdit(edit);
        edit->resize(60, 22);
        edit->setText(QStringLiteral("100"));
        edit->move(200, 11);
        auto *label = new QLabel(&panel);
        QVEInitCtrlStyle::SetLabel(label, QStringLiteral("Brightness"), 12);
        label->move(10, 50);
        auto *slider = new QZTBaseSlider(&panel);
        QVEInitCtrlStyle::SetQZTSlider(slider);
        slider->resize(200, 20);
        slider->setValue(30);
        slider->move(90, 48);
        auto *radio = new QZTRadioButton(&panel);
        QVEInitCtrlStyle::SetRadioButton(radio);
        radio->setText(QStringLiteral("Keep ratio"));
        radio->setChecked(true);
        radio->adjustSize();
        radio->move(10, 80);
        auto *check = new QZTCheckBox(&panel);
        QVEInitCtrlStyle::SetCheckBox(check);
        check->setText(QStringLiteral("Apply to all"));
        check->adjustSize();
        check->move(150, 80);
        auto *combo = new QZTComboBox(&panel);
        QVEInitCtrlStyle::SetQZTComboBox(combo);
        combo->resize(140, 22);
        combo->addItems({QStringLiteral("Original"), QStringLiteral("16:9")});
        combo->move(10, 115);
        auto *checks = new QCheckboxCombobox(&panel);
        QVEInitCtrlStyle::InitZTCheckCombox(checks);
        checks->resize(140, 22);
        checks->addItems({QStringLiteral("Track 1"), QStringLiteral("Track 2")});
        checks->move(160, 115);
        auto *spin = new QZTDoubleSpinBox(&panel);
        QVEInitCtrlStyle::SetQZTDoubleSpinBox(spin);
        spin->setValue(1.5);
        spin->move(10, 150);
        auto *bar = new QZTScrollBar(&panel);
        QVEInitCtrlStyle::SetQZTScrollBar(bar);
        bar->setGeometry(400, 10, 11, 180);
        panel.show();

        // The drop-down buttons sit inside their fields' right ends, also after a resize of a shown combo.
        for (QZTComboBox *c : {combo, static_cast<QZTComboBox *>(checks)}) {
            for (int width : {200, 140}) {
                c->resize(width, 22);
                const QList<QZTBaseButton *> buttons = c->findChildren<QZTBaseButton *>();
                QCOMPARE(buttons.size(), 1);
                const QRect b = buttons.first()->geometry();
                QVERIFY2(b.right() <= width && b.right() >= width - 3 && b.left() > width / 2,
                         qPrintable(QStringLiteral("button %1..%2 in %3").arg(b.left()).arg(b.right()).arg(width)));
            }
        }
        // The slider's knob sits on its track (the track's centre beside the knob, in the unfilled part).
        const QImage track = shot(slider);
        const double knob = drawnCentre(track, slider->getButton()->geometry().center().x());
        const double line = drawnCentre(track, slider->width() * 3 / 4);
        QVERIFY2(line > 0 && qAbs(knob - line) <= 1.0, qPrintable(QStringLiteral("%1 vs %2").arg(knob).arg(line)));
        // The double spin box shows the editor's 12-pixel font, not its parent's.
        QCOMPARE(spin->font().pixelSize(), 12);
        save(&panel, QStringLiteral("dark_skin"));
    }
};

RS_TEST_MAIN(TestGallery)
#include "tst_widgets_gallery.moc"
