#pragma once

#include "app/desktop/DesktopPlayer.h"
#include "playlist/PlaylistEntry.h"

#include <QPointer>

class AppDelegate;

// The player as the desktop drives it, over AppDelegate: its commands are the
// ones the overlay's controls send, and what it tells comes from the same
// state they show.
class DesktopPlayerAdapter : public DesktopPlayer {
    Q_OBJECT
public:
    explicit DesktopPlayerAdapter(AppDelegate *appDelegate);

    Status status() const override;
    Track currentTrack() const override;
    QImage currentPreview() const override;
    qint64 positionMs() const override;
    double volume() const override;
    void setVolume(double volume) override;
    bool canGoNext() const override;
    bool canGoPrevious() const override;

    void play() override;
    void pause() override;
    void stop() override;
    void next() override;
    void previous() override;
    void setPositionMs(qint64 positionMs) override;
    void openFiles(const QStringList &paths) override;
    void enqueueFiles(const QStringList &paths) override;
    void raise() override;
    void quit() override;

private:
    MediaEntry currentEntry() const;

    QPointer<AppDelegate> _appDelegate;
    // The entry last reported as current and the id it was given.
    mutable std::weak_ptr<const PlaylistEntry> _trackEntry;
    mutable quint64 _trackId = 0;
};
