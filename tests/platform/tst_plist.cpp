#include "PropertyList.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QFile>

class TestPlist : public QObject
{
    Q_OBJECT
private:
    static QVariantMap sample()
    {
        return QVariantMap{
            {"text", QString::fromUtf8("Grüße ✓")},
            {"yes", true},
            {"no", false},
            {"count", qlonglong(42)},
            {"negative", qlonglong(-7)},
            {"ratio", 2.5},
            {"bytes", QByteArray("\x00\x01\xff", 3)},
            {"when", QDateTime(QDate(2020, 5, 17), QTime(10, 30, 15), Qt::UTC)},
            {"list", QVariantList{QString("a"), qlonglong(1), QVariantMap{{"deep", QString("x")}}}},
            {"empty", QVariantMap{}},
        };
    }

private slots:
    void roundTrips_data()
    {
        QTest::addColumn<bool>("binary");
        QTest::newRow("xml") << false;
        QTest::newRow("binary") << true;
    }
    void roundTrips()
    {
        QFETCH(bool, binary);
        QByteArray data;
        QVERIFY(binary ? PropertyList::toBinary(sample(), data) : PropertyList::toXml(sample(), data));
        QCOMPARE(data.startsWith("bplist00"), binary);
        QVariant back;
        QVERIFY(PropertyList::fromData(data, back));
        const QVariantMap map = back.toMap();
        const QVariantMap want = sample();
        QCOMPARE(map.keys(), want.keys());
        for (const QString &key : want.keys())
            QVERIFY2(map.value(key) == want.value(key), qPrintable(key + ": " + map.value(key).toString()));
    }

    void readsAHandWrittenXmlList()
    {
        const QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                               "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                               "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                               "<plist version=\"1.0\"><dict>\n"
                               "  <key>Categories</key><array><string>Devices</string><string>Web</string></array>\n"
                               "  <key>flag</key><true/>\n"
                               "  <key>n</key><integer>12</integer>\n"
                               "</dict></plist>";
        QVariant root;
        QVERIFY(PropertyList::fromData(xml, root));
        QCOMPARE(root.toMap().value("Categories").toStringList(), (QStringList{"Devices", "Web"}));
        QCOMPARE(root.toMap().value("flag").toBool(), true);
        QCOMPARE(root.toMap().value("n").toLongLong(), 12LL);
    }

    void refusesWhatIsNoList_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("hello world");
        QTest::newRow("truncated binary") << QByteArray("bplist00\xd1\x01\x02", 11);
        QTest::newRow("broken xml") << QByteArray("<plist><dict><key>a</key>");
        // XML cannot hold U+0000: the reader took it into a string and aborted the process on reading it.
        const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>";
        QTest::newRow("xml string with a NUL byte")
            << head + "k</key><string>a" + QByteArray(1, '\0') + "b</string></dict></plist>";
        QTest::newRow("xml key with a NUL byte")
            << head + "k" + QByteArray(1, '\0') + "</key><string>ab</string></dict></plist>";
        // {"k": "\u00e9\u0000x"}: a UTF-16 string holding U+0000, and the same with a lone surrogate.
        QTest::newRow("binary string with U+0000")
            << QByteArray::fromHex("62706c6973743030d10102516b6300e900000078080b0d000000000000010100000000000000030000"
                                   "0000000000000000000000000014");
        QTest::newRow("binary string with a lone surrogate")
            << QByteArray::fromHex("62706c6973743030d10102516b6300e9d8000078080b0d000000000000010100000000000000030000"
                                   "0000000000000000000000000014");
    }
    void refusesWhatIsNoList()
    {
        QFETCH(QByteArray, data);
        QVariant root = QString("stale");
        QVERIFY(!PropertyList::fromData(data, root));
        QVERIFY(!root.isValid());
    }

    void filesAreWrittenWhole()
    {
        const QString dir = rstest::scratchDir("plist");
        const QString path = dir + "/Info.plist";
        QVERIFY(PropertyList::writeXmlFile(path, sample()));
        QVariant root;
        QVERIFY(PropertyList::readFile(path, root));
        QCOMPARE(root.toMap().value("count").toLongLong(), 42LL);
        // A value a property list cannot hold is refused and the old file stays.
        QVERIFY(!PropertyList::writeXmlFile(path, QVariantMap{{"bad", QVariant::fromValue(QPoint(1, 2))}}));
        QVERIFY(PropertyList::readFile(path, root));
        QCOMPARE(root.toMap().value("count").toLongLong(), 42LL);
        QVERIFY(!PropertyList::readFile(dir + "/none.plist", root));
        QVERIFY(!PropertyList::writeXmlFile(dir + "/no/such/dir/x.plist", sample()));
    }
};

RS_TEST_MAIN(TestPlist)
#include "tst_plist.moc"
