#pragma once

#include "ResumePositions.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What the player remembers between runs, in glaze/glaze.conf under the
// user's configuration folder. Nothing here may keep the player from
// starting: a file that cannot be read leaves the defaults, a folder that
// cannot be written to loses what would have been kept, and that is said
// once on standard error.
class PlayerSettings {
public:
    // The volume slider's value (its minimum is the muted state); none: the
    // slider's own.
    std::optional<int> volume;
    // What M brings back when the volume was left muted.
    std::optional<int> unmutedVolume;
    // The main window's, as QWidget::saveGeometry gives it; the overlay follows that window.
    QByteArray windowGeometry;
    bool playlistOpen = false;
    ResumePositions resumePositions;

    explicit PlayerSettings(QString filePath = defaultFilePath());

    static QString defaultFilePath();
    const QString &filePath() const { return _filePath; }

    // Reads the file the first time only: what has changed since is newer.
    void load();
    // Writes all of it. The file is replaced in one step: a crash while
    // writing leaves the former file whole.
    void save();

private:
    void complainOnce(const QString &message);

    QString _filePath;
    bool _loaded = false;
    bool _complained = false;
};
