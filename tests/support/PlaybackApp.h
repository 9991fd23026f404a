#pragma once

#include "LaunchedApp.h"

#include "media/NativePath.h"

#include <QTemporaryDir>
#include <fstream>
#include <optional>

// Glaze launched on the stand-in engine, with playlist entries for files in a
// folder of its own. Entries go straight into the lists, as a finished append
// leaves them, so that playback is tested apart from classification.
struct PlaybackApp : LaunchedApp {
    QTemporaryDir folder;

    QString pathOf(const QString &name) const { return folder.filePath(name); }

    // Makes an empty file of that name from the path's bytes: a name may hold
    // bytes that are not UTF-8.
    bool makeFile(const QString &name) const
    {
        return bool(std::ofstream(NativePath::toNative(pathOf(name)).constData()));
    }

    // Adds an entry for a new (empty) file; the engine reports `lengthMs` for
    // it, or no length at all. The table then shows the whole playlist.
    MediaEntry add(const QString &name, std::optional<int> lengthMs = std::nullopt)
    {
        if (!makeFile(name))
            return nullptr;
        const VLCTime length = lengthMs ? VLCTime(*lengthMs) : VLCTime();
        backend.setLength(pathOf(name), length);
        auto entry = std::make_shared<const PlaylistEntry>(PlaylistEntry{pathOf(name), length});
        appDelegate->mediaPlaylist()->append(entry);
        appDelegate->mediaPreviews()->append(nullptr);
        appDelegate->dropFilter();
        return entry;
    }

    // Makes the entry current, loads and plays it, as double-clicking does.
    bool loadAndPlay(int64_t index)
    {
        access().setMediaIndex(index);
        if (!appDelegate->configureForCurrentMedia())
            return false;
        appDelegate->playPauseButtonClick(nullptr);
        return appDelegate->isPlaying();
    }

    // A second of playback: the engine moves on, then the Timer ticks, without the wait.
    // A stalled engine (`moving` false) stays where it is.
    void tick(int times = 1, bool moving = true)
    {
        for (int i = 0; i < times; ++i) {
            if (moving)
                player()->advance(1000);
            appDelegate->timer()->timerInvoked();
        }
    }

    QString currentPath() const
    {
        const int64_t index = appDelegate->mediaIndex();
        return index >= 0 && index < appDelegate->mediaPlaylist()->size()
                   ? appDelegate->mediaPlaylist()->at(index)->path
                   : QString();
    }
};
