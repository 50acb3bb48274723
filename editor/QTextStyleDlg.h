#pragma once
// The frame and the behaviour shared by the two text style dialogs (subtitle style, watermark text
// style): font, text/outline/shadow colours, outline size, shadow offset and spacing. Every change is
// written at once into the clip's edit model (a read of the whole section, one field changed, a write of
// the whole section), which pushes it to the editor preview; OK, Cancel and close only end the dialog.
// A derived dialog builds its form, hands its controls over with bindControls() and says how its section
// of the record is read and written.

#include "QZTDialog.h"

#include <QByteArray>
#include <QColor>
#include <QFont>

#include <cstdint>
#include <functional>

class QLabel;
class QShowEvent;
class QVideoEditingSettings;
class QZTBaseButton;
class QZTButtonExtend;
class QZTDoubleSpinBox;

// The style fields both records carry.
struct TextStyleFields
{
    QByteArray fontName;
    quint32 fontSize = 0;
    quint32 bold = 0, italic = 0, underline = 0, strikeout = 0;
    quint32 color = 0, shadowColor = 0, outlineColor = 0;
    double shadowOffset = 0, outlineSize = 0, spacingH = 0, spacingV = 0;

    // The same field names in the subtitle style and the watermark text record.
    template <class Record> static TextStyleFields from(const Record &r)
    {
        TextStyleFields f;
        f.fontName = r.fontName;
        f.fontSize = r.fontSize;
        f.bold = r.bold;
        f.italic = r.italic;
        f.underline = r.underline;
        f.strikeout = r.strikeout;
        f.color = r.color;
        f.shadowColor = r.shadowColor;
        f.outlineColor = r.outlineColor;
        f.shadowOffset = r.shadowOffset;
        f.outlineSize = r.outlineSize;
        f.spacingH = r.spacingH;
        f.spacingV = r.spacingV;
        return f;
    }

    // Writes the style fields into a record; its other fields pass through unchanged.
    template <class Record> void copyTo(Record &r) const
    {
        r.fontName = fontName;
        r.fontSize = fontSize;
        r.bold = bold;
        r.italic = italic;
        r.underline = underline;
        r.strikeout = strikeout;
        r.color = color;
        r.shadowColor = shadowColor;
        r.outlineColor = outlineColor;
        r.shadowOffset = shadowOffset;
        r.outlineSize = outlineSize;
        r.spacingH = spacingH;
        r.spacingV = spacingV;
    }
};

struct TextStyleControls
{
    QZTBaseButton *btnClose = nullptr, *btnMin = nullptr, *btnMax = nullptr;
    QLabel *lblFontColor = nullptr, *lblFontName = nullptr, *lblShadow = nullptr, *lblShadowOff = nullptr;
    QLabel *lblOutline = nullptr, *lblOutlineSize = nullptr, *lblSpacingH = nullptr, *lblSpacingV = nullptr;
    QZTButtonExtend *btnTextColor = nullptr, *btnShadowColor = nullptr, *btnOutlineColor = nullptr;
    QZTBaseButton *btnFont = nullptr, *btnReset = nullptr, *btnCancel = nullptr, *btnOK = nullptr;
    QZTDoubleSpinBox *dspShadowOff = nullptr, *dspOutlineSize = nullptr, *dspSpacingH = nullptr, *dspSpacingV = nullptr;

    // The same object names in either dialog's form.
    template <class Form> static TextStyleControls of(Form *f)
    {
        TextStyleControls c;
        c.btnClose = f->m_btnClose;
        c.btnMin = f->m_btnMin;
        c.btnMax = f->m_btnMax;
        c.lblFontColor = f->m_lblFontColor;
        c.lblFontName = f->m_lblFontName;
        c.lblShadow = f->m_lblShadow;
        c.lblShadowOff = f->m_lblShadowOff;
        c.lblOutline = f->m_lblOutline;
        c.lblOutlineSize = f->m_lblOutlineSize;
        c.lblSpacingH = f->m_lblSpacingH;
        c.lblSpacingV = f->m_lblSpacingV;
        c.btnTextColor = f->m_btnTextColor;
        c.btnShadowColor = f->m_btnShadowColor;
        c.btnOutlineColor = f->m_btnOutlineColor;
        c.btnFont = f->m_btnFont;
        c.btnReset = f->m_btnReset;
        c.btnCancel = f->m_btnCancel;
        c.btnOK = f->m_btnOK;
        c.dspShadowOff = f->m_dspShadowOff;
        c.dspOutlineSize = f->m_dspOutlineSize;
        c.dspSpacingH = f->m_dspSpacingH;
        c.dspSpacingV = f->m_dspSpacingV;
        return c;
    }
};

class QTextStyleDlg : public QZTDialog
{
    Q_OBJECT
public:
    // What differs between the two dialogs.
    struct Look
    {
        int okWidth = 70;        // OK and Cancel are okWidth x 28
        bool okAccepts = true;   // OK accepts (else it closes)
        bool translateOk = true; // OK/Cancel texts through tr()
        int leftGap = 5;         // label to left control
        int rightGap = 6;        // right label to right control
    };

    explicit QTextStyleDlg(QWidget *parent = nullptr);

    void setEditSettings(QVideoEditingSettings *settings) { m_settings = settings; }

    // Seams for the standard pickers, which a test cannot answer: null restores them.
    using FontPicker = std::function<bool(const QFont &initial, QWidget *parent, QFont *chosen)>;
    using ColorPicker = std::function<QColor(const QColor &initial, QWidget *parent)>;
    static void setFontPickerForTesting(FontPicker picker);
    static void setColorPickerForTesting(ColorPicker picker);

    // A 32-bit ARGB value as a colour, and back.
    static QColor colorOf(quint32 argb);
    static quint32 argbOf(const QColor &color);

public slots:
    void onFont();
    void onColor();
    void valueChanged(double value);
    void onReset();

protected:
    // The form is built by the derived class, which then calls bindControls() once.
    void bindControls(const TextStyleControls &controls, const Look &look);
    virtual TextStyleFields readStyle() const = 0;
    virtual void writeStyle(const TextStyleFields &fields) = 0;
    QVideoEditingSettings *editSettings() const { return m_settings; }

    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void initFrame();
    void initControls();
    void loadingSetting();
    void showFontName(const QByteArray &name);
    double *fieldOf(TextStyleFields &f, QObject *spin) const;
    quint32 *colorFieldOf(TextStyleFields &f, QObject *button) const;

    TextStyleControls m_c;
    Look m_look;
    bool m_bLoaded = false;
    bool m_bLoading = false;
    QVideoEditingSettings *m_settings = nullptr;
};
