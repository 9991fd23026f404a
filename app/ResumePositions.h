#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>

// Where playback of the files played last stopped, so that playing one of
// them again continues from there. Files are known by the bytes of their path:
// a name that is not UTF-8 must still find its own position.
class ResumePositions {
public:
    static constexpr qsizetype kCapacity = 200;

    struct Position {
        QByteArray file;
        int64_t positionMs = 0;
    };

    // Playback of the file stopped there. A stop that is not worth continuing
    // from (near either end, in short audio, or in media of unknown length)
    // forgets the file instead. YES when what is kept changed.
    bool stopped(const QByteArray &file, int64_t positionMs, int64_t lengthMs, bool isAudio);
    // Played to its end: it starts from the beginning next time.
    bool forget(const QByteArray &file);
    // Where playing the file again starts: 0 for its beginning.
    int64_t resumePosition(const QByteArray &file) const;

    // The most recent first, as the settings file keeps them.
    const QList<Position> &positions() const { return _positions; }
    // What a settings file held: anything it should not have held is left out.
    void setPositions(const QList<Position> &positions);

private:
    qsizetype indexOf(const QByteArray &file) const;

    QList<Position> _positions;
};
