#pragma once
// The interface names font families that Linux does not ship ("Tahoma", "helvetica neue"). At start they
// are mapped onto installed families whose widths fit the fixed text boxes of the forms: Liberation Sans
// (Arial/Helvetica metrics) is narrower than the default DejaVu Sans, which overflows boxes measured for
// Tahoma; DejaVu Sans Condensed is the fallback.

class QZTFontSubstitution
{
public:
    // Idempotent; call once after the QApplication exists (the control library's start-up does).
    static void install();
};
