#pragma once
// Reader of one output-profile catalogue (a property list): the categories, the profile tiles of a
// category, one value of a profile's basic information, codec display names, and for one profile and the
// user's current choices every allowed choice with its default. The catalogue is parsed once; every
// query walks the parsed values. Records handed out by pointer stay valid for the reader's life (their
// content is replaced by the next call of the same operation).

#include "FormatInfo.h"

#include <QVariantMap>

#include <map>
#include <memory>
#include <string>
#include <vector>

class QPlistRead
{
public:
    // The encoding-mode and the high-speed-mode reader; created from `path` on the first call, later
    // calls ignore it.
    static QPlistRead *getPlistRead(const std::string &path);
    static QPlistRead *getPlistLosslessRead(const std::string &path);
    // A reader over a catalogue in memory, in the encoding-mode slot (when that slot is still empty).
    static QPlistRead *getPlistRead1(const char *data, long long length);

    explicit QPlistRead(const std::string &path);
    QPlistRead(const char *data, long long length);
    ~QPlistRead();
    QPlistRead(const QPlistRead &) = delete;
    QPlistRead &operator=(const QPlistRead &) = delete;

    bool isLoaded() const { return m_pRootDict != nullptr; }

    std::vector<std::string> getCategories();
    // The tiles of a category; null when the name is empty or the category has no profiles.
    std::vector<FormatBaseInfo *> *getCategoriesInfoList(const std::string &category);
    // Null when the category or the id is empty. An "Auto" or empty choice takes the catalogue's default.
    FormatAllInfo *GetFormatInfoForPlist(const std::string &category, const std::string &id,
                                         const std::string &videoEncoder, const std::string &resolution,
                                         const std::string &audioEncoder, const std::string &channel);
    std::string getFormatInfoForKey(const std::string &category, const std::string &id, const std::string &key);
    std::string getCodecsForKey(const std::string &key);

    // Comma-list splits (appending to `out`): items trimmed of spaces, empty ones dropped, "0" = "Auto".
    static void analysisTextInfo(const std::string &text, std::vector<std::string> &out);
    static void analysisTextInfo(const std::string &text, const std::string &unit, std::vector<std::string> &out);
    // The audio encoders a filter ("VIDEO:A,B|VIDEO2:C") allows with one video encoder, appended to
    // `out`; false when the filter has no group for that encoder.
    static bool analysisFilter(const std::string &filter, const std::string &videoEncoder,
                               std::vector<std::string> &out);

private:
    bool findProfile(const std::string &category, const std::string &id, QVariantMap &profile) const;
    void fillVideo(const QVariantMap &profile, FormatAllInfo &info, std::string &videoEncoder, std::string &resolution,
                   std::string &filter);
    void fillAudio(const QVariantMap &profile, FormatAllInfo &info, const std::string &filter,
                   std::string &audioEncoder, std::string &channel);

    std::string m_plistPath;
    std::vector<FormatBaseInfo *> *m_pFormatList = nullptr;
    FormatAllInfo *m_pFormatAllInfo = nullptr;
    std::vector<std::string> m_vecCategories;
    std::unique_ptr<QVariantMap> m_pRootDict;

    // Tile lists by category, built once (the catalogue never changes), so handed-out lists and their
    // records stay valid.
    std::map<std::string, std::vector<FormatBaseInfo *>> m_lists;
    std::vector<std::unique_ptr<FormatBaseInfo>> m_records;
    FormatAllInfo m_formatAllInfo;

    static QPlistRead *m_self;
    static QPlistRead *m_selfLossless;
};

// Removes leading and trailing ' ' in place and returns the same text.
std::string &trim(std::string &text);
// The text under `key` of a value dictionary (the empty key means "supports"); empty when absent.
std::string getDictValue(const QVariantMap &dict, const std::string &key);
