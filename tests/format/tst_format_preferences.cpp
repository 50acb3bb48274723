// The preferences dialog and its two pages: what they read, what OK writes, and that Cancel writes
// nothing; screenshots of both pages.

#include "ConvertWidget.h"
#include "FormatTestKit.h"
#include "GeneralWidget.h"
#include "QCheckButton.h"
#include "QConverterOperate.h"
#include "QIAnyUtil.h"
#include "QImageButton.h"
#include "QPreferencesDlg.h"
#include "QTextImageButton.h"
#include "QVideoSettingXml.h"
#include "SettingKeys.h"
#include "TestSupport.h"
#include "WindowInput.h"

#include <QSignalSpy>

class TestFormatPreferences : public QObject
{
    Q_OBJECT
private:
    QByteArray settingsBytes()
    {
        QFile f(QVideoSettingXml::settingsFilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString value(const SettingKey &key) { return QVideoSettingXml::GetItemValue(key); }

private slots:
    void init()
    {
        ftk::resetSettings();
        QConverterOperate::setConverterPath(QStringLiteral("/unchanged/"));
        ConvertWidget::setFolderChooser(nullptr);
    }

    void firstOpeningShowsDefaults()
    {
        QPreferencesDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        GeneralWidget *general = dlg.generalPage();
        ConvertWidget *convert = dlg.convertPage();
        QVERIFY(general->isVisible());
        QVERIFY(convert->isHidden());
        QVERIFY(general->m_radCloseUpdate->isChecked());
        QVERIFY(!general->m_radAutoUpdate->isChecked());
        QVERIFY(general->m_radExit->isChecked());
        QVERIFY(general->m_GroupLanguage->isHidden());
        QCOMPARE(general->m_cmbLan->count(), 0);
        QVERIFY(!general->getChangeLanguage()); // nothing read, nothing chosen
        QCOMPARE(dlg.size(), QSize(441, 321));
        QCOMPARE(dlg.m_btnOk->x() + dlg.m_btnOk->width(), 441 - 28);
        QCOMPARE(value(SettingKeys::AutoUpdate), QStringLiteral("N"));
        QCOMPARE(value(SettingKeys::CloseQuits), QStringLiteral("Y"));
        QVERIFY(ftk::shoot(&dlg, QStringLiteral("QPreferencesDlg-General")));

        ftk::click(dlg.pageButtons().at(1));
        QVERIFY(convert->isVisible());
        QVERIFY(general->isHidden());
        QVERIFY(!convert->m_chkShowDown->isChecked());
        QCOMPARE(convert->outputPath(), QIAnyUtil::getDocumentPath() + QStringLiteral("/Converted/"));
        QCOMPARE(convert->m_pathTextEdit->toPlainText(), convert->outputPath());
        QVERIFY(ftk::shoot(&dlg, QStringLiteral("QPreferencesDlg-Convert")));
        // The shown page's button again changes nothing.
        ftk::click(dlg.pageButtons().at(1));
        QVERIFY(convert->isVisible());
    }

    void okWritesWhatChanged_data()
    {
        QTest::addColumn<bool>("toggleUpdate");
        QTest::addColumn<bool>("toggleBack");
        QTest::addColumn<bool>("toggleClose");
        QTest::addColumn<int>("announced");
        QTest::newRow("nothing") << false << false << false << 0;
        QTest::newRow("update on") << true << false << false << 1;
        QTest::newRow("update on and off again") << true << true << false << 0;
        QTest::newRow("close only") << false << false << true << 0;
    }
    void okWritesWhatChanged()
    {
        QFETCH(bool, toggleUpdate);
        QFETCH(bool, toggleBack);
        QFETCH(bool, toggleClose);
        QPreferencesDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QSignalSpy updates(&dlg, &QPreferencesDlg::emitAutoUpdate);
        GeneralWidget *general = dlg.generalPage();
        if (toggleUpdate)
            ftk::click(general->m_radAutoUpdate, QPoint(5, 8));
        if (toggleBack)
            ftk::click(general->m_radCloseUpdate, QPoint(5, 8));
        if (toggleClose)
            ftk::click(general->m_radMin, QPoint(5, 8));
        QVERIFY(general->m_radAutoUpdate->isChecked() != general->m_radCloseUpdate->isChecked());
        ftk::click(dlg.m_btnOk);
        QVERIFY(dlg.isHidden());
        QTEST(int(updates.count()), "announced");
        if (!updates.isEmpty())
            QCOMPARE(updates.first().first().toBool(), true);
        QCOMPARE(value(SettingKeys::AutoUpdate),
                 toggleUpdate && !toggleBack ? QStringLiteral("Y") : QStringLiteral("N"));
        QCOMPARE(value(SettingKeys::CloseQuits), toggleClose ? QStringLiteral("N") : QStringLiteral("Y"));
        // OK always stores the turn-off choice and hands the folder on.
        QCOMPARE(value(SettingKeys::ShutdownComputer), QStringLiteral("N"));
        QCOMPARE(QConverterOperate::getConverterPath(), QIAnyUtil::getDocumentPath() + QStringLiteral("/Converted/"));

        // A new opening reads what was stored and writes nothing again.
        QPreferencesDlg again;
        QSignalSpy none(&again, &QPreferencesDlg::emitAutoUpdate);
        again.OnBtnOk();
        QCOMPARE(none.count(), 0);
    }

    void folderChoice_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("shown");
        QTest::newRow("cancelled") << QString() << QString();
        QTest::newRow("plain") << "/media/out"
                               << "/media/out/";
        QTest::newRow("already ends in /") << "/"
                                           << "//";
        QTest::newRow("trailing slash") << "/media/out/"
                                        << "/media/out//";
    }
    void folderChoice()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, shown);
        ConvertWidget::setFolderChooser([chosen](QWidget *, const QString &caption) {
            return caption == QLatin1String("Save to") ? chosen : QString();
        });
        QPreferencesDlg dlg;
        dlg.show();
        ftk::click(dlg.pageButtons().at(1));
        ConvertWidget *convert = dlg.convertPage();
        const QString before = convert->outputPath();
        ftk::click(convert->m_btnChange);
        const QString expected = shown.isEmpty() ? before : shown;
        QCOMPARE(convert->outputPath(), expected);
        QCOMPARE(convert->m_pathTextEdit->toPlainText(), expected);
        ftk::click(convert->m_chkShowDown, QPoint(5, 8));
        QVERIFY(convert->m_chkShowDown->isChecked());
        ftk::click(dlg.m_btnOk);
        QCOMPARE(QConverterOperate::getConverterPath(), expected);
        QCOMPARE(value(SettingKeys::ShutdownComputer), QStringLiteral("Y"));
        // The dialog never writes the folder itself: the main window does once it closed.
        QCOMPARE(value(SettingKeys::OutputPath), before);
    }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("close button") << 1;
        QTest::newRow("Escape") << 2;
    }
    void cancelWritesNothing()
    {
        QFETCH(int, how);
        ConvertWidget::setFolderChooser([](QWidget *, const QString &) { return QStringLiteral("/media/x"); });
        QPreferencesDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QByteArray stored = settingsBytes();
        QVERIFY(!stored.isEmpty());
        QSignalSpy updates(&dlg, &QPreferencesDlg::emitAutoUpdate);
        ftk::click(dlg.generalPage()->m_radAutoUpdate, QPoint(5, 8));
        ftk::click(dlg.generalPage()->m_radMin, QPoint(5, 8));
        ftk::click(dlg.pageButtons().at(1));
        ftk::click(dlg.convertPage()->m_btnChange);
        ftk::click(dlg.convertPage()->m_chkShowDown, QPoint(5, 8));
        ftk::click(dlg.convertPage()->m_btnReset);
        if (how == 0)
            ftk::click(dlg.m_btnCancel);
        else if (how == 1)
            ftk::click(dlg.closeButton());
        else
            rstest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(dlg.isHidden());
        QCOMPARE(updates.count(), 0);
        QCOMPARE(settingsBytes(), stored);
        QCOMPARE(QConverterOperate::getConverterPath(), QStringLiteral("/unchanged/"));
    }

    void storedValuesAreShown()
    {
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::AutoUpdate, QStringLiteral("Y")));
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::CloseQuits, QStringLiteral("yes"))); // only "Y" counts
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::ShutdownComputer, QStringLiteral("Y")));
        QVERIFY(QVideoSettingXml::SetItemValue(SettingKeys::OutputPath, QStringLiteral("C:\\kept\\as is")));
        QPreferencesDlg dlg;
        QVERIFY(dlg.generalPage()->m_radAutoUpdate->isChecked());
        QVERIFY(dlg.generalPage()->m_radMin->isChecked());
        QVERIFY(dlg.convertPage()->m_chkShowDown->isChecked());
        QCOMPARE(dlg.convertPage()->outputPath(), QStringLiteral("C:\\kept\\as is"));
    }
};

RS_TEST_MAIN(TestFormatPreferences)
#include "tst_format_preferences.moc"
