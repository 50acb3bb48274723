#pragma once
// The main window's link to the output-format chooser (FormatWidget): at start it restores the stored
// mode, profile and quality into the chooser, which fills the process-wide conversion record; the Format
// button opens the chooser over the window.

class FormatWidget;
class QWidget;

class FormatChooserLink
{
public:
    // Restores the stored choice (settings store) into the chooser and fills the conversion record.
    static FormatWidget *restoreChoice(QWidget *window);
    // Opens the chooser centred over the window (modal); the chooser stores the choice itself.
    static void openChooser(QWidget *window);
};
