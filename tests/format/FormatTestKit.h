#pragma once
// Helpers of the format tests: a clean settings store, the main window's restore of the chooser, clicks on
// the chooser's widgets through their window, and screenshots into <build>/gallery.

#include <QString>
#include <QWidget>

class FormatWidget;
class FormatItem;
class FormatItemWidget;
class QTextImageButton;

namespace ftk {

// Points the program at the build bundle and removes every settings file of the temporary HOME.
void resetSettings();
// What the main window does at start-up and before each opening (stored mode, profile and preset).
void restoreChooser(FormatWidget *chooser);
void click(QWidget *w, const QPoint &at = QPoint(-1, -1));
void doubleClick(QWidget *w);
// Closes the next modal dialog (a message box) as soon as it shows; counts how many were closed.
void closeNextModal(int *closed);
// Waits until the panel's animations have finished.
void settle();
FormatItem *tile(FormatItemWidget *grid, const QString &id);
QTextImageButton *categoryButton(const QList<QTextImageButton *> &buttons, const QString &name);
// Saves the window to <build>/gallery/<name>.png; fails when nothing was drawn, or (naming them) when controls
// of the window cannot be clicked.
bool shoot(QWidget *w, const QString &name);

} // namespace ftk
