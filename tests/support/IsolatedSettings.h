#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// The settings of every test process go to a configuration folder of its own,
// made before main, never the user's; each launched app starts from an empty one.
struct IsolatedSettings {
    QTemporaryDir folder;

    IsolatedSettings() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path())); }
    // Forgets what an app launched before saved.
    void clear()
    {
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
    }
    QString glazeFolder() const { return folder.filePath(QStringLiteral("glaze")); }
};

inline IsolatedSettings isolatedSettings;
