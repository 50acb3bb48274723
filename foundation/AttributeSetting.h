#pragma once
// The process-wide conversion parameter record: the output format and codec values the user chose in the
// output-format panel. The panel fills it before a conversion or merge starts; the clip list, the
// converter settings and the merge driver only read it, on the GUI thread.

#include <QMetaType>
#include <QString>

struct AttributeSetting
{
    bool bOnlyAudio = false; // the output has no video
    bool bLossless = false;  // merge without re-encoding
    int nQuality = 0;
    QString fileFormat; // container name for the codec library, or "Original" to keep the source's
    QString fileExtend; // output extension without the dot
    QString VEncoder;
    int VCodecsId = -1; // -1: automatic
    int VWidth = 0;     // 0: keep the source's size
    int VHeight = 0;
    int VFrameRate_fps = 0;
    int VFrameRate_scale = 0;
    int VBitRate = 0; // kbit/s
    QString AEncoder;
    int ACodecsId = -1;
    int AChannel = 0;
    int ASampleRate = 0; // Hz
    int ABitRate = 0;    // kbit/s
};

// The quality preset of the format chooser, stored as a decimal number in the settings store.
enum VideoQuality { SmallSize = 0, HighQuality = 1, Customized = 2 };
Q_DECLARE_METATYPE(VideoQuality)

// Holds the single record. The output-format dialog derives from this class, so its
// m_attributeSetting names the same record; code below the dialogs reaches it through this class.
class QSettingDlgState
{
public:
    // Null until the record is first set; it then points at storage owned by this class for the life
    // of the process, so it never dangles.
    static AttributeSetting *m_attributeSetting;

    static void setAttributeSetting(const AttributeSetting &setting);
    // The record, or a default one (automatic codecs, no values) when nothing was set yet.
    static const AttributeSetting &attributeSetting();
    static bool hasAttributeSetting() { return m_attributeSetting != nullptr; }
    // Forgets the record (tests start from a clean state).
    static void clearAttributeSetting();
};
