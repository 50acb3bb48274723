#pragma once
// Common set-up of every test executable: offscreen platform (unless a GL test asked for xcb), a fresh
// temporary HOME and QStandardPaths' test mode, so that a test never writes into a real user's folders.

#include <QApplication>
#include <QString>
#include <QtTest>

namespace rstest {

// Call before the QApplication exists.
void prepareEnvironment();

// The build tree's bundle, resource folder and source tree.
QString bundleDir();
QString resourcesDir();
QString sourceDir();
QString buildDir();

// A fresh folder below the temporary HOME, removed at exit.
QString scratchDir(const QString &name);

} // namespace rstest

#define RS_TEST_MAIN(TestObject)                                                                                       \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        rstest::prepareEnvironment();                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
