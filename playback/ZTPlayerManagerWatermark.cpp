// ZTPlayerManager, overlay side: sends overlay records to the preview player, keeps the overlay the user
// edits, and lets the user drag and resize its text box and picture box over the edited window.
#include "ZTPlayerManager.h"

#include "CropDragGeometry.h"
#include "QMediaElementWindow.h"
#include "ZTPlayerClass.h"

#include <QMouseEvent>
#include <QWidget>

#include <cmath>

namespace {

constexpr double kMinItemFraction = 0.0001;
constexpr double kItemMargin = 0.02;
// A resized item is measured at most this many times as its scale is sought.
constexpr int kFitRounds = 4;

void setSenderCursor(QObject *sender, unsigned zone)
{
    if (auto *w = qobject_cast<QWidget *>(sender))
        w->setCursor(CropDragGeometry::cursorForZone(zone));
}

QByteArray fontOf(const QByteArray &name)
{
    return name.startsWith('@') ? name.mid(1) : name;
}

quint32 scaleOf(double factor, double start)
{
    return static_cast<quint32>(std::max(0.0, std::trunc(factor * start + 0.5)));
}

// Resizing one axis of an item works through its scale: the start scale times the new size over the
// start size. `moved` is the dragged side's new place, (`start`, `size`) the item's start place and size,
// `delta` the pointer's move and `least` the smallest size, all fractions of the frame; `measured` receives the
// new size.
void moveNearSide(double moved, double start, double size, double delta, double least, double startScale, double &pos,
                  double &measured, quint32 &scale)
{
    measured = size - delta;
    if (moved < 0) {
        moved = 0;
        measured = start + size;
    }
    if (moved > start + size - least) {
        moved = start + size - least;
        measured = least;
    }
    pos = moved;
    scale = scaleOf(1.0 - (moved - start) / size, startScale);
}

// One axis of an item's resize: the size the pointer asks for, and what is known of the measured size against the
// scale (a line through the start, whose slope the measures refine).
struct ScaleFit
{
    bool resized;
    double startScale, startSize, want, pixels;
    double *slope;
    quint32 *scale;
};

// The scale to try next for a measured size, or the one tried when it is within half a pixel of the wanted size
// or nothing better can be told.
quint32 nextScale(const ScaleFit &f, double measured)
{
    if (!f.resized || std::abs(measured - f.want) * f.pixels <= 0.5)
        return *f.scale;
    const double tried = double(*f.scale) - f.startScale;
    // Sizes snap to pixels: a slope is read only from a change of a few.
    if (std::abs(tried) >= 1.0 && std::abs(measured - f.startSize) * f.pixels >= 3.0)
        *f.slope = (measured - f.startSize) / tried;
    if (!(*f.slope > 0.0))
        return *f.scale;
    return std::max<quint32>(1, scaleOf(1.0, f.startScale + (f.want - f.startSize) / *f.slope));
}

void moveFarSide(double moved, double start, double size, double delta, double least, double startScale,
                 double &measured, quint32 &scale)
{
    measured = delta + size;
    if (moved + size <= 1.0 && moved < start - size + least) {
        moved = start - size + least;
        measured = least;
    }
    if (moved + size > 1.0) {
        moved = 1.0 - size;
        measured = 1.0 - start;
    }
    scale = scaleOf((moved - start) / size + 1.0, startScale);
}

// The smallest box a resize leaves an item of the `start` box, kItemMargin of the frame a side. A picture shrinks to
// it as a whole, until its first side reaches the margin, so that a corner taken past it leaves the picture in its
// own shape (the frame is seldom square: a margin per side would squash it); and a picture already narrower than
// that is not grown by a drag that shrinks it.
QSizeF smallestBox(bool text, const QRectF &start)
{
    if (text)
        return QSizeF(kItemMargin, kItemMargin);
    const double f = std::min(1.0, std::max(kItemMargin / start.width(), kItemMargin / start.height()));
    return start.size() * f;
}

} // namespace

void ZTPlayerManager::sendWatermark(const VEWatermarkSettings &r, bool withSources)
{
    ZTPlayerClass *p = m_player;
    const VEWatermarkImageSettings &im = r.image;
    const VEWatermarkTextSettings &tx = r.text;
    if (withSources && im.imagePath.isEmpty()) {
        p->SetWatermarkImageFile_Player(nullptr);
        p->SetWatermarkImageMaskFile_Player(nullptr);
    } else if (!im.imagePath.isEmpty()) {
        if (withSources) {
            fileTaken(p->SetWatermarkImageFile_Player(im.imagePath.constData()) &&
                      p->SetWatermarkImageMaskFile_Player(im.maskPath.constData()));
            p->SetWatermarkImageMirror_Player(im.mirror);
        } else {
            p->SetWatermarkImageMirror_Player(im.mirror);
            p->EnableWatermarkImageBorder_Player(int(im.borderEnabled));
        }
        p->SetWatermarkImagePosition_Player(im.posX, im.posY);
        p->SetWatermarkImageScale_Player(im.scaleX, im.scaleY);
        p->SetWatermarkImageAngle_Player(im.angle);
        p->SetWatermarkImageAlpha_Player(im.alpha);
        p->SetWatermarkImageMixMode_Player(im.mixMode);
        p->EnableWatermarkImageBorder_Player(int(im.borderEnabled));
        p->SetWatermarkImageSize_Player(im.width, im.height);
        p->SetWatermarkImageLoop_Player(im.loop);
        p->SetWatermarkImageCrop_Player(im.cropRect.x, im.cropRect.y, im.cropRect.width, im.cropRect.height);
        p->SetWatermarkImageShowTime_Player(im.showTime.first, im.showTime.second);
        p->SetWatermarkImageSplitTime_Player(im.splitTime.first, im.splitTime.second);
    }
    if (withSources && tx.text.isEmpty()) {
        p->SetWatermarkText_Player(nullptr);
    } else if (!tx.text.isEmpty()) {
        if (withSources)
            p->SetWatermarkText_Player(tx.text.constData());
        const QByteArray font = fontOf(tx.fontName);
        p->SetWatermarkTextAlpha_Player(tx.alpha);
        p->SetWatermarkTextPosition_Player(tx.posX, tx.posY);
        p->SetWatermarkTextAngle_Player(tx.angle);
        p->SetWatermarkTextBold_Player(tx.bold);
        p->SetWatermarkTextSize_Player(tx.fontSize);
        p->SetWatermarkTextFont_Player(font.constData());
        p->SetWatermarkTextColor_Player(tx.color);
        p->SetWatermarkTextOutlineColor_Player(tx.outlineColor);
        p->SetWatermarkTextOutlineSize_Player(tx.outlineSize);
        p->SetWatermarkTextShadowColor_Player(tx.shadowColor);
        p->SetWatermarkTextShadowOffset_Player(tx.shadowOffset);
        p->SetWatermarkTextItalic_Player(tx.italic);
        p->SetWatermarkTextUnderline_Player(tx.underline);
        p->SetWatermarkTextStrikeout_Player(tx.strikeout);
        p->SetWatermarkTextScale_Player(tx.scaleX, tx.scaleY);
        p->EnableWatermarkTextBorder_Player(tx.borderEnabled);
        p->SetWatermarkTextLayerTopmost_Player(tx.layerTopmost);
        p->SetWatermarkTextSpacingH_Player(tx.spacingH);
        p->SetWatermarkTextSpacingV_Player(tx.spacingV);
        p->SetWatermarkTextShowTime_Player(tx.showTime.first, tx.showTime.second);
    }
    if (withSources)
        p->SetWatermarkBorderAlpha_Player(0);
}

void ZTPlayerManager::setWatermarkSettingsSource(VEWatermarkSettings settings, int index)
{
    sendWatermarkSlot(settings, index, true);
}

void ZTPlayerManager::setWatermarkSettingsNotSource(VEWatermarkSettings settings, int index)
{
    sendWatermarkSlot(settings, index, false);
}

// One batch, so that the player applies the slot as one change.
void ZTPlayerManager::sendWatermarkSlot(const VEWatermarkSettings &settings, int index, bool withSources)
{
    m_selectedWatermarkIndex = index;
    if (!hasPlayer())
        return;
    m_player->BeginSettings_Player();
    m_player->SetWatermarkIndex_Player(static_cast<unsigned>(index));
    sendWatermark(settings, withSources);
    m_player->EndSettings_Player();
    showSoon();
}

// Only a clip open in the player has laid the items out: without one (its file renamed or its drive gone)
// the player knows no place or size, and the record keeps its own.
bool ZTPlayerManager::laidOutOnClip() const
{
    return hasPlayer() && m_player->IsOpenPlayerSuccess();
}

void ZTPlayerManager::setCurrentWatermarkSettings(VEWatermarkSettings settings, int index, bool refresh)
{
    if (index < 0)
        return;
    // A record set anew (a text typed, a picture chosen) is framed by its size again.
    m_textFramed = m_imageFramed = -1;
    m_currentWatermark = settings;
    m_currentWatermarkIndex = index;
    m_selectedWatermarkIndex = index;
    setWatermarkSettingsSource(settings, index);
    if (refresh && laidOutOnClip()) {
        ZTPlayerClass *p = m_player;
        p->RefreshVideoFrame_Player();
        if (!settings.text.text.isEmpty()) {
            settings.text.measuredWidth = p->GetWatermarkTextWidth_Player();
            settings.text.measuredHeight = p->GetWatermarkTextHeight_Player();
            settings.text.posX = p->GetWatermarkTextPosX_Player();
            settings.text.posY = p->GetWatermarkTextPosY_Player();
        } else {
            settings.text.measuredWidth = 0.0;
            settings.text.measuredHeight = 0.0;
        }
        if (!settings.image.imagePath.isEmpty()) {
            settings.image.measuredWidth = p->GetWatermarkImageWidth_Player();
            settings.image.measuredHeight = p->GetWatermarkImageHeight_Player();
            settings.image.posX = p->GetWatermarkImagePosX_Player();
            settings.image.posY = p->GetWatermarkImagePosY_Player();
        } else {
            settings.image.measuredWidth = 0.0;
            settings.image.measuredHeight = 0.0;
        }
    }
    m_currentWatermark = settings;
    emit emitWatermarkRectChange(settings, index);
}

void ZTPlayerManager::setCurrentWatermarkSettingsNotSource(VEWatermarkSettings settings, int index, bool refresh)
{
    if (index < 0)
        return;
    m_currentWatermark = settings;
    m_currentWatermarkIndex = index;
    m_selectedWatermarkIndex = index;
    setWatermarkSettingsNotSource(settings, index);
    if (refresh && laidOutOnClip())
        measureWatermarkSizes(settings);
    m_currentWatermark = settings;
    emit emitWatermarkRectChange(settings, index);
}

// Both items' sizes as the player lays them out on a frame drawn anew with the settings sent.
void ZTPlayerManager::measureWatermarkSizes(VEWatermarkSettings &settings)
{
    ZTPlayerClass *p = m_player;
    p->RefreshVideoFrame_Player();
    settings.text.measuredWidth = p->GetWatermarkTextWidth_Player();
    settings.text.measuredHeight = p->GetWatermarkTextHeight_Player();
    settings.image.measuredWidth = p->GetWatermarkImageWidth_Player();
    settings.image.measuredHeight = p->GetWatermarkImageHeight_Player();
}

void ZTPlayerManager::getCurrentWatermarkSettings(VEWatermarkSettings &settings, int &index) const
{
    settings = m_currentWatermark;
    index = m_currentWatermarkIndex;
}

void ZTPlayerManager::setWatermarkSettingsList(QList<VEWatermarkSettings> list)
{
    if (list.isEmpty() || !hasPlayer())
        return;
    m_player->SetVideoWatermarkMaxCount_Player(static_cast<unsigned>(list.size()));
    m_player->BeginSettings_Player();
    for (int i = 0; i < list.size(); ++i) {
        m_player->SetWatermarkIndex_Player(static_cast<unsigned>(i));
        sendWatermark(list.at(i), true);
    }
    m_player->EndSettings_Player();
    m_player->ShowVideoFrame_Player();
}

// ------------------------------------------------------------------------------------------ mouse

// The item's box (fractions of the picture) and the picture's place in the preview window, where the item can
// be grabbed: a shown border, a player, a slot and a box not too thin.
bool ZTPlayerManager::watermarkBox(bool text, QRectF *box, QRect *element) const
{
    QMediaElementWindow *window = m_previewWindow.data();
    const quint32 border = text ? m_currentWatermark.text.borderEnabled : m_currentWatermark.image.borderEnabled;
    if (!window || !hasPlayer() || border == 0 || m_currentWatermarkIndex < 0)
        return false;
    const double w = text ? m_player->GetWatermarkTextWidth_Player() : m_player->GetWatermarkImageWidth_Player();
    const double h = text ? m_player->GetWatermarkTextHeight_Player() : m_player->GetWatermarkImageHeight_Player();
    if (!(w > kMinItemFraction) || !(h > kMinItemFraction))
        return false;
    const double x = text ? m_currentWatermark.text.posX : m_currentWatermark.image.posX;
    const double y = text ? m_currentWatermark.text.posY : m_currentWatermark.image.posY;
    *box = QRectF(x, y, w, h);
    *element = window->getVideoElementRect();
    return true;
}

bool ZTPlayerManager::isWatermarkItemFramed(bool text, const QRectF &box, const QRect &element) const
{
    const int kept = text ? m_textFramed : m_imageFramed;
    return kept >= 0 ? kept != 0 : CropDragGeometry::needsFrame(box, element);
}

// How a point reaches an item: 0 not at all; 1 on the item itself (its own box, or a zone of a box drawn on
// itself); 2 only on the frame drawn around a small item, or just outside it.
int ZTPlayerManager::watermarkReach(QMouseEvent *event, bool text) const
{
    QRectF box;
    QRect e;
    if (!event || !watermarkBox(text, &box, &e))
        return 0;
    const QPoint p = event->localPos().toPoint();
    const bool framed = isWatermarkItemFramed(text, box, e);
    if (CropDragGeometry::itemZone(box, e, p, framed) == 0)
        return 0;
    return !framed || CropDragGeometry::pixelBox(box, e).contains(p) ? 1 : 2;
}

// The item on top takes the pointer first, but not with the frame around a small item where the other item lies
// itself: a caption framed at the picture's corner would otherwise take every press on the picture's middle.
bool ZTPlayerManager::textTriedFirst(QMouseEvent *event) const
{
    const bool textOnTop = m_currentWatermark.text.layerTopmost != 0;
    if (m_textZone != 0 || m_imageZone != 0) // a drag goes on with the item it began with
        return textOnTop;
    const bool swap = watermarkReach(event, textOnTop) == 2 && watermarkReach(event, !textOnTop) == 1;
    return swap ? !textOnTop : textOnTop;
}

bool ZTPlayerManager::watermarkDown(QMouseEvent *event, bool text)
{
    QRectF box;
    QRect e;
    if (!event || !watermarkBox(text, &box, &e))
        return false;
    const QPoint p = event->localPos().toPoint();
    const bool framed = isWatermarkItemFramed(text, box, e);
    const unsigned zone = CropDragGeometry::itemZone(box, e, p, framed);
    (text ? m_textZone : m_imageZone) = zone;
    if (zone == 0)
        return false;
    setSenderCursor(sender(), zone);
    (text ? m_textFramed : m_imageFramed) = framed ? 1 : 0;
    m_currentWatermark.text.layerTopmost = text ? 1 : 0; // the pressed item comes to the top
    m_watermarkPress = p;
    m_watermarkStart = box;
    m_startScaleX = text ? m_currentWatermark.text.scaleX : m_currentWatermark.image.scaleX;
    m_startScaleY = text ? m_currentWatermark.text.scaleY : m_currentWatermark.image.scaleY;
    return true;
}

bool ZTPlayerManager::WatermarkTextDown(QMouseEvent *event)
{
    return watermarkDown(event, true);
}

bool ZTPlayerManager::WatermarkImageDown(QMouseEvent *event)
{
    return watermarkDown(event, false);
}

bool ZTPlayerManager::watermarkMove(QMouseEvent *event, bool text)
{
    QMediaElementWindow *window = m_previewWindow.data();
    const quint32 border = text ? m_currentWatermark.text.borderEnabled : m_currentWatermark.image.borderEnabled;
    if (!event || !window || !hasPlayer() || border == 0 || m_currentWatermarkIndex < 0)
        return false;
    const QRect e = window->getVideoElementRect();
    const double ew = e.width(), eh = e.height();
    const QPoint p = event->localPos().toPoint();
    unsigned &zone = text ? m_textZone : m_imageZone;
    if (zone == 0) {
        setSenderCursor(sender(), 0);
        QRectF box;
        QRect element;
        if (!watermarkBox(text, &box, &element))
            return false;
        const unsigned hover = CropDragGeometry::itemZone(box, element, p, isWatermarkItemFramed(text, box, element));
        if (hover == 0)
            return false;
        setSenderCursor(sender(), hover);
        return true;
    }
    if (ew < 1.0 || eh < 1.0)
        return false;
    const double sx = m_watermarkStart.x(), sy = m_watermarkStart.y();
    const double sw = m_watermarkStart.width(), sh = m_watermarkStart.height();
    const double dx = (p.x() - m_watermarkPress.x()) / ew;
    const double dy = (p.y() - m_watermarkPress.y()) / eh;
    const double nx = sx + dx, ny = sy + dy;
    setSenderCursor(sender(), zone);

    double &posX = text ? m_currentWatermark.text.posX : m_currentWatermark.image.posX;
    double &posY = text ? m_currentWatermark.text.posY : m_currentWatermark.image.posY;
    quint32 &scaleX = text ? m_currentWatermark.text.scaleX : m_currentWatermark.image.scaleX;
    quint32 &scaleY = text ? m_currentWatermark.text.scaleY : m_currentWatermark.image.scaleY;
    double &measuredW = text ? m_currentWatermark.text.measuredWidth : m_currentWatermark.image.measuredWidth;
    double &measuredH = text ? m_currentWatermark.text.measuredHeight : m_currentWatermark.image.measuredHeight;
    using CropDragGeometry::holdsBottom;
    using CropDragGeometry::holdsLeft;
    using CropDragGeometry::holdsRight;
    using CropDragGeometry::holdsTop;
    if (zone == 9) {
        posX = nx < 0 ? 0.0 : (nx + sw > 1.0 ? 1.0 - sw : nx);
        posY = ny < 0 ? 0.0 : (ny + sh > 1.0 ? 1.0 - sh : ny);
    } else {
        const QSizeF least = smallestBox(text, m_watermarkStart);
        if (holdsLeft(zone))
            moveNearSide(nx, sx, sw, dx, least.width(), m_startScaleX, posX, measuredW, scaleX);
        if (holdsRight(zone))
            moveFarSide(nx, sx, sw, dx, least.width(), m_startScaleX, measuredW, scaleX);
        if (holdsTop(zone))
            moveNearSide(ny, sy, sh, dy, least.height(), m_startScaleY, posY, measuredH, scaleY);
        if (holdsBottom(zone))
            moveFarSide(ny, sy, sh, dy, least.height(), m_startScaleY, measuredH, scaleY);
    }
    // The box drawn while the pointer drags is the box it asks for; the player measures the item once the drag
    // ends (mouseWatermarkReleaseEvent): each measure waits for a frame drawn anew, too long for every move.
    setWatermarkSettingsNotSource(m_currentWatermark, m_currentWatermarkIndex);
    emit emitWatermarkRectChange(m_currentWatermark, m_currentWatermarkIndex);
    return true;
}

// A text's measured box does not grow in proportion to its scale (its outline and its place are not scaled, and
// its letters snap to pixels), so the proportional scale leaves the dragged side short of the pointer or past it.
// The scale is sought instead until the player measures the size the drag asks for, and the record keeps what the
// player measured: the box drawn is the box grabbed, and the one the item has once let go. False when no clip is
// open to measure it.
bool ZTPlayerManager::fitWatermarkScale(bool text, unsigned zone)
{
    if (!laidOutOnClip() || !m_previewWindow)
        return false;
    using namespace CropDragGeometry;
    const QRect e = m_previewWindow->getVideoElementRect();
    VEWatermarkTextSettings &t = m_currentWatermark.text;
    VEWatermarkImageSettings &im = m_currentWatermark.image;
    double &measuredW = text ? t.measuredWidth : im.measuredWidth;
    double &measuredH = text ? t.measuredHeight : im.measuredHeight;
    // The measured size against the scale, per axis: start size + (scale - start scale) x slope; until measured
    // otherwise, the size grows with the scale.
    double slopeX = m_startScaleX > 0.0 ? m_watermarkStart.width() / m_startScaleX : 0.0;
    double slopeY = m_startScaleY > 0.0 ? m_watermarkStart.height() / m_startScaleY : 0.0;
    const ScaleFit fits[] = {{holdsLeft(zone) || holdsRight(zone), m_startScaleX, m_watermarkStart.width(), measuredW,
                              double(e.width()), &slopeX, text ? &t.scaleX : &im.scaleX},
                             {holdsTop(zone) || holdsBottom(zone), m_startScaleY, m_watermarkStart.height(), measuredH,
                              double(e.height()), &slopeY, text ? &t.scaleY : &im.scaleY}};
    for (int round = 1;; ++round) {
        measureWatermarkSizes(m_currentWatermark);
        const quint32 nextX = nextScale(fits[0], measuredW), nextY = nextScale(fits[1], measuredH);
        if (round == kFitRounds || (nextX == *fits[0].scale && nextY == *fits[1].scale))
            return true;
        *fits[0].scale = nextX;
        *fits[1].scale = nextY;
        setWatermarkSettingsNotSource(m_currentWatermark, m_currentWatermarkIndex);
    }
}

bool ZTPlayerManager::WatermarkTextMove(QMouseEvent *event)
{
    return watermarkMove(event, true);
}

bool ZTPlayerManager::WatermarkImageMove(QMouseEvent *event)
{
    return watermarkMove(event, false);
}

bool ZTPlayerManager::WatermarkTextUp(QMouseEvent *)
{
    m_textZone = 0;
    return true;
}

bool ZTPlayerManager::WatermarkImageUp(QMouseEvent *)
{
    m_imageZone = 0;
    return true;
}

void ZTPlayerManager::mouseWatermarkPressEvent(QMouseEvent *event)
{
    if (textTriedFirst(event)) {
        if (!WatermarkTextDown(event))
            WatermarkImageDown(event);
    } else if (!WatermarkImageDown(event)) {
        WatermarkTextDown(event);
    }
}

void ZTPlayerManager::selectCurrentSlot()
{
    if (m_currentWatermarkIndex == m_selectedWatermarkIndex)
        return;
    m_selectedWatermarkIndex = m_currentWatermarkIndex;
    if (hasPlayer() && m_currentWatermarkIndex >= 0)
        m_player->SetWatermarkIndex_Player(static_cast<unsigned>(m_currentWatermarkIndex));
}

// An item keeps the framing it was taken with while the pointer is on it; once the pointer has left it, its size
// decides again, and a box whose framing so changes is drawn anew.
void ZTPlayerManager::forgetFramingAwayFrom(QMouseEvent *event)
{
    if (!event || m_textZone != 0 || m_imageZone != 0)
        return;
    bool changed = false;
    for (const bool text : {true, false}) {
        int &kept = text ? m_textFramed : m_imageFramed;
        if (kept < 0)
            continue;
        QRectF box;
        QRect e;
        if (watermarkBox(text, &box, &e)) {
            if (CropDragGeometry::itemZone(box, e, event->localPos().toPoint(), kept != 0) != 0)
                continue;
            changed = changed || CropDragGeometry::needsFrame(box, e) != (kept != 0);
        }
        kept = -1;
    }
    if (changed)
        emit emitWatermarkRectChange(m_currentWatermark, m_currentWatermarkIndex);
}

void ZTPlayerManager::mouseWatermarkMoveEvent(QMouseEvent *event)
{
    selectCurrentSlot();
    forgetFramingAwayFrom(event);
    if (textTriedFirst(event)) {
        if (!WatermarkTextMove(event))
            WatermarkImageMove(event);
    } else if (!WatermarkImageMove(event)) {
        WatermarkTextMove(event);
    }
}

void ZTPlayerManager::mouseWatermarkReleaseEvent(QMouseEvent *)
{
    // A resize ends with the scale at which the player measures the box the pointer left; that measure is the
    // read-back, and anything else is read back once here.
    bool measured = false;
    for (const bool text : {true, false}) {
        const unsigned zone = text ? m_textZone : m_imageZone;
        if (zone != 0 && zone != 9 && fitWatermarkScale(text, zone))
            measured = true;
    }
    setCurrentWatermarkSettingsNotSource(m_currentWatermark, m_currentWatermarkIndex, !measured);
    m_textZone = 0;
    m_imageZone = 0;
}
