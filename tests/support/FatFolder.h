#pragma once
// A folder on a FAT file system of its own, as on a USB stick or an SD card: an image file mounted by
// fusefat, or by the kernel where it has vfat. The mount goes with the object, whatever the test's outcome;
// one left behind by a test that was killed is taken down by the next.

#include <QProcess>
#include <QString>

namespace rstest {

class FatFolder
{
public:
    // `base` holds the image and the mount point; it is emptied first.
    explicit FatFolder(const QString &base);
    ~FatFolder();
    FatFolder(const FatFolder &) = delete;
    FatFolder &operator=(const FatFolder &) = delete;

    // False, with why(), where neither way of mounting works here.
    bool mount();
    QString path() const { return m_mountPoint; }
    QString why() const { return m_why; }

private:
    bool isMounted() const;
    bool mountedAs(long type) const;
    void unmount();

    QString m_base;
    QString m_mountPoint;
    QString m_why;
    QProcess m_fuse; // fusefat in the foreground, while it serves the mount
};

} // namespace rstest
