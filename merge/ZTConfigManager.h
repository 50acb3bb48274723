#pragma once
// Hands one clip's edit record to a codec-library edit configuration, section by section, so that a
// conversion or merge applies the user's edits while it encodes. Trim, chapters and tags are not part of
// it (the converter gives the range and chapters; tags are written separately).

#include "VEEditConfig.h"

#include <QObject>

class ZTConfigManager : public QObject
{
    Q_OBJECT
public:
    explicit ZTConfigManager(QObject *parent = nullptr) : QObject(parent) {}

    static void setEditConfig(void *edit, VEEditConfig config);
    static void setConfigSubtitleSettings(void *edit, VESubtitleSettings settings);
    static void setConfigWatermarkSettings(void *edit, VEWatermarkSettings settings, int slot);
    static void setConfigAudioBackgroundSettings(void *edit, VEAudioBackgroundSettings settings, int slot);
    static void setConfigCropSettings(void *edit, VECropSettings settings, int videoWidth, int videoHeight);
    static void setAudioSettings(void *edit, VEAudioSettings settings);
    static void setConfigEqualizeSettings(void *edit, VEEqualizeSettings settings);

    // A font family as the library takes it: a leading "@" dropped; never null.
    static QByteArray fontForLibrary(const QByteArray &name);
    // The record's hue, degrees (-180..180 from the Effect page, any turn accepted), as the library's hue: a turn
    // of 0..200 steps of 1.8 degrees, so a turn back is the same turn forward.
    static int hueForLibrary(int degrees);
};
