#pragma once
// The interface names font families that Linux does not ship ("Tahoma", "helvetica neue"). At start they
// are mapped onto installed families whose widths fit the fixed text boxes of the forms: Liberation Sans
// (Arial/Helvetica metrics) is narrower than the default DejaVu Sans, which overflows boxes measured for
// Tahoma; DejaVu Sans Condensed is the fallback.

class QZTFontSubstitution
{
public:
    // Idempotent. Runs by itself when the QApplication is constructed (a core start-up function of this
    // file, which the appearance record links in); callers may run it again.
    static void install();
};
