#pragma once
// The snapshot settings of the clip editor: image format and folder, in "VedioEditDefaultSetting.xml" of the
// application-data folder (root ROOTITEM, element Screenshots, attributes IMG_SUFFIX and IMG_Folder). Every
// call reads the file afresh; getters add a missing entry with its default, setters create what is missing.
// The file is written atomically with a UTF-8 declaration first; one that does not parse is kept aside
// (".bad") before it is replaced.

#include <QString>

class QVedioEditSettingXml
{
public:
    static QString filePath();

    static QString getCaptureImgSuffix();
    // False when the value could not be saved.
    static bool setCaptureImgSuffix(const QString &suffix);
    static QString getCaptrueImaSavePath();
    static bool setCaptrueImaPath(const QString &folder);
    // A snapshot file inside the stored folder; the folder may be stored with or without its final "/".
    static QString captureFilePath(const QString &fileName);

    static QString GetItemValue(const QString &tag, const QString &attribute, const QString &defaultValue);
    static bool SetItemValue(const QString &tag, const QString &attribute, const QString &value);

private:
    static QString readValue(const QString &tag, const QString &attribute, const QString &defaultValue,
                             bool storeDefaultWhenEmpty);
    static QString defaultCaptureFolder();
};
