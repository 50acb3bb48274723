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

// <build>/gallery/<name>.png, where the window tests keep their screenshots; the folder is made when missing.
QString galleryPath(const QString &name);

// A fresh folder below the temporary HOME, removed at exit.
QString scratchDir(const QString &name);

// A full disk for this process, as long as the object lives: any file it writes beyond `bytes` fails to grow
// (EFBIG). Works as root and needs no file system of its own.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    qint64 m_previous = -1;
};

// The bound of every "does not hang" wait: many times what a prompt stop or wake-up takes on an idle
// machine, because CI machines are shared and busy. How fast something is belongs to bench/.
constexpr int kHangBoundMs = 10000;

// Long units are split into shards that ctest runs in parallel (SHARDS in rs_add_qtest). Every call is one
// unit of work, dealt round-robin to the shards: each shard answers true for its own units only. All shards
// make the same calls in the same order, so every unit runs exactly once. Use RS_SHARD_UNIT().
bool takesShardUnit();

} // namespace rstest

// The first statement of each costly test function of a sharded unit (once per data row): a row that
// belongs to another shard is skipped there.
#define RS_SHARD_UNIT()                                                                                                \
    do {                                                                                                               \
        if (!rstest::takesShardUnit())                                                                                 \
            QSKIP("run by another shard");                                                                             \
    } while (false)

#define RS_TEST_MAIN(TestObject)                                                                                       \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        rstest::prepareEnvironment();                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
