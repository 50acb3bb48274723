#include "QInitProject.h"

#include "QProjectConfig.h"
#include "QZTMessageBox.h"

#include <QObject>
#include <QWidget>

void QInitProject::InitProject(QWidget *widget)
{
    QProjectConfig *config = QProjectConfig::getProjectConfig();
    config->setCompanyName(QStringLiteral("Quorvane"));
    config->setProjectName(QStringLiteral("Quorvane Reelsplice"));
    config->setProjectShortName(QStringLiteral("Reelsplice"));
    config->setTransparentMargins(8);
    config->setDlgTopAndBottom(22, 50);
    if (widget)
        config->setFont(widget->font());
    QZTMessageBox::setOptionCallback(MessageBoxOptionCallback);
}

void QInitProject::InitMessageBox()
{
    QZTMessageBox::setOptionCallback(MessageBoxOptionCallback);
}

void QInitProject::releseProject()
{
    QProjectConfig::releaseProjectConfig();
}

void MessageBoxOptionCallback(QZTMessageBoxOption *option)
{
    if (!option)
        return;
    option->okText = QObject::tr("OK");
    option->cancelText = QObject::tr("Cancel");
    option->yesText = QObject::tr("YES");
    option->noText = QObject::tr("NO");
    const QColor white(255, 255, 255);
    option->buttonTextColors[0] = white;
    option->buttonTextColors[1] = white;
    option->buttonTextColors[2] = white;
    option->buttonTextColors[3] = QColor(111, 111, 111);
    option->dlgTop = 22;
    option->dlgBottom = 50;
    option->closeButtonOffsetX = 1;
    option->closeButtonOffsetY = 1;
    option->titleFont.setFamily(QStringLiteral("Tahoma"));
    option->titleFont.setPixelSize(12);
    option->messageFont.setFamily(QStringLiteral("Tahoma"));
    option->messageFont.setPixelSize(12);
    option->palette.setBrush(QPalette::All, QPalette::WindowText, white);
    option->palette.setBrush(QPalette::All, QPalette::Text, white);
    option->iconOffset = -7;
}
