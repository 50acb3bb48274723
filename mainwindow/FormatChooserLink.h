#pragma once
// The main window's link to the output-format choice: at start it restores the stored mode, profile and
// quality into the process-wide conversion record, and the Format button opens the chooser.

class QWidget;

class FormatChooserLink
{
public:
    // Restores the stored choice (settings store) and fills the conversion record.
    static void restoreChoice(QWidget *window);
    // Opens the chooser over the window (modal); the chooser stores the choice itself.
    static void openChooser(QWidget *window);
    // Deletes the chooser (with the main window).
    static void release();
};
