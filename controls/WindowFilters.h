#pragma once

// The application-wide event filters that fit top-level windows to the desktop they run on: translucent
// windows masked where nothing blends them (TranslucentWindows) and positions read back from the window
// system (WindowPositions). They are installed here only, once per application object.
namespace rs {

// Installs the filters on the application object (idempotent; nothing without one). The program calls it at
// start-up and the window bases when they are made; it also runs by itself when the application object is
// made in a program that links this file.
void installWindowFilters();

} // namespace rs
