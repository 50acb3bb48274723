#pragma once
// The media list: one row (VideoConvertBar) per clip in the order of the clip list, the drop target for
// files and folders, the list's context menu, selection, reordering, renaming, deletion, the search
// filter and the total duration; it tells the preview pane which clip to show, runs the import worker
// and starts the merge.
//
// The work is split by responsibility: QMainDlg.cpp (rows, selection, preview, painting),
// QMainDlgEdit.cpp (delete, reorder, filter, menus), QMainDlgImport.cpp (import worker),
// QMainDlgMerge.cpp (merge flow). Rules that need no widget live in MediaListRules, ImportRules and
// MergeFlow.

#include "MediaListRules.h"
#include "QLoadingDlg.h"
#include "QSaveFileDlg.h"
#include "QUtilThread.h"
#include "ui_QMainDlg.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <atomic>

class QNewConvertObject;
class QRirezaPlayerForm;
class QTimer;
class QZTMenu;
class QZTScrollBar;
class VideoConvertBar;
class ZtVideoConvertItem;
struct convertedInfo;

class QMainDlg : public QWidget, public Ui::QMainDlg, public QUtilThread
{
    Q_OBJECT
public:
    explicit QMainDlg(QWidget *parent = nullptr);
    ~QMainDlg() override;

    void setPlayerForm(QRirezaPlayerForm *form);
    void retranslateUi();
    void addImportFile(QStringList paths);
    void StartTraversalThread();
    void SearchTextChanged(const QString &text);
    // Stops a running import and a running join as their Stop buttons do (the join's partial file goes).
    void stopRunningWork();

    // For the window and for tests.
    const QList<VideoConvertBar *> &rows() const { return m_barList; }
    const QList<VideoConvertBar *> &visibleRows() const { return m_showBarList; }
    VideoConvertBar *playerRow() const { return m_pPlayerBar; }
    VideoConvertBar *focusRow() const { return m_pCurrentBar; }
    QString totalTimeText() const;
    // True while an import or a merge runs: the list, Add File, Import, drops and Convert are blocked.
    bool isBusy() const { return m_bImporting || m_bMerging; }
    bool isImporting() const { return m_bImporting; }
    bool isMerging() const { return m_bMerging; }
    QLoadingDlg *loadingDialog() const { return m_pLoadingDlg; }
    QSaveFileDlg *saveFileDialog() const { return m_pSaveFileDlg; }
    QNewConvertObject *convertObject() const { return m_pConvertObject; }
    QZTMenu *contextMenu() const { return m_pMenu; }
    // The row under the context menu's actions (tests and the main window's menu).
    QAction *action(const QString &text) const;
    static QString ImportFilter();

signals:
    void seedIsAddItem(bool hasRows);
    void emitIsStartConverter(bool bStart);
    // An import or a merge started (true) or ended (false).
    void seedListBusy(bool busy);
    void emitPressItem();
    void emitReleaseItem();
    void seedAddComplete(bool bShowMsg);
    void seedConvertItem(ZtVideoConvertItem *item);
    void emitPreparePlayer(ZtVideoConvertItem *item);
    void emitPlayerItem(ZtVideoConvertItem *item);
    void emitBtnEnable(bool previous, bool next);
    void emitPlayerItemChanged(ZtVideoConvertItem *item);
    void emitStopPlayer();
    // Import progress from the worker, delivered queued to the add-files dialog.
    void seedAddFilePath(const QString &path);
    void seedAddCount(const QString &text);
    void seedProgressValue(float value);

public slots:
    void OnConvert();
    void OnBtnPrevious();
    void OnBtnNext();
    void TrimChanged();
    void OnACtionImport();

private slots:
    void addConvertItem(ZtVideoConvertItem *item);
    void SelectAllItem();
    void selectPtChange(QPoint startPt, QPoint endPt);
    void ScrollBarShow(bool flag);
    void traversalTime();
    void StopAddFileThree();
    void AddFileComplete(bool);
    void respondMouseStateEmit();
    void respondMouseDoubleEmit();
    void shiftMouseStateEmit();
    void ctrlMouseStateEmit();
    void respondDeleteEmit();
    void respondEditEmit();
    void respondPlayEmit();
    void respondPauseEmit();
    void respondFileEmit();
    void respondShowTreeMenu();
    void respondFromInsertTo(int orginalPos, int insertPos, QDragMouseState mouseState);
    void OnBarbtnDelete();
    void ActionDeleteALL();
    void OnACtionPlay() {}
    void OnACtionConvert();
    void OnACtionRename();
    void OnACtionDelete();
    void ActionDeleteBar();
    void OnACtionDeleteAll();
    void OnACtionClearInvalidFile();
    void OnACtionOpenFile();
    void StartConverter();
    void StopConverter();
    void ConverterPro(float progress);
    void MergerFinished(bool success);
    void MergerTotalFinished();
    void SaveConvertedInfo(convertedInfo *info);
    void playStateChanged(bool flag);
    void playFinish();
    void OnStopSave();
    void onAddFilePath(const QString &path);
    void onAddCount(const QString &text);
    void onProgressValue(float value);

protected:
    void OnExecute() override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void Init();
    void InitMenu();
    // The list menu from Rename on (the same in every menu of the list).
    void addMenuActionsAfterConvert();
    void InitConnect();
    void placeLabels();
    void noticeBtnEnable(int index);
    void playerItem(VideoConvertBar *bar);
    void movePreview(int step);
    // Removes one row and its clip (index k in both lists); moves the preview when it was previewed.
    void removeRow(VideoConvertBar *bar);
    void previewAfterRemoval(int removedIndex);
    void commonDeleteEnd();
    void showMenu(bool onRow);
    void setImporting(bool on);
    void setMerging(bool on);
    void discardStoppedOutput();

    // Import worker (runs on the worker thread).
    void addSubFolderImages(const QString &folder, QStringList &found);
    ZtVideoConvertItem *CreateConvertItemInfo(const QString &path, int index);

    QString m_strSearch;
    VideoConvertBar *m_pDeleteBar = nullptr;
    VideoConvertBar *m_pCurrentBar = nullptr;
    VideoConvertBar *m_pAnchorBar = nullptr;
    QList<VideoConvertBar *> m_showBarList;
    QList<VideoConvertBar *> m_barList;
    VideoConvertBar *m_pPlayerBar = nullptr;
    QNewConvertObject *m_pConvertObject = nullptr;
    QPointer<QSaveFileDlg> m_pSaveFileDlg;
    QZTScrollBar *m_pScrollBar = nullptr;
    QZTMenu *m_pMenu = nullptr;
    QAction *m_actPlay = nullptr;
    QAction *m_actConvert = nullptr;
    QAction *m_actRename = nullptr;
    QAction *m_actDelete = nullptr;
    QAction *m_actDeleteAll = nullptr;
    QAction *m_actOpenFile = nullptr;
    QAction *m_actImport = nullptr;
    QAction *m_actClearInvalid = nullptr;

    QTimer *m_pTraversalTimer = nullptr;
    std::atomic<int> m_nTraversalCount{0};
    QStringList m_fileList;
    std::atomic<bool> m_bStopAdd{false};
    QPointer<QLoadingDlg> m_pLoadingDlg;
    QStringList m_importPathList;
    std::atomic<bool> m_bTraversal{false};
    QRirezaPlayerForm *m_pPlayerForm = nullptr;
    bool m_bStopSave = false;
    bool m_bImporting = false;
    bool m_bMerging = false;
    QString m_strMergeOutput;
    QImage m_noFileImage;
};
