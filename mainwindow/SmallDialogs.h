#pragma once
// Shared set-up of the main window's small notices: the nine-grid frame on the common dialog background
// with the three title-bar buttons, and the look of their OK/Cancel strip buttons and check buttons.

#include <QColor>
#include <QString>

class QNinePointsImageDialog;
class QTextImageButton;
class QCheckButton;
class QZTBaseButton;
class QZTDialog;

namespace SmallDialogs {

QString res(const char *path);
// Translucent frameless dialog on "/image/Common_bg/bg_2.png" with corners of `corner`, dragged by its
// top 30 pixels, fixed at w x h, with close (enabled) and disabled minimise and maximise buttons.
void frame(QNinePointsImageDialog *dlg, int corner, int w, int h);
// The same frame for a dialog whose form carries its own title-bar buttons: translucent frameless dialog on
// the common background with 80-pixel corners, dragged by its top 30 pixels, white Tahoma 12 px title
// `title`, centred, with the application's icon.
void ztFrame(QZTDialog *dlg, const QString &title);
// The form's close, minimise and maximise buttons; minimise and maximise are shown disabled.
void ztTitleButtons(QZTBaseButton *close, QZTBaseButton *min, QZTBaseButton *max);
// Lays them out along the top left, 8 pixels apart (on every resize of the dialog).
void placeTitleButtons(QZTBaseButton *close, QZTBaseButton *min, QZTBaseButton *max);
void stripButton(QTextImageButton *button, const QString &text, const QString &image, int w, int h,
                 const QColor &disabled);
// The colour of texts on the body of the common dialog background: white on a dark panel, a dark grey
// on a light one (the skin decides which the background is; the title band is dark in both).
QColor bodyTextColor();
// The colour of a link on that body.
QColor bodyLinkColor();

// "helvetica neue" at `points` (taken as pixels, as on the look's own platform), white text.
void checkButton(QCheckButton *button, bool radio, const QString &text, int points);

} // namespace SmallDialogs
