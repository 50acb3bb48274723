#pragma once
// The encoding-mode output settings of the profile catalogue's "HD Video" profile, for tests that join
// clips with it. Header only: the support library itself does not link the program's libraries, the tests
// that include this do.

#include "AttributeSetting.h"
#include "QPlistRead.h"
#include "ZTAVCodecAnalysis.h"

#include <QString>

namespace rstest {

// Chooses the profile's own codecs at the given frame size, 25 fps and `videoKbps`, with 44.1 kHz stereo
// sound at 128 kb/s, as the settings panel stores a choice. False when the catalogue, the profile or one
// of its codecs is missing.
inline bool useCatalogueProfile(const QString &cataloguePath, int width, int height, int videoKbps)
{
    QPlistRead reader(cataloguePath.toStdString());
    FormatAllInfo *info =
        reader.isLoaded() ? reader.GetFormatInfoForPlist("HD Video", "2001", "Auto", "Auto", "Auto", "Auto") : nullptr;
    if (!info)
        return false;
    AttributeSetting a;
    a.nQuality = 1;
    a.fileFormat = QString::fromStdString(info->strExt);
    a.fileExtend = QString::fromStdString(info->strExt);
    a.VEncoder = QString::fromStdString(info->strVideoEncoder);
    a.VCodecsId = int(ZTAVCodecAnalysis::codecIDOfFourcc(info->strVideoEncoder));
    a.VWidth = width;
    a.VHeight = height;
    a.VFrameRate_fps = 25;
    a.VFrameRate_scale = 1;
    a.VBitRate = videoKbps;
    a.AEncoder = QString::fromStdString(info->strAudioEncoder);
    a.ACodecsId = int(ZTAVCodecAnalysis::codecIDOfFourcc(info->strAudioEncoder));
    a.AChannel = 2;
    a.ASampleRate = 44100;
    a.ABitRate = 128;
    QSettingDlgState::setAttributeSetting(a);
    return a.VCodecsId != 0 && a.ACodecsId != 0;
}

} // namespace rstest
