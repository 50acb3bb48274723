#pragma once

class QObject;
class QWidget;

// Skinned windows are drawn translucent: a soft shadow or rounded corners around the visible panel. Only a
// compositing manager blends those pixels with the desktop; on a plain X11 desktop they come out black. Every
// translucent top-level window is fitted here, in one place: without a compositor it gets a window mask of
// the pixels it really draws, so the shadow margin and the corners show the desktop instead of black.
namespace rs {

// True when translucent pixels are blended with what lies below (a compositor runs, or the platform always
// composites: Wayland, offscreen rendering).
bool windowsAreComposited();

// The application-wide filter that fits every translucent top-level window when it is shown or resized
// (rs::installWindowFilters installs it).
QObject *newTranslucentWindowFilter(QObject *parent);

// Fits one window now: masks it to its drawn shape without a compositor, unmasks it with one.
void fitTranslucentWindow(QWidget *window);

} // namespace rs
