#include "FormatChooserLink.h"

#include "AttributeSetting.h"
#include "QIAnyUtil.h"
#include "QPlistRead.h"
#include "QVideoSettingXml.h"
#include "ZTAVCodecAnalysis.h"

#include <QRegularExpression>
#include <QString>

namespace {

int firstNumber(const std::string &text)
{
    return QString::fromStdString(text).section(QLatin1Char(' '), 0, 0).toInt();
}

// The record of a catalogue profile with its default parameters.
void fillFromCatalogue(bool lossless, const QString &category, const QString &id)
{
    AttributeSetting a;
    a.bLossless = lossless;
    if (lossless) {
        a.fileFormat = QStringLiteral("Original");
        a.fileExtend = QStringLiteral("mp4");
        QSettingDlgState::setAttributeSetting(a);
        return;
    }
    const std::string path =
        (QIAnyUtil::getResourcePath() + QStringLiteral("/profile/profiles_mac.plist")).toStdString();
    QPlistRead *reader = QPlistRead::getPlistRead(path);
    FormatAllInfo *info =
        reader ? reader->GetFormatInfoForPlist(category.toStdString(), id.toStdString(), "Auto", "Auto", "Auto", "Auto")
               : nullptr;
    if (!info) {
        QSettingDlgState::setAttributeSetting(a);
        return;
    }
    a.bOnlyAudio = info->bNoVideo;
    a.fileFormat = QString::fromStdString(info->strExt);
    a.fileExtend = QString::fromStdString(info->strExt);
    a.VEncoder = QString::fromStdString(info->strVideoEncoder);
    a.VCodecsId = int(ZTAVCodecAnalysis::codecIDOfFourcc(info->strVideoEncoder));
    // "1280*720" (or "1280x720"); "Auto" keeps the source's size.
    const QStringList res = QString::fromStdString(info->strResolution).split(QRegularExpression(QStringLiteral("[*x]")));
    if (res.size() == 2) {
        a.VWidth = res.at(0).trimmed().toInt();
        a.VHeight = res.at(1).trimmed().toInt();
    }
    unsigned num = 0, den = 0;
    ZTAVCodecAnalysis::GetVideoFrameRate(QString::fromStdString(info->strFrameRate).section(' ', 0, 0).toDouble(), num,
                                         den);
    a.VFrameRate_fps = int(num);
    a.VFrameRate_scale = int(den);
    a.VBitRate = firstNumber(info->strVideoBitRate);
    a.AEncoder = QString::fromStdString(info->strAudioEncoder);
    a.ACodecsId = int(ZTAVCodecAnalysis::codecIDOfFourcc(info->strAudioEncoder));
    a.AChannel = firstNumber(info->strChannel);
    a.ASampleRate = firstNumber(info->strSampleRate);
    a.ABitRate = firstNumber(info->strAudioBitRate);
    QSettingDlgState::setAttributeSetting(a);
}

} // namespace

void FormatChooserLink::restoreChoice(QWidget *)
{
    const bool lossless =
        QVideoSettingXml::GetItemValue("LOSSLESS_ITEM", "Lossless_convert", "N") == QLatin1String("Y");
    QString category;
    QString id;
    if (!lossless) {
        category = QVideoSettingXml::GetItemValue("FormatSet", "Format_cate", "Devices");
        id = QVideoSettingXml::GetItemValue("FormatSet", "Format_ID", "1136");
    } else {
        category = QVideoSettingXml::GetItemValue("FormatSet", "Format_cate_lossless", "General Video");
        id = QVideoSettingXml::GetItemValue("FormatSet", "Format_ID_lossless", "3000");
    }
    QVideoSettingXml::GetItemValue("Open_path", "Open_path_value", ".");
    QVideoSettingXml::GetItemValue("VIDEO_QUALITY_ITEM", "quality_value", "0");
    fillFromCatalogue(lossless, category, id);
}

void FormatChooserLink::openChooser(QWidget *) {}

void FormatChooserLink::release() {}
