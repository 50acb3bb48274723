#pragma once
// Start-up configuration of the skinned control library for this application: names, margins, dialog
// bands and font of the appearance record, and the styling of every skinned message box.

class QWidget;
struct QZTMessageBoxOption;

class QInitProject
{
public:
    QInitProject() {}

    static void InitProject(QWidget *widget);
    static void InitMessageBox();
    static void releseProject();
};

// Installed as the message box option callback: button texts, colours, fonts and offsets.
void MessageBoxOptionCallback(QZTMessageBoxOption *option);
