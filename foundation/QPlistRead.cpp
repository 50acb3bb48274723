#include "QPlistRead.h"

#include "CommaList.h"
#include "PropertyList.h"

#include <QString>
#include <QVariantList>

#include <cctype>

QPlistRead *QPlistRead::m_self = nullptr;
QPlistRead *QPlistRead::m_selfLossless = nullptr;

namespace {

// The two process-wide readers live until the process ends.
std::unique_ptr<QPlistRead> &selfHolder()
{
    static std::unique_ptr<QPlistRead> s_reader;
    return s_reader;
}

std::unique_ptr<QPlistRead> &losslessHolder()
{
    static std::unique_ptr<QPlistRead> s_reader;
    return s_reader;
}

QString q(const std::string &s)
{
    return QString::fromStdString(s);
}

// A missing or non-text value reads as the empty text.
std::string text(const QVariantMap &dict, const char *key)
{
    const QVariant v = dict.value(QLatin1String(key));
    return v.canConvert<QString>() ? v.toString().toStdString() : std::string();
}

QVariantMap dict(const QVariantMap &parent, const char *key)
{
    return parent.value(QLatin1String(key)).toMap();
}

std::string trimmed(std::string s)
{
    return trimSpaces(s);
}

// One choice list of a value dictionary: "Auto" first when the profile offers it, then the "supports"
// items with their unit. Answers the dictionary's "default" with the unit.
std::string fillChoices(const QVariantMap &values, bool withAuto, const std::string &unit,
                        std::vector<std::string> &list)
{
    if (withAuto)
        list.push_back("Auto");
    appendCommaList(getDictValue(values, std::string()), unit, list);
    return getDictValue(values, "default") + unit;
}

// Walks the parameter entries of one encoder ("videoparams" by resolution, "audioparams" by channel):
// each entry's text joins `list`; the first entry of the encoder is the fallback choice and the last one
// whose text equals `wanted` wins. False when the encoder has no entry; entries without a key are skipped.
bool chooseParams(const QVariantMap &profile, const char *listKey, const std::string &encoder, const char *textKey,
                  const std::string &wanted, std::vector<std::string> &list, std::string &chosenText,
                  QVariantMap &chosen)
{
    bool haveChosen = false;
    for (const QVariant &v : profile.value(QLatin1String(listKey)).toList()) {
        const QVariantMap entry = v.toMap();
        const std::string fourcc = trimmed(text(entry, "fourcc"));
        if (fourcc.empty() || fourcc != encoder)
            continue;
        const std::string entryText = text(entry, textKey);
        list.push_back(entryText);
        if (!haveChosen || entryText == wanted) {
            chosenText = entryText;
            chosen = entry;
            haveChosen = true;
        }
    }
    return haveChosen;
}

} // namespace

std::string &trim(std::string &text)
{
    return trimSpaces(text);
}

std::string getDictValue(const QVariantMap &dict, const std::string &key)
{
    const std::string name = key.empty() ? std::string("supports") : key;
    return text(dict, name.c_str());
}

QPlistRead *QPlistRead::getPlistRead(const std::string &path)
{
    if (!m_self) {
        selfHolder() = std::make_unique<QPlistRead>(path);
        m_self = selfHolder().get();
    }
    return m_self;
}

QPlistRead *QPlistRead::getPlistLosslessRead(const std::string &path)
{
    if (!m_selfLossless) {
        losslessHolder() = std::make_unique<QPlistRead>(path);
        m_selfLossless = losslessHolder().get();
    }
    return m_selfLossless;
}

QPlistRead *QPlistRead::getPlistRead1(const char *data, long long length)
{
    if (!m_self) {
        selfHolder() = std::make_unique<QPlistRead>(data, length);
        m_self = selfHolder().get();
    }
    return m_self;
}

QPlistRead::QPlistRead(const std::string &path) : m_plistPath(path)
{
    QVariant root;
    if (PropertyList::readFile(q(path), root) && root.type() == QVariant::Map)
        m_pRootDict = std::make_unique<QVariantMap>(root.toMap());
}

QPlistRead::QPlistRead(const char *data, long long length)
{
    QVariant root;
    if (data && length > 0 && length < (1LL << 30) && PropertyList::fromData(QByteArray(data, int(length)), root) &&
        root.type() == QVariant::Map)
        m_pRootDict = std::make_unique<QVariantMap>(root.toMap());
}

QPlistRead::~QPlistRead() = default;

std::vector<std::string> QPlistRead::getCategories()
{
    m_vecCategories.clear();
    if (m_pRootDict) {
        for (const QVariant &v : m_pRootDict->value(QStringLiteral("Categories")).toList())
            m_vecCategories.push_back(v.toString().toStdString());
    }
    return m_vecCategories;
}

std::vector<FormatBaseInfo *> *QPlistRead::getCategoriesInfoList(const std::string &category)
{
    if (category.empty())
        return nullptr; // the current list stays as it is
    m_pFormatList = nullptr;
    auto cached = m_lists.find(category);
    if (cached == m_lists.end()) {
        std::vector<FormatBaseInfo *> list;
        if (m_pRootDict) {
            for (const QVariant &v : m_pRootDict->value(q(category)).toList()) {
                const QVariantMap base = dict(v.toMap(), "baseinfo");
                auto record = std::make_unique<FormatBaseInfo>();
                record->title = text(base, "title");
                record->id = text(base, "id");
                record->ext = text(base, "ext");
                record->icon = text(base, "icon");
                record->category = category;
                list.push_back(record.get());
                m_records.push_back(std::move(record));
            }
        }
        cached = m_lists.emplace(category, std::move(list)).first;
    }
    if (!cached->second.empty())
        m_pFormatList = &cached->second;
    return m_pFormatList;
}

bool QPlistRead::findProfile(const std::string &category, const std::string &id, QVariantMap &profile) const
{
    if (!m_pRootDict)
        return false;
    // Values are implicitly shared: walking copies nothing.
    for (const QVariant &p : m_pRootDict->value(q(category)).toList()) {
        const QVariantMap candidate = p.toMap();
        if (text(dict(candidate, "baseinfo"), "id") == id) {
            profile = candidate;
            return true;
        }
    }
    return false;
}

std::string QPlistRead::getFormatInfoForKey(const std::string &category, const std::string &id, const std::string &key)
{
    if (id.empty() || category.empty())
        return std::string();
    QVariantMap profile;
    return findProfile(category, id, profile) ? text(dict(profile, "baseinfo"), key.c_str()) : std::string();
}

std::string QPlistRead::getCodecsForKey(const std::string &key)
{
    if (key == "Auto")
        return key;
    if (key.empty())
        return std::string();
    // The catalogue pads three-letter codec keys to four characters.
    const std::string lookup = key.size() == 3 ? key + " " : key;
    if (m_pRootDict) {
        const QVariantMap codecs = dict(*m_pRootDict, "Codecs");
        const auto it = codecs.constFind(q(lookup));
        if (it != codecs.constEnd())
            return it->toString().toStdString();
    }
    return lookup;
}

void QPlistRead::analysisTextInfo(const std::string &text, std::vector<std::string> &out)
{
    appendCommaList(text, std::string(), out);
}

void QPlistRead::analysisTextInfo(const std::string &text, const std::string &unit, std::vector<std::string> &out)
{
    appendCommaList(text, unit, out);
}

bool QPlistRead::analysisFilter(const std::string &filter, const std::string &videoEncoder,
                                std::vector<std::string> &out)
{
    if (filter.empty() || videoEncoder.empty())
        return false;
    std::string::size_type start = 0;
    while (start <= filter.size()) {
        std::string::size_type bar = filter.find('|', start);
        if (bar == std::string::npos)
            bar = filter.size();
        std::string group = filter.substr(start, bar - start);
        trimSpaces(group);
        // A group is the encoder's own key, one separator, then its audio encoders: the key must be
        // the whole text before the separator, not just part of it.
        if (group.size() > videoEncoder.size() && group.compare(0, videoEncoder.size(), videoEncoder) == 0 &&
            !std::isalnum(static_cast<unsigned char>(group[videoEncoder.size()]))) {
            appendCommaList(group.substr(videoEncoder.size() + 1), std::string(), out);
            return true;
        }
        start = bar + 1;
    }
    return false;
}

void QPlistRead::fillVideo(const QVariantMap &profile, FormatAllInfo &info, std::string &videoEncoder,
                           std::string &resolution, std::string &filter)
{
    const QVariantMap encoders = dict(profile, "videoencoders");
    if (encoders.isEmpty()) {
        info.bNoVideo = true;
        return;
    }
    if (info.bAuto)
        info.vecVideoEncoder.push_back("Auto");
    appendCommaList(getDictValue(encoders, std::string()), std::string(), info.vecVideoEncoder);
    if (videoEncoder.empty())
        videoEncoder = trimmed(getDictValue(encoders, "default"));
    info.strVideoEncoder = videoEncoder;
    filter = getDictValue(encoders, "filter");

    if (resolution.empty())
        resolution = getDictValue(dict(profile, "resolution"), "default");
    info.strResolution = resolution;

    if (info.bAuto)
        info.vecResolution.push_back("Auto");
    QVariantMap chosen;
    if (!chooseParams(profile, "videoparams", videoEncoder, "resolution", resolution, info.vecResolution,
                      info.strResolution, chosen))
        return;
    const QVariantMap bitRate = dict(chosen, "videobitrate");
    info.strVideoBitRate = fillChoices(bitRate, info.bAuto, " kbps", info.vecVideoBitRate);
    info.strVideoBitRateLow = getDictValue(bitRate, "low") + " kbps";
    info.strVideoBitRateHigh = getDictValue(bitRate, "high") + " kbps";
    info.strFrameRate = fillChoices(dict(chosen, "framerate"), info.bAuto, " fps", info.vecFrameRate);
}

void QPlistRead::fillAudio(const QVariantMap &profile, FormatAllInfo &info, const std::string &filter,
                           std::string &audioEncoder, std::string &channel)
{
    const QVariantMap encoders = dict(profile, "audioencoders");
    std::vector<std::string> filtered;
    // A filter without a group for the chosen video encoder restricts nothing.
    if (!filter.empty() && analysisFilter(filter, info.strVideoEncoder, filtered) && !filtered.empty()) {
        info.vecAudioEncoder = filtered;
        if (audioEncoder.empty())
            audioEncoder = trimmed(filtered.front());
    } else {
        if (info.bAuto)
            info.vecAudioEncoder.push_back("Auto");
        appendCommaList(getDictValue(encoders, std::string()), std::string(), info.vecAudioEncoder);
        if (audioEncoder.empty())
            audioEncoder = trimmed(getDictValue(encoders, "default"));
    }
    // The effective choice is stored in both cases, so the shown entry can be found by comparison.
    info.strAudioEncoder = audioEncoder;

    if (channel.empty())
        channel = getDictValue(dict(profile, "channels"), "default");
    if (info.bAuto)
        info.vecChannel.push_back("Auto");
    QVariantMap chosen;
    if (!chooseParams(profile, "audioparams", audioEncoder, "channel", channel, info.vecChannel, info.strChannel,
                      chosen))
        return;
    const QVariantMap bitRate = dict(chosen, "audiobitrate");
    const std::string def = getDictValue(bitRate, "default");
    std::string low = getDictValue(bitRate, "low");
    std::string high = getDictValue(bitRate, "high");
    if (low.empty())
        low = def;
    if (high.empty())
        high = def;
    info.strAudioBitRateLow = low + " kbps";
    info.strAudioBitRateHigh = high + " kbps";
    info.strAudioBitRate = fillChoices(bitRate, info.bAuto, " kbps", info.vecAudioBitRate);
    info.strSampleRate = fillChoices(dict(chosen, "samplerate"), info.bAuto, " HZ", info.vecSampleRate);
}

FormatAllInfo *QPlistRead::GetFormatInfoForPlist(const std::string &category, const std::string &id,
                                                 const std::string &videoEncoderChoice,
                                                 const std::string &resolutionChoice,
                                                 const std::string &audioEncoderChoice,
                                                 const std::string &channelChoice)
{
    // Callers may pass the fields of the record this call rewrites: read every argument before clearing it.
    const std::string categoryCopy = category;
    const std::string idCopy = id;
    auto choice = [](const std::string &c) { return c == "Auto" ? std::string() : c; };
    std::string videoEncoder = choice(videoEncoderChoice);
    std::string resolution = choice(resolutionChoice);
    std::string audioEncoder = choice(audioEncoderChoice);
    std::string channel = choice(channelChoice);
    m_formatAllInfo = FormatAllInfo();
    m_pFormatAllInfo = &m_formatAllInfo;
    if (idCopy.empty() || categoryCopy.empty())
        return nullptr;

    FormatAllInfo &info = m_formatAllInfo;
    QVariantMap profile;
    if (findProfile(categoryCopy, idCopy, profile)) {
        const QVariantMap base = dict(profile, "baseinfo");
        info.strExt = text(base, "ext");
        info.bAuto = text(base, "auto") == "1";
        std::string filter;
        fillVideo(profile, info, videoEncoder, resolution, filter);
        fillAudio(profile, info, filter, audioEncoder, channel);
    }
    info.strCategory = categoryCopy;
    info.strId = idCopy;
    return m_pFormatAllInfo;
}
