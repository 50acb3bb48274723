#pragma once
// The user's settings and small records in XML files of the application-data folder, and the read-only
// XML catalogues of the resource folder. Every operation loads the whole file, changes the document and
// writes the whole file back atomically; nothing is held in memory between calls except the records that
// the readers hand out by pointer (each lives in storage of the class, so a pointer stays valid; its
// content is replaced by the next call of the same reader).

#include "ConvertedInfo.h"
#include "FormatInfo.h"
#include "QualitySet.h"
#include "SettingKeys.h"

#include <QDomDocument>
#include <QPair>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QVideoSettingXml
{
public:
    QVideoSettingXml() {}

    // Whether a written file begins with an XML declaration.
    enum class XmlDeclaration { Omitted, Utf8 };

    // --- shared by every file ---
    // Loads a file. False when it cannot be opened. A file that does not parse reads as a document with
    // an empty ROOTITEM root; *parsed (when given) tells the two cases apart.
    static bool isValidFile(const QString &path, QDomDocument &doc, bool *parsed = nullptr);
    // Writes atomically (the old file stays whole when the write fails); false on failure.
    static bool SaveXml(const QString &path, const QDomDocument &doc,
                        XmlDeclaration declaration = XmlDeclaration::Omitted);
    static std::string &trim(std::string &text);

    // --- settings store "VideoDefaultSetting.xml" ---
    static QString settingsFilePath();
    static QString GetItemValue(const QString &tag, const QString &attribute, const QString &defaultValue);
    // Stores the value, creating the file and the element when missing; false when it could not be saved.
    static bool SetItemValue(const QString &tag, const QString &attribute, const QString &value);
    static QString GetItemValue(const SettingKey &key);
    static bool SetItemValue(const SettingKey &key, const QString &value);

    // --- the same key store in another file of its shape (ROOTITEM, one element per tag) ---
    // Reads one key; a missing element is created with the default. `fillEmpty` also stores the default
    // in an existing element whose attribute is missing or empty. An unchanged file is not rewritten.
    static QString readKeyIn(const QString &path, const QString &tag, const QString &attribute,
                             const QString &defaultValue, bool fillEmpty,
                             XmlDeclaration declaration = XmlDeclaration::Omitted);
    // Stores the value, creating the file and the element when missing; false when it could not be saved.
    static bool writeKeyIn(const QString &path, const QString &tag, const QString &attribute, const QString &value,
                           XmlDeclaration declaration = XmlDeclaration::Omitted);

    static QString getCaptureImgSuffix();
    static void setCaptureImgSuffix(const QString &suffix);
    static QString getCaptrueImaSavePath();
    static void setCaptrueImaPath(const QString &path);

    // --- custom quality file "VideoDefaultFormatSetting.xml" ---
    static QualitySet *GetDefaultFormat(const QString &formatId, QualitySet *unused = nullptr);
    static bool SetDefaultFormat(const QString &formatId, const QualitySet *quality);

    // --- output history "VideoConverted.xml" ---
    static void SaveConvertedInfo(const convertedInfo *info);
    static void SetConvertedPath(const QString &path);
    static QStringList GetConvertedPath();
    static void DeleteConvertedPath(QStringList paths);
    static convertedInfo *GetConvertedInfo(const QString &path);

    // --- language list ---
    static QStringList GetLanguage(const QString &listPath);
    // (Language_File, Language_Type) of the last entry named `name`.
    static QPair<QString, QString> GetLanguageFile(const QString &listPath, const QString &name);

    // --- format-settings catalogue "VideoSetting.xml" (read only) ---
    static FormatAllInfo *GetFormatAllInfo(const QString &formatKey);
    static QualitySet *GetQuality(const QString &presetTag, const QString &formatKey);
    static FileFormatInfo *GetFormatInfo(const QString &formatKey);
    static void analysisTextInfo(const std::string &text, std::vector<std::string> &out);
    static void analysisTextInfo(const std::string &text, const std::string &unit, std::vector<std::string> &out);
    static QString addUnit(const QString &value, const QString &attributeName);

    // Records handed out by the readers above; null until the first call of their reader.
    static QualitySet *m_defaultQualitySet;
    static convertedInfo *m_convertInfo;
    static FormatAllInfo *m_formatInfo;
    static QualitySet *m_highQualitySet;
    static FileFormatInfo *m_fileFormatInfo;

private:
    // Loads a file that is about to be rewritten: a missing file starts a new document; a file that does
    // not parse is kept aside (".bad") so the rewrite cannot destroy what the user had. False when an
    // existing file cannot be read, or cannot be kept aside (nothing may then be written).
    static bool loadForUpdate(const QString &path, QDomDocument &doc);
    static QDomElement firstChildByTag(const QDomElement &parent, const QString &tag);
    static QDomElement firstChildByAttribute(const QDomElement &parent, const QString &attribute, const QString &value);
    // `found` itself, or, when it is null, a new <tag> element appended to parent.
    static QDomElement orNewChild(const QDomElement &found, QDomDocument &doc, QDomElement parent, const QString &tag);
    // The first child whose attribute has the value, or a new <tag> element with it appended to parent.
    static QDomElement childByAttributeOrNew(QDomDocument &doc, QDomElement parent, const QString &tag,
                                             const QString &attribute, const QString &value);
    // readKeyIn() on the settings store.
    static QString readKey(const QString &tag, const QString &attribute, const QString &defaultValue, bool fillEmpty);
};
