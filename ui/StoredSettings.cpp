// Qt's settings pointed at /dev/null: no file can be created below it, so QSettings reads
// nothing and its writes fail quietly.
#include "ui/StoredSettings.h"

#include <QSettings>

void KeepSettingsOffDisk() {
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
    }
}
