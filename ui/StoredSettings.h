// Keeping Qt's own stored settings off the disk.
#pragma once

// Points Qt's user settings (QSettings in the native and INI formats) at a place where
// nothing can be read or written. The window stores no settings; without this, every
// file dialog would write its history and last folder to ~/.config/QtProject.conf when it
// closes. Call once, right after the application object is created.
void KeepSettingsOffDisk();
