#pragma once
// One effect, frame or sound-effect package: a folder holding "config.xml" and the pictures it names.

#include <QList>
#include <QMap>
#include <QString>

struct FrameInfoItem
{
    QString fileName; // picture file inside the package folder
    int width = 0;    // its shape: pages pick the picture whose ratio is nearest the clip's
    int height = 0;
    int type = 0;
};

class QFrameChunk
{
public:
    // "<folder>/<thumbnail>": the list icon.
    QString getThumbnailImage() const;

    int appMinVersion = 0;
    int version = 0;
    QString name;
    QString thumbnail;
    QString folder; // absolute folder of the package's config.xml
    QString frameName;
    QList<FrameInfoItem> frameInfoList;
    QMap<double, double> eqMap; // equaliser points: hz -> db, ascending
    int rate = 100;             // audio rate in percent
};
