#pragma once

#include <QImage>
#include <QObject>
#include <QStringList>

// The player as the desktop drives it: media keys and the desktop's media
// controls (MPRIS), and a second `glaze` handing over its files. The
// application implements it; nothing here knows more of the application.
class DesktopPlayer : public QObject {
    Q_OBJECT
public:
    enum class Status { Stopped, Playing, Paused };
    // The current entry. Its id names it while it is current and changes with
    // it; 0 when nothing is current.
    struct Track {
        quint64 id = 0;
        // A path as NativePath keeps it: bytes that are not UTF-8 stay escaped.
        QString path;
        QString title;
        // 0 while the length is not known.
        qint64 lengthMs = 0;
    };

    using QObject::QObject;

    virtual Status status() const = 0;
    virtual Track currentTrack() const = 0;
    // The current entry's preview; null for audio.
    virtual QImage currentPreview() const = 0;
    virtual qint64 positionMs() const = 0;
    // 1.0 is the engine's own level, without amplification.
    virtual double volume() const = 0;
    // Clamped to what the player's volume control can show.
    virtual void setVolume(double volume) = 0;
    virtual bool canGoNext() const = 0;
    virtual bool canGoPrevious() const = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void next() = 0;
    virtual void previous() = 0;
    // Moves within the current entry; at its length it ends, as if played to the end.
    virtual void setPositionMs(qint64 positionMs) = 0;
    // As files dropped on the video: added, the first one plays.
    virtual void openFiles(const QStringList &paths) = 0;
    // As files dropped on the playlist table: appended.
    virtual void enqueueFiles(const QStringList &paths) = 0;
    virtual void raise() = 0;
    virtual void quit() = 0;

signals:
    // Something above changed; playback moving on does not count.
    void stateChanged();
    // The position jumped there.
    void seeked(qint64 positionMs);
};
