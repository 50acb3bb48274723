#pragma once
// One row of the media list: the clip's thumbnail, its name without extension and the length of its
// trimmed range, with the row's own Rename, Delete, Edit, Play and Pause buttons. It turns mouse input
// into selection signals for the list, renames its clip in place, writes the thumbnail cache file, and
// is the drag source and drop target when rows are reordered. Decisions over several rows belong to the
// list (QMainDlg).

#include "MediaListRules.h"
#include "ui_VideoConvertBar.h"

#include <QPoint>
#include <QWidget>

class ZtVideoConvertItem;
class QZTBaseButton;
class QMimeData;

class VideoConvertBar : public QWidget, public Ui::VideoConvertBar
{
    Q_OBJECT
public:
    static const char *const kDragMime; // "application/x-dnditemdata"
    static const char *const kListMime; // the identity of the list a dragged row comes from

    // The drag payload of this row: its picture under kDragMime, its index as text, and its list's
    // identity, so that only rows of the same list accept it.
    QMimeData *createDragData() const;

    explicit VideoConvertBar(QWidget *parent = nullptr);
    ~VideoConvertBar() override;

    void setVideoItemInfo(ZtVideoConvertItem *item);
    void updateItemInfo(ZtVideoConvertItem *item);
    ZtVideoConvertItem *getVideoItemInfo() const { return m_pItem; }
    int getIndex() const;
    QString getVideoName() const;
    QString getVideoPath() const;
    QString getOutputPath() const;
    QString thumbnailPath() const { return m_strThumbPath; }

    void setMouseState(QConvertMouseState state);
    QConvertMouseState getMouseState() const { return m_mouseState; }
    void setIsPlayer(bool player);
    bool getIsPlayer() const { return m_bPlayer; }
    QDragMouseState dropState() const { return m_dropState; }
    void updateTrimTime();
    void retranslateUi();
    void resetIconImage();

    // Per-clip conversion looks, kept for a single-file mode the merge does not use.
    void setConvertState();
    void WaitConverVideo();
    void FailConverVideo();
    int getConvertState() const { return m_nConvertState; }
    bool isBigFile() const;
    void removeOutPutDir();
    void RefreshBtn(QImage &image, QRect rect, QZTBaseButton *button);
    void changeCtrlColor() {}

    static void InitResources();
    static void ReleaseResources();
    // "name" of "name.ext"; the whole text without a dot.
    static QString trimName(const QString &name);

signals:
    void emitMousePress();
    void emitMouseRelease();
    void emitMouseShiftPress();
    void emitMouseCtrlPress();
    void emitMouseDoublePress();
    void emitDelete();
    void emitEdit();
    void emitPlay();
    void emitPause();
    void emitshowTreeMenu();
    void emitRepaint();
    void emitFromInsertTo(int from, int to, QDragMouseState state);

public slots:
    void OnBtnDelete();
    void OnBtnEditName();
    void ChangeName();
    void OnBtnEdit();
    void OnBtnPlay();
    void setEditBtnEnabled(bool) {}
    void onPlay();
    void onPause();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void enterEvent(QEvent *e) override;
    void leaveEvent(QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dragLeaveEvent(QDragLeaveEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void InitCtrl();
    void settingChange();
    void RefreshLocation();
    void drawStaticCtrl();
    // The look painted: selected while previewed, normal while disabled, else the mouse state.
    QConvertMouseState effectiveState() const;
    void changeEvent(QEvent *e) override;
    void bindPicture();
    bool acceptsDrag(const QDropEvent *e) const;
    QByteArray listIdentity() const;
    QPixmap dragPicture() const;
    void trackDrag(QDropEvent *e);

    ZtVideoConvertItem *m_pItem = nullptr;
    int m_nConvertState = 0;
    int m_nIndex = -1;
    QString m_strThumbPath;
    QConvertMouseState m_mouseState = 0;
    bool m_bPressed = false;
    QPoint m_pressPoint;
    QDragMouseState m_dropState = 0;
    bool m_bPlayer = false;
    int m_drawnLook = -1;

    static QPixmap *g_iconPixmap;
    static QImage *g_btnEditTImage;
    static QImage *g_btnMarkImage;
    static QImage *g_btnCloseImage;
    static QImage *g_btnEditImage;
};
