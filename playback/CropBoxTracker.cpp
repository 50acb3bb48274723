#include "CropBoxTracker.h"

#include "CropDragGeometry.h"
#include "NSImgBorderView.h"

#include <cmath>

using namespace CropDragGeometry;

CropBoxTracker::CropBoxTracker(NSImgBorderView *view, QObject *parent)
    : QObject(parent), m_view(view), m_minPixels(kMinBoxPixels, kMinBoxPixels)
{
    if (!m_view)
        return;
    m_view->setCallBackObject(this);
    m_view->setMoveCallback(&CropBoxTracker::OnMouseMove);
    m_view->setDownCallback(&CropBoxTracker::OnMouseDown);
    m_view->setUpCallback(&CropBoxTracker::OnMouseUp);
    m_view->setMouseTracking(true);
}

CropBoxTracker::~CropBoxTracker()
{
    if (!m_view)
        return;
    m_view->setMoveCallback(nullptr);
    m_view->setDownCallback(nullptr);
    m_view->setUpCallback(nullptr);
    m_view->setCallBackObject(nullptr);
}

void CropBoxTracker::setElementRect(const QRect &element)
{
    m_element = element;
    placeItem();
}

void CropBoxTracker::setCropRect(const QRectF &crop)
{
    m_crop = clampFraction(crop);
    placeItem();
}

void CropBoxTracker::placeItem()
{
    if (m_view && !m_element.isEmpty())
        m_view->setItemRect(pixelBox(m_crop, m_element));
}

void CropBoxTracker::OnMouseMove(QPointF location, void *owner)
{
    auto *self = static_cast<CropBoxTracker *>(owner);
    if (self)
        self->mouseMove(self->viewPoint(location));
}

void CropBoxTracker::OnMouseDown(QPointF location, void *owner)
{
    auto *self = static_cast<CropBoxTracker *>(owner);
    if (self)
        self->mouseDown(self->viewPoint(location));
}

void CropBoxTracker::OnMouseUp(QPointF, void *owner)
{
    auto *self = static_cast<CropBoxTracker *>(owner);
    if (self)
        self->mouseUp();
}

QPoint CropBoxTracker::viewPoint(QPointF location) const
{
    // The view reports window coordinates.
    const QPoint rounded(int(std::lround(location.x())), int(std::lround(location.y())));
    return m_view ? m_view->mapFrom(m_view->window(), rounded) : rounded;
}

void CropBoxTracker::mouseDown(const QPoint &point)
{
    if (!m_view || m_element.isEmpty() || !isGrabbable(m_crop))
        return;
    const unsigned zone = hitZone(pixelBox(m_crop, m_element), point);
    if (zone == NoZone)
        return;
    m_zone = zone;
    m_press = point;
    m_startBox = m_crop;
    m_view->setCursor(cursorForZone(zone));
}

void CropBoxTracker::mouseMove(const QPoint &point)
{
    if (!m_view || m_element.isEmpty())
        return;
    if (m_zone == NoZone) {
        const unsigned hover = isGrabbable(m_crop) ? hitZone(pixelBox(m_crop, m_element), point) : NoZone;
        m_view->setCursor(cursorForZone(hover));
        return;
    }
    const QRectF box = dragBox(m_zone, m_startBox, m_press, point, m_element, m_minPixels);
    m_view->setCursor(cursorForZone(m_zone));
    if (box == m_crop)
        return;
    m_crop = box;
    placeItem();
    emit emitCropRectChange(m_crop);
}

void CropBoxTracker::mouseUp()
{
    m_zone = NoZone;
}
