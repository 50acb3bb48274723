#pragma once
// The "General" preferences page: automatic updates on or off, and what closing the main window does.
// Choices are written only when the user changed them (saveSetting, on the dialog's OK).

#include "ui_GeneralWidget.h"

#include <QWidget>

class GeneralWidget : public QWidget, public Ui::GeneralWidget
{
    Q_OBJECT
public:
    explicit GeneralWidget(QWidget *parent = nullptr);

    void InitCtrl();
    void saveSetting();
    void InitLanguage();
    bool getChangeLanguage() const;
    void retranslateUi();

signals:
    void sendUpdate(bool update);
    void sendLanguageName(QString qmFile);

public slots:
    void OnChanegeUpdate();
    void OnChangeClose();
    void languageChange(int index);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    bool m_bUpdate = false;
    bool m_bClose = false;
    int m_languageIndex = -1; // no stored language found yet
};
