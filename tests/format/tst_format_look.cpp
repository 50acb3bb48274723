// The format chooser's drop-down list as a user opens it: the list speaks in the font of its field.

#include "FormatTestKit.h"
#include "FormatWidget.h"
#include "QCustomComboBox.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

class TestFormatLook : public QObject
{
    Q_OBJECT
private slots:
    void qualityListUsesTheFieldFont()
    {
        ftk::resetSettings();
        QWidget mainWindow;
        mainWindow.resize(1035, 623);
        FormatWidget *chooser = FormatWidget::getFormatWidget(&mainWindow);
        ftk::restoreChooser(chooser);
        chooser->show();
        QVERIFY(QTest::qWaitForWindowExposed(chooser));
        ftk::settle();
        QCustomComboBox *field = chooser->m_cmbQuality;
        QVERIFY(field->isEnabled() && field->count() > 1);
        rstest::clickAt(field, QPoint(field->width() / 3, field->height() / 2));
        QMenu *list = field->menu();
        QTRY_VERIFY_WITH_TIMEOUT(list->isVisible(), rstest::kHangBoundMs);
        const QRect shown = QRect(field->mapToGlobal(QPoint(0, 0)), field->QWidget::size()).united(list->geometry());
        QVERIFY(QGuiApplication::primaryScreen()
                    ->grabWindow(0, shown.x(), shown.y(), shown.width(), shown.height())
                    .save(rstest::galleryPath(QStringLiteral("QCustomComboBox-quality"))));
        const QFontInfo drawn(field->textFont()), listed(list->font());
        QVERIFY2(listed.pixelSize() == drawn.pixelSize() && listed.family() == drawn.family(),
                 qPrintable(QStringLiteral("field %1 %2px, list %3 %4px")
                                .arg(drawn.family())
                                .arg(drawn.pixelSize())
                                .arg(listed.family())
                                .arg(listed.pixelSize())));
        list->hide();
    }
};

RS_TEST_MAIN(TestFormatLook)
#include "tst_format_look.moc"
