#pragma once
// The about box: logo, title, version, a link to the home page and the copyright line.

#include "QNinePointsImageDialog.h"
#include "ui_QAboutDlg.h"

class QAboutDlg : public QNinePointsImageDialog, public Ui::QAboutDlg
{
    Q_OBJECT
public:
    explicit QAboutDlg(QWidget *parent = nullptr);

public slots:
    void OnClickHome(const QString &);

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void placeLabels();
    QImage m_logo;
};
