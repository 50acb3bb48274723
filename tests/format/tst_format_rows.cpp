// The chooser's category rows as shown: buttons side by side from the row's left edge, none apart, both
// modes; a folder set on the Convert page is handed on exactly as given.

#include "CategoriesBtnWgt.h"
#include "ConvertWidget.h"
#include "FormatTestKit.h"
#include "FormatWidget.h"
#include "QConverterOperate.h"
#include "QTextImageButton.h"
#include "TestSupport.h"
#include "WindowInput.h"

class TestFormatRows : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { ftk::resetSettings(); }

    void categoryButtonsTouch_data()
    {
        QTest::addColumn<bool>("lossless");
        QTest::newRow("encoding") << false;
        QTest::newRow("high-speed") << true;
    }
    void categoryButtonsTouch()
    {
        QFETCH(bool, lossless);
        QWidget owner;
        owner.resize(1035, 623);
        FormatWidget *chooser = FormatWidget::getFormatWidget(&owner);
        ftk::restoreChooser(chooser);
        if (lossless) {
            int warnings = 0;
            ftk::closeNextModal(&warnings); // the warning about the advanced settings
            chooser->OnClickLossless();
            chooser->OnClickLosslessShow();
        }
        chooser->show();
        QVERIFY(QTest::qWaitForWindowExposed(chooser));
        ftk::settle();
        CategoriesBtnWgt *row = lossless ? chooser->m_btnCategoriesLosslessWgt : chooser->m_btnCategoriesWgt;
        const QList<QTextImageButton *> buttons = lossless ? chooser->typeLosslessButtons() : chooser->typeButtons();
        QVERIFY(row->isVisible());
        QVERIFY(buttons.size() >= 2);
        int x = 0;
        for (QTextImageButton *b : buttons) {
            QCOMPARE(b->parentWidget(), static_cast<QWidget *>(row));
            QCOMPARE(b->geometry().topLeft(), QPoint(x, 0));
            QVERIFY(rstest::isOnTopAt(b));
            x += b->width();
        }
        QVERIFY(x <= row->width());
        const QRect shown = row->geometry().adjusted(-10, -10, 10, 10);
        QVERIFY(chooser->grab(shown).save(rstest::galleryPath(lossless ? QStringLiteral("CategoriesBtnWgt-lossless")
                                                                       : QStringLiteral("CategoriesBtnWgt"))));
    }

    // The folder given to the page is shown and handed on unchanged (no "/" added or taken away).
    void setOutPathHandsTheFolderOn()
    {
        QConverterOperate::setConverterPath(QStringLiteral("/unchanged/"));
        ConvertWidget page;
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        for (const QString &folder : {QStringLiteral("/srv/out"), QStringLiteral("/srv/out//")}) {
            page.SetOutPath(folder);
            QCOMPARE(page.m_pathTextEdit->toPlainText(), folder);
            page.saveSetting();
            QCOMPARE(QConverterOperate::getConverterPath(), folder);
        }
    }
};

RS_TEST_MAIN(TestFormatRows)
#include "tst_format_rows.moc"
