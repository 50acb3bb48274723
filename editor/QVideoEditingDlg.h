#pragma once
// The modal editor of one clip: the preview with its play bar, the tab row and the seven editing pages, all
// working on one edit model bound to the editor's own preview controller.
//
// Loading: on the first show a worker reads what the clip needs from the file (size, cover thumbnail, tags,
// chapters) and hands it back by queued signal; the GUI thread then opens the preview player and gives the
// record to the edit model. Until that has happened the editor cannot be closed (OK, Cancel, close and Escape
// are ignored) and the wait box covers it. The worker never waits for the GUI thread, so destroying the editor
// while it runs only joins it.
//
// Caller: setVideoFile, setEditConfig, isHaveVideo, setIsWatermarkAudioStartTime(true), exec. On 1:
// hideMediaForm, getApplyConfig into every other clip's record, getEditConfig into the clip's. On 0:
// getApplyConfig into every clip's record.

#include "QUtilThread.h"
#include "QZTDialog.h"
#include "VEEditConfig.h"
#include "ui_QVideoEditingDlg.h"

#include <QImage>
#include <QPointer>
#include <QSize>

#include <atomic>
#include <mutex>

class QAction;
class QAdjustOperationForm;
class QAudioOperationForm;
class QAudioTagForm;
class QEffectOperationForm;
class QMediaForm;
class QMessageOpacityForm;
class QPlayerOperationForm;
class QProgressIndicator;
class QSubtitleOperationForm;
class QTimer;
class QTrimOperationForm;
class QVideoEditTag;
class QVideoEditingSettings;
class QWaitForDlg;
class QWatermarkOperationForm;
class QZTMenu;
class ZTInfoManager;
class ZTPlayerManager;

// What the loading worker read from the clip's file.
struct EditorLoadResult
{
    unsigned int width = 0;
    unsigned int height = 0;
    QImage cover;
    VEAudioTagInfo tags;
    QList<VEChapterInfo> chapters;
};

class QVideoEditingDlg : public QZTDialog, public Ui::QVideoEditingDlg, public QUtilThread
{
    Q_OBJECT
public:
    // Tab indexes (VEOperationType).
    enum { Trim = 0, Adjust, Effect, Watermark, Subtitle, Audio, Tag };

    explicit QVideoEditingDlg(QWidget *parent = nullptr);
    ~QVideoEditingDlg() override;

    void setVideoFile(QString path, unsigned int width, unsigned int height);
    void setEditConfig(VEEditConfig &config);
    void setIsWatermarkAudioStartTime(bool on);
    void hideMediaForm();
    void getEditConfig(VEEditConfig &config);
    // `targetVideo`, the target clip's picture as its own editor's preview reports it (turned upright, the grid
    // its Adjust page counts in): a crop at "Original Resolution" states the crop in the clip's own pixels, so
    // the target gets its crop in its own (without a size, the pair is copied as it is). The target's trim start
    // must be the clip's current one: an applied background sound begins there.
    void getApplyConfig(VEEditConfig &target, const QSize &targetVideo = QSize());

    // The record with the file's facts merged in, as loading gives it to the edit model: the output size
    // from the file when none was given, the chapters when the record has none, the tags when the record
    // never read them.
    static void mergeLoadResult(VEEditConfig &record, const EditorLoadResult &loaded);
    // The snapshot file for a folder and a moment.
    static QString snapshotPath(const QString &folder, const QDateTime &when, const QString &format);

    // Tests stand in for a slow disk: the worker waits this long (in small steps, still stoppable) before it
    // reads.
    static void setLoadDelayForTesting(int ms) { s_loadDelayMs = ms; }

    bool isLoaded() const { return m_loaded; }
    int currentTab() const { return m_currentTab; }
    ZTPlayerManager *playerManager() const { return m_player; }
    QVideoEditingSettings *editSettings() const { return m_editSettings; }
    QVideoEditTag *editTag() const { return m_editTag; }
    QMediaForm *mediaForm() const { return m_mediaForm; }
    QPlayerOperationForm *playBar() const { return m_playBar; }
    QTrimOperationForm *trimPage() const { return m_trimForm; }
    QAdjustOperationForm *adjustPage() const { return m_adjustForm; }
    QEffectOperationForm *effectPage() const { return m_effectForm; }
    QWatermarkOperationForm *watermarkPage() const { return m_watermarkForm; }
    QSubtitleOperationForm *subtitlePage() const { return m_subtitleForm; }
    QAudioOperationForm *audioPage() const { return m_audioForm; }
    QAudioTagForm *tagPage() const { return m_tagForm; }
    QWaitForDlg *waitDialog() const;
    QMessageOpacityForm *messageForm() const { return m_messageForm; }
    QZTMenu *snapshotMenu() const { return m_menu; }

signals:
    void emitThreadComplete();
    void emitMediaCoverImage(QImage image);
    void emitPreviousFile();
    void emitNextFile();
    void emitAddSubtitleToCmb(QString name, QString filePath);

public slots:
    void isHaveVideo(bool flag);
    void onEditFileRefused(QString why);
    void selectedTag(int index);
    void onWatermartTextSetting();
    void dlgClose();
    void onSubtitleSetting();
    void onApplyToAll();
    void onSnapshot();
    void onSnapshotMenu();
    void openImgPath();
    void showPathSettingDlg();
    void onOpenDlg(bool isShow);
    void loadingTimer();
    void threadComplete();
    void startPlayerCon();
    void onOK();
    void onCancel();
    void done(int result) override;

protected:
    void OnExecute() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void initData();
    void initControls();
    void connectPages();
    void initMenu();
    void ininScreenshotsInfo();
    void initEditTag();
    void updateMediaFormGeometry();
    void showOpacityMsgDlg(const QString &text);

    ZTPlayerManager *m_player = nullptr;
    ZTInfoManager *m_info = nullptr; // used only by the loading worker while it runs
    QVideoEditingSettings *m_editSettings = nullptr;
    QVideoEditTag *m_editTag = nullptr;
    int m_currentTab = 0;
    QMediaForm *m_mediaForm = nullptr;
    QPlayerOperationForm *m_playBar = nullptr;
    QTrimOperationForm *m_trimForm = nullptr;
    QAdjustOperationForm *m_adjustForm = nullptr;
    QEffectOperationForm *m_effectForm = nullptr;
    QWatermarkOperationForm *m_watermarkForm = nullptr;
    QSubtitleOperationForm *m_subtitleForm = nullptr;
    QAudioOperationForm *m_audioForm = nullptr;
    QAudioTagForm *m_tagForm = nullptr;
    QZTMenu *m_menu = nullptr;
    QAction *m_actOpenFolder = nullptr;
    QAction *m_actSettings = nullptr;
    QString m_snapshotFormat;
    QString m_snapshotFolder;
    QMessageOpacityForm *m_messageForm = nullptr;
    VEEditConfig m_applyConfig;
    bool m_applyFlags[10] = {};
    VEEditConfig m_clipConfig;
    unsigned int m_width = 0;
    unsigned int m_height = 0;
    QString m_path;
    QTimer *m_loadingTimer = nullptr;
    QPointer<QWaitForDlg> m_waitDlg;
    QProgressIndicator *m_indicator = nullptr;
    bool m_noPlayerAudio = true;
    bool m_childDlgOpen = false;
    bool m_shownOnce = false;
    bool m_loaded = false; // the record is in the edit model and the player is open

    // Worker side: it reads m_path/m_width/m_height (fixed before it starts) and m_info; its result waits
    // here until the GUI thread takes it.
    std::atomic<bool> m_stopLoading{false};
    std::mutex m_resultMutex;
    EditorLoadResult m_result;
    bool m_hasResult = false;
    static std::atomic<int> s_loadDelayMs;
};
