// Renders every control in each of its states with the bundle's skin images into PNG sheets under
// <build>/gallery/, so the look can be reviewed by eye. Each sheet must come out non-empty.

#include "ControlTestImages.h"
#include "QCheckboxCombobox.h"
#include "QProgressIndicator.h"
#include "QProjectConfig.h"
#include "QZTBaseButton.h"
#include "QZTBaseSlider.h"
#include "QZTCheckBox.h"
#include "QZTDateTimeEdit.h"
#include "QZTDialog.h"
#include "QZTFontSubstitution.h"
#include "QZTLineEdit.h"
#include "QZTMenu.h"
#include "QZTMessageBox.h"
#include "QZTRadioButton.h"
#include "QZTScrollBar.h"
#include "QZTSpinBox.h"
#include "WindowInput.h"

#include <QListWidget>
#include <QtTest>

using namespace ctltest;

namespace {
const QColor kDark(37, 37, 37);
const QColor kLight(236, 236, 236);

QString res(const QString &path)
{
    return rstest::resourcesDir() + path;
}

// A sheet of labelled cells, written to <build>/gallery/<name>.png.
class Sheet
{
public:
    Sheet(const QString &name, const QColor &ground) : m_name(name), m_ground(ground) {}

    void add(const QString &label, QWidget *w)
    {
        w->ensurePolished();
        m_cells.append({label, render(w)});
        if (w->isVisible()) {
            const QStringList unreachable = rstest::unreachableControls(w->window());
            QVERIFY2(unreachable.isEmpty(),
                     qPrintable(label + QStringLiteral(": ") + unreachable.join(QStringLiteral("; "))));
        }
    }

    bool save() const
    {
        const int labelH = 16;
        int rowH = 0, cellW = 300;
        for (const auto &c : m_cells) {
            rowH = qMax(rowH, c.second.height());
            cellW = qMax(cellW, c.second.width() + 12);
        }
        const int columns = 3;
        const int rows = (m_cells.size() + columns - 1) / columns;
        QImage sheet(columns * cellW, rows * (rowH + labelH + 12) + 4, QImage::Format_ARGB32);
        sheet.fill(m_ground);
        QPainter p(&sheet);
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(11);
        p.setFont(font);
        for (int i = 0; i < m_cells.size(); ++i) {
            const int x = (i % columns) * cellW + 6, y = (i / columns) * (rowH + labelH + 12) + 4;
            p.setPen(m_ground.lightness() > 128 ? QColor(90, 90, 90) : QColor(160, 160, 160));
            p.drawText(QRect(x, y, cellW - 12, labelH), Qt::AlignLeft | Qt::AlignVCenter, m_cells.at(i).first);
            p.drawImage(x, y + labelH + 2, m_cells.at(i).second);
        }
        p.end();
        QDir().mkpath(rstest::buildDir() + QStringLiteral("/gallery"));
        return sheet.save(rstest::buildDir() + QStringLiteral("/gallery/") + m_name + QStringLiteral(".png"));
    }

    bool allCellsPainted() const
    {
        for (const auto &c : m_cells) {
            bool painted = false;
            for (int y = 0; y < c.second.height() && !painted; y += 2)
                for (int x = 0; x < c.second.width() && !painted; x += 2)
                    painted = c.second.pixelColor(x, y).alpha() > 0;
            if (!painted)
                return false;
        }
        return !m_cells.isEmpty();
    }

private:
    QString m_name;
    QColor m_ground;
    QVector<QPair<QString, QImage>> m_cells;
};

void whitePalette(QWidget *w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(101, 101, 101));
    w->setPalette(p);
}
} // namespace

class TestGallery : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void buttons();
    void checksAndRadios();
    void progressAndSliders();
    void fields();
    void combos();
    void scrollBarsMenusAndIndicator();
    void windows();
};

void TestGallery::initTestCase()
{
    useBundleResources();
    QZTFontSubstitution::install();
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(12);
    QApplication::setFont(font);
    QVERIFY2(QFile::exists(res(QStringLiteral("/pic/btn_common.png"))), "skin images not built");
}

void TestGallery::buttons()
{
    Sheet sheet(QStringLiteral("buttons"), kDark);
    const char *names[4] = {"normal", "hover", "pressed", "disabled"};
    for (const QString &strip :
         {QStringLiteral("/pic/btn_common.png"), QStringLiteral("/VEditSource/btn_common.png")}) {
        for (int k = 0; k < 4; ++k) {
            QZTBaseButton b;
            QVERIFY(b.setButtonImage(res(strip), true));
            b.setText(QStringLiteral("OK"));
            b.setTextColor(Qt::white, Qt::white, Qt::white, QColor(101, 101, 101));
            b.setBtnState(k);
            sheet.add(QStringLiteral("%1 %2").arg(strip.section(QLatin1Char('/'), -2), QLatin1String(names[k])), &b);
        }
    }
    // The light strips on the light panel they belong to, with the light routines' text colours.
    Sheet light(QStringLiteral("buttons_light"), kLight);
    for (const QString &strip :
         {QStringLiteral("/image/Common_bg/btn_common.png"), QStringLiteral("/image/Common_bg/btn_common1.png"),
          QStringLiteral("/image/Common_bg/btn_prefer.png")}) {
        for (int k = 0; k < 4; ++k) {
            QZTBaseButton b;
            QVERIFY(b.setButtonImage(res(strip), true));
            b.setText(QStringLiteral("OK"));
            b.setTextColor(Qt::white, Qt::white, Qt::white, QColor(111, 111, 111));
            b.setBtnState(k);
            light.add(QStringLiteral("%1 %2").arg(strip.section(QLatin1Char('/'), -1), QLatin1String(names[k])), &b);
        }
    }
    QVERIFY(light.allCellsPainted());
    QVERIFY(light.save());
    for (int k = 0; k < 4; ++k) {
        QZTBaseButton close;
        QVERIFY(close.setButtonImage(res(QStringLiteral("/pic/btn_close.png")), true));
        close.setBtnState(k);
        sheet.add(QStringLiteral("close %1").arg(QLatin1String(names[k])), &close);
    }
    QZTBaseButton wide;
    wide.setButtonImage(res(QStringLiteral("/pic/btn_common.png")), true);
    wide.resize(160, 28);
    wide.setText(QStringLiteral("Stretched nine-grid with a long caption that elides"));
    wide.setTextColor(Qt::white);
    sheet.add(QStringLiteral("stretched, elided"), &wide);
    QZTBaseButton badge;
    badge.setButtonImage(res(QStringLiteral("/pic/btn_common.png")), true);
    for (int i = 0; i < 7; ++i)
        badge.addItemCount();
    sheet.add(QStringLiteral("count badge"), &badge);
    QVERIFY(sheet.allCellsPainted());
    QVERIFY(sheet.save());
}

void TestGallery::checksAndRadios()
{
    for (const auto &skin :
         {qMakePair(QStringLiteral("/VEditSource/"), kDark), qMakePair(QStringLiteral("/image/Common_bg/"), kLight)}) {
        Sheet sheet(skin.first.contains(QLatin1String("VEdit")) ? QStringLiteral("checks_dark")
                                                                : QStringLiteral("checks_light"),
                    skin.second);
        for (int state = 0; state < 3; ++state) {
            QZTCheckBox box;
            QVERIFY(box.setCheckImage(res(skin.first + QStringLiteral("btn_check_on.png")),
                                      res(skin.first + QStringLiteral("btn_check_off.png")), QString(), false));
            if (skin.second == kDark)
                whitePalette(&box);
            box.setText(QStringLiteral("Apply to all clips"));
            box.adjustSize();
            box.setChecked(state == 1);
            box.setEnabled(state != 2);
            sheet.add(QStringLiteral("check %1").arg(state == 0 ? "off" : state == 1 ? "on" : "disabled"), &box);
            QZTRadioButton radio;
            QVERIFY(radio.setCheckImage(res(skin.first + QStringLiteral("Edit_selections_yes.png")),
                                        res(skin.first + QStringLiteral("Edit_selections_no.png")), false, false));
            if (skin.second == kDark)
                whitePalette(&radio);
            radio.setText(QStringLiteral("High - Speed mode - Fast and Lossless (Recommended)"));
            radio.adjustSize();
            radio.setChecked(state == 1);
            radio.setEnabled(state != 2);
            sheet.add(QStringLiteral("radio %1").arg(state == 0 ? "off" : state == 1 ? "on" : "disabled"), &radio);
        }
        QVERIFY(sheet.allCellsPainted());
        QVERIFY(sheet.save());
    }
}

void TestGallery::progressAndSliders()
{
    Sheet sheet(QStringLiteral("progress"), kDark);
    for (double v : {0.0, 3.0, 37.5, 100.0}) {
        QZTBaseProgress bar;
        bar.resize(220, 8);
        bar.setBottomImage(res(QStringLiteral("/VEditSource/slider_bottom.png")));
        bar.setTopImage(res(QStringLiteral("/VEditSource/slider_top.png")));
        bar.resetFormat();
        bar.setValue(v);
        sheet.add(QStringLiteral("image bar %1").arg(v), &bar);
    }
    for (double v : {0.0, 50.0, 100.0}) {
        QZTBaseProgress bar;
        bar.resize(220, 14);
        QPalette p = bar.palette();
        p.setColor(QPalette::Window, QColor(53, 53, 53));
        p.setColor(QPalette::Highlight, QColor(215, 63, 63));
        p.setColor(QPalette::WindowText, Qt::white);
        bar.setPalette(p);
        bar.setValue(v);
        sheet.add(QStringLiteral("colour bar %1%").arg(v), &bar);
    }
    // The colour-drawn layouts in the skin's colours, as the list rows set them: charcoal track, accent fill.
    auto skinned = [](QZTBaseProgress *bar) {
        QPalette p = bar->palette();
        p.setColor(QPalette::Window, QColor(53, 53, 53));
        p.setColor(QPalette::Highlight, QColor(215, 63, 63));
        p.setColor(QPalette::Base, QColor(53, 53, 53));
        p.setColor(QPalette::Shadow, QColor(78, 78, 82));
        p.setColor(QPalette::AlternateBase, QColor(37, 37, 37));
        bar->setPalette(p);
    };
    QZTBaseProgress vertical;
    skinned(&vertical);
    vertical.setProgressPolicy(QZTBaseProgress::Vertical);
    vertical.resize(8, 60);
    vertical.resetFormat();
    vertical.setValue(60);
    sheet.add(QStringLiteral("vertical 60%"), &vertical);
    QZTBaseProgress round;
    skinned(&round);
    round.setProgressPolicy(QZTBaseProgress::Round);
    round.resize(48, 48);
    round.resetFormat();
    round.setValue(70);
    sheet.add(QStringLiteral("round 70%"), &round);
    for (double v : {0.0, 50.0, 100.0}) {
        QZTBaseSlider slider;
        slider.resize(220, 22);
        slider.setBottomImage(res(QStringLiteral("/VEditSource/slider_bottom.png")));
        slider.setTopImage(res(QStringLiteral("/VEditSource/slider_top.png")));
        slider.setBtnImage(res(QStringLiteral("/VEditSource/slider_image.png")));
        slider.setBtnOffset(-4); // as the editor's sliders: the knob sits 4 below its image's middle
        slider.resetFormat();
        slider.setValue(v);
        sheet.add(QStringLiteral("slider %1").arg(v), &slider);
    }
    QVERIFY(sheet.allCellsPainted());
    QVERIFY(sheet.save());
}

void TestGallery::fields()
{
    Sheet sheet(QStringLiteral("fields"), kDark);
    QZTLineEdit edit;
    edit.resize(160, 22);
    edit.setBackgroundImage(res(QStringLiteral("/VEditSource/edit_background.png")));
    whitePalette(&edit);
    edit.setText(QStringLiteral("Watermark text"));
    sheet.add(QStringLiteral("line edit"), &edit);
    QZTLineEdit placeholder;
    placeholder.resize(160, 22);
    placeholder.setBackgroundImage(res(QStringLiteral("/image/Common_bg/edit.png")));
    placeholder.setPlaceholderText(QStringLiteral("Search"));
    placeholder.setPlaceholderTextColor(QColor(150, 150, 150), true);
    sheet.add(QStringLiteral("line edit, placeholder (light)"), &placeholder);
    QZTSpinBox spin;
    spin.resize(78, 22);
    spin.setBackgroundImage(res(QStringLiteral("/VEditSource/spinBox_bg.png")));
    spin.setUpAndDownBtnImage(res(QStringLiteral("/VEditSource/spinBox_up.png")),
                              res(QStringLiteral("/VEditSource/spinBox_down.png")), true);
    whitePalette(&spin);
    spin.setValue(42);
    spin.show();
    sheet.add(QStringLiteral("spin box"), &spin);
    QZTDoubleSpinBox dspin;
    dspin.resize(78, 22);
    dspin.setBackgroundImage(res(QStringLiteral("/VEditSource/spinBox_bg.png")));
    dspin.setUpAndDownBtnImage(res(QStringLiteral("/VEditSource/spinBox_up.png")),
                               res(QStringLiteral("/VEditSource/spinBox_down.png")), true);
    whitePalette(&dspin);
    dspin.setValue(1.5);
    dspin.show();
    sheet.add(QStringLiteral("double spin box"), &dspin);
    QZTTimeEdit time(QTime(0, 1, 30, 250));
    time.setDisplayFormat(QStringLiteral("hh:mm:ss.zzz"));
    time.resize(110, 22);
    time.setBackgroundImage(res(QStringLiteral("/VEditSource/spinBox_bg.png")));
    time.setUpAndDownBtnImage(res(QStringLiteral("/VEditSource/spinBox_up.png")),
                              res(QStringLiteral("/VEditSource/spinBox_down.png")), true);
    whitePalette(&time);
    time.show();
    sheet.add(QStringLiteral("time edit"), &time);
    spin.hide();
    dspin.hide();
    time.hide();
    QVERIFY(sheet.allCellsPainted());
    QVERIFY(sheet.save());
}

void TestGallery::combos()
{
    Sheet sheet(QStringLiteral("combos"), kDark);
    QZTComboBox combo;
    combo.resize(140, 22);
    combo.setBackgroundImage(res(QStringLiteral("/VEditSource/edit_background.png")));
    combo.setButtonImage(res(QStringLiteral("/VEditSource/cbb_trigonometric.png")), true);
    combo.setTextColor(Qt::white);
    combo.setItemBorder(1, QColor(53, 53, 53));
    combo.setItemBgColor(QColor(37, 37, 37));
    combo.setItemSelectedColor(QColor(53, 53, 53));
    combo.setItemTextColor(Qt::white);
    combo.setDrawTextMargins(5, 0, 22, 0);
    combo.setItemTextMargins(5, 0, 0, 0);
    combo.addItems({QStringLiteral("Track 1 - English"), QStringLiteral("Track 2 - German"),
                    QStringLiteral("Track 3 - a very long track name")});
    combo.show();
    sheet.add(QStringLiteral("combo"), &combo);
    combo.showPopup();
    QZTComboBoxItem *hovered = combo.rowAt(1);
    QTRY_VERIFY(hovered->isVisible());
    rstest::moveTo(combo.rowAt(0));
    rstest::moveTo(hovered);
    sheet.add(QStringLiteral("combo popup (row 2 hovered)"), combo.rowView());
    combo.hidePopup();

    QCheckboxCombobox checks;
    checks.resize(160, 22);
    checks.setBackgroundImage(res(QStringLiteral("/VEditSource/edit_background.png")));
    checks.setButtonImage(res(QStringLiteral("/VEditSource/cbb_trigonometric.png")), true);
    checks.setItemHoverColor(QColor(105, 105, 105));
    checks.setItemSelectedColor(QColor(53, 53, 53));
    checks.setCheckImage(res(QStringLiteral("/VEditSource/btn_check_on.png")),
                         res(QStringLiteral("/VEditSource/btn_check_off.png")));
    checks.setDrawTextMargins(5, 0, 22, 0);
    checks.setTextColor(Qt::white);
    checks.setItemBorder(1, QColor(53, 53, 53));
    checks.setItemBgColor(QColor(37, 37, 37));
    checks.setItemTextColor(Qt::white);
    checks.setCheckboxPos(QPoint(2, -1));
    checks.setItemTextMargins(18, 1, 1, 1);
    checks.setSeparatorColor(QColor(53, 53, 53));
    checks.addItems({QStringLiteral("Chapter 1"), QStringLiteral("Chapter 2"), QStringLiteral("Chapter 3")});
    checks.setCheckState(0, true);
    checks.setCheckState(2, true);
    checks.show();
    sheet.add(QStringLiteral("check combo (1 and 3 ticked)"), &checks);
    checks.showPopup();
    sheet.add(QStringLiteral("check combo popup"), checks.rowView());
    checks.hidePopup();
    QVERIFY(sheet.allCellsPainted());
    QVERIFY(sheet.save());
}

void TestGallery::scrollBarsMenusAndIndicator()
{
    Sheet sheet(QStringLiteral("scrollbars_menus"), kDark);
    QZTScrollBarStyleAttribute dark;
    dark.grooveColor = QColor(37, 37, 37);
    dark.arrowColors[0] = QColor(37, 37, 37);
    dark.trackColor = QColor(53, 53, 53);
    dark.normalColor = QColor(90, 90, 90);
    dark.hoverColor = QColor(120, 120, 120);
    dark.pressedColor = QColor(215, 63, 63);
    for (bool track : {false, true}) {
        QZTScrollBar bar(Qt::Horizontal);
        bar.resize(200, 10);
        bar.setRange(0, 100);
        bar.setPageStep(40);
        bar.setValue(30);
        dark.trackAlwaysShown = track;
        bar.setStyleAttribute(dark);
        sheet.add(track ? QStringLiteral("scroll bar, track shown") : QStringLiteral("scroll bar"), &bar);
    }
    QZTMenu menu;
    menu.setFrameColor(QColor(53, 53, 53));
    menu.setAreaColor(QColor(37, 37, 37));
    menu.setItemColor(QColor(37, 37, 37));
    menu.setItemTextColor(Qt::white);
    menu.setItemSelectColor(QColor(215, 63, 63));
    menu.setItemEabledColor(QColor(37, 37, 37));
    menu.setItemTextEabledColor(QColor(101, 101, 101));
    menu.setSeparatorColor(QColor(70, 70, 70));
    menu.setItemHeight(24);
    menu.addAction(QStringLiteral("Add File...\tCtrl+O"));
    QAction *checked = menu.addAction(QStringLiteral("Turn Off Computer"));
    checked->setCheckable(true);
    checked->setChecked(true);
    menu.addSeparator();
    menu.addAction(QStringLiteral("Disabled"))->setEnabled(false);
    menu.addMenu(QStringLiteral("Language"));
    menu.setActiveAction(menu.actions().at(0));
    menu.adjustSize();
    sheet.add(QStringLiteral("menu (first item highlighted)"), &menu);
    QProgressIndicator busy;
    busy.resize(32, 32);
    busy.setColor(Qt::white);
    busy.setDisplayedWhenStopped(true);
    sheet.add(QStringLiteral("busy indicator"), &busy);
    QVERIFY(sheet.allCellsPainted());
    QVERIFY(sheet.save());
}

void TestGallery::windows()
{
    QProjectConfig *config = QProjectConfig::getProjectConfig();
    config->setProjectName(QStringLiteral("Quorvane Reelsplice"));
    config->setTransparentMargins(8);
    Sheet sheet(QStringLiteral("windows"), QColor(90, 90, 96));
    for (int icon : {1, 3, 4}) {
        QZTMessageBox box;
        QPalette p = box.palette();
        p.setColor(QPalette::WindowText, Qt::white);
        p.setColor(QPalette::Text, Qt::white);
        box.setPalette(p);
        box.setButtonColor(Qt::white, Qt::white, Qt::white, QColor(101, 101, 101));
        box.setButtonStyle(icon == 1 ? QZTMessageBox::StyleYesNo : QZTMessageBox::StyleOk);
        box.setMessageIcon(QZTMessageBox::Icon(icon));
        box.setMessage(icon == 4 ? QStringLiteral("The output path is invalid!")
                                 : QStringLiteral("The merge finished.\n\nThe file is in the output folder."));
        box.show();
        sheet.add(QStringLiteral("message box, icon %1").arg(icon), &box);
        box.hide();
    }
    QZTDialog dlg;
    dlg.setBackgroundImage(res(QStringLiteral("/image/Common_bg/bg_1.png")), true);
    dlg.resize(280, 160);
    dlg.setDlgTitle(QStringLiteral("Frameless dialog, stretched"));
    dlg.setTitleRect(QRect(0, 8, 0, 0));
    dlg.setAlignment(Qt::AlignCenter);
    QPalette titled = dlg.palette();
    titled.setColor(QPalette::WindowText, Qt::white); // as the dialog routines set it, on the charcoal band
    dlg.setPalette(titled);
    sheet.add(QStringLiteral("frameless dialog"), &dlg);
    QVERIFY(sheet.allCellsPainted());
    QVERIFY(sheet.save());
}

RS_TEST_MAIN(TestGallery)
#include "tst_gallery.moc"
