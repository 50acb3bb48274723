#include "EncoderCheck.h"

#include "rscodec.h"

#include <QCoreApplication>

namespace EncoderCheck {

namespace {

// -1 is automatic; 0 with a name is a name the vocabulary does not know.
bool usable(const QString &name, int codecId)
{
    if (codecId == -1 || (codecId == 0 && name.isEmpty()))
        return true;
    return codecId != 0 && rsc_global_can_encode(static_cast<uint32_t>(codecId)) == 1;
}

} // namespace

QString unavailableEncoder(const AttributeSetting &r)
{
    // A high-speed join copies the streams, and "Original" keeps each clip's codecs: nothing is encoded.
    if (r.bLossless || r.fileFormat.compare(QLatin1String("Original"), Qt::CaseInsensitive) == 0)
        return QString();
    if (!r.bOnlyAudio && !usable(r.VEncoder, r.VCodecsId))
        return r.VEncoder;
    if (!usable(r.AEncoder, r.ACodecsId))
        return r.AEncoder;
    return QString();
}

QString message(const QString &encoder)
{
    return QCoreApplication::translate("EncoderCheck",
                                       "The codec \"%1\" of the chosen output format cannot be encoded on this "
                                       "computer. Please choose another codec or output format.")
        .arg(encoder);
}

} // namespace EncoderCheck
