#pragma once
// The output-format chooser: the high-speed (lossless) or the encoding mode, a category and a profile
// tile of that mode's catalogue, a quality preset, and the embedded advanced parameter panel. Exactly one
// exists per process (getFormatWidget); it is a child of the window that first asked for it and goes
// with it.
//
// FormatWidget.cpp holds the behaviour, FormatWidgetSetup.cpp the construction, texts, layout and paint.

#include "AttributeSetting.h"
#include "QNinePointsImageDialog.h"
#include "ui_FormatWidget.h"

#include <QList>
#include <QPointer>

class QPropertyAnimation;
class QTextImageButton;
class QPlistRead;

typedef int QualityItem; // a VideoQuality value

class FormatWidget : public QNinePointsImageDialog, public Ui::FormatWidget
{
    Q_OBJECT
public:
    static FormatWidget *getFormatWidget(QWidget *parent);
    ~FormatWidget() override;

    void setFormatId(QString categories, QString itemID, bool reload);
    void setFormatIdLossLess(QString categories, QString itemID, bool reload);
    void setDefaultSet();
    void setDefaultQuality(QualityItem q);
    void saveDefaultQuality();
    void OnShowSettingDlg(bool show);
    void retranslateUi();
    void InitLossless();
    void InitCustomizeFormat();
    void showLosslessMode(bool lossless);
    void selectQuality(bool unused = false);
    void setCustomizedItem(bool customized);
    bool getIsLossless() const { return m_isLossless; }
    void startShowSetDlgAnimtion(bool show);
    void startShowFormatAnimtion(bool fold);
    void CenterDlg(QDialog &dlg);
    QString analysisItemIcon(const QString &category) const;
    QString getItemIcon() const;

    // State the main window and tests read.
    int quality() const { return m_quality; }
    bool isFolded() const { return m_isFold; }
    QString categories() const { return m_categories; }
    QString itemID() const { return m_itemID; }
    QString categoriesLossless() const { return m_categoriesLossless; }
    QString itemIDLossless() const { return m_itemIDLossless; }
    QList<QTextImageButton *> typeButtons() const { return m_typeBtnList; }
    QList<QTextImageButton *> typeLosslessButtons() const { return m_typeLosslessBtnList; }
    QImageButton *closeButton() const { return m_btnClose; }

signals:
    void sendDevFormatChange(QString DevFormat);
    void settingChangeForFormat();

public slots:
    void setDevFormat(QString DevName);
    void ItemPress(QString categories, QString itemID);
    void ItemPressLossless(QString categories, QString itemID);
    void OnClickLossless();
    void OnClickCustomizeFormat();
    void OnClickLosslessShow();
    void OnClickLosslessHidden();
    void OnBtnCancel();
    void OnBtnOk();
    void OnClickBtnSet(QString itemID);
    void OnTypeBtn();
    void OnTypeLosslessBtn();
    void OnClickFormatWgt();
    void ItemChange(int index);
    void isSelCustomized(bool customized);
    void valueChangeText(VideoQuality q);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    explicit FormatWidget(QWidget *parent);
    void InitDlg();
    void InitBtn();
    void resetControlLocation();
    QTextImageButton *makeCategoryButton(const QString &name);
    void setFolded(bool fold);
    static QPlistRead *encodingReader();
    static QPlistRead *losslessReader();

    QString m_categories;
    QString m_itemID;
    QString m_devName;
    QTextImageButton *m_curTypeBtn = nullptr;
    QList<QTextImageButton *> m_typeBtnList;
    QString m_categoriesLossless;
    QString m_itemIDLossless;
    bool m_isLossless = false;
    QTextImageButton *m_curTypeLosslessBtn = nullptr;
    QList<QTextImageButton *> m_typeLosslessBtnList;
    int m_quality = HighQuality;
    bool m_isFold = false;
    QPointer<QPropertyAnimation> m_panelAnimation;

    static FormatWidget *m_myself;
};
