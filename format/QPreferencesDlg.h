#pragma once
// The preferences dialog: "General" and "Convert" pages chosen by a column of page buttons. "OK" saves
// both pages and closes; "Cancel", the close button and Escape close without saving.

#include "QNinePointsImageDialog.h"
#include "ui_QPreferencesDlg.h"

#include <QList>

class ConvertWidget;
class GeneralWidget;
class QTextImageButton;
class QZTScrollBar;

enum ShowSettingDlg { ShowGeneral = 1, ShowConvert = 2 };

class QPreferencesDlg : public QNinePointsImageDialog, public Ui::QPreferencesDlg
{
    Q_OBJECT
public:
    explicit QPreferencesDlg(QWidget *parent = nullptr);
    ~QPreferencesDlg() override;

    void showPreferencesWgt(ShowSettingDlg page);
    void retranslateUi();
    GeneralWidget *generalPage() const { return m_generalWidget; }
    ConvertWidget *convertPage() const { return m_convertWidget; }
    QList<QTextImageButton *> pageButtons() const { return m_btnList; }
    QImageButton *closeButton() const { return m_btnClose; }

signals:
    void emitAutoUpdate(bool update);
    void emitLangugeChangeSet(bool bChange);

public slots:
    void OnBtnOk();
    void OnLeftBtn();
    bool setLanguge(QString qmFile);

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void InitBtn();
    void InitDlg();
    void placeButtons();

    QTextImageButton *m_curBtn = nullptr;
    QList<QTextImageButton *> m_btnList;
    QZTScrollBar *m_scrollBar = nullptr;
    GeneralWidget *m_generalWidget = nullptr;
    ConvertWidget *m_convertWidget = nullptr;
};
