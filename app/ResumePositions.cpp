#include "ResumePositions.h"

namespace {

// Continuing from the first or last twentieth of a media saves next to
// nothing, and short audio is simply heard again.
constexpr int64_t kEdgeFraction = 20;
constexpr int64_t kShortAudioMs = 5 * 60 * 1000;

bool worthResuming(int64_t positionMs, int64_t lengthMs, bool isAudio)
{
    if (lengthMs <= 0 || (isAudio && lengthMs < kShortAudioMs))
        return false;
    return positionMs * kEdgeFraction > lengthMs &&
           positionMs * kEdgeFraction < lengthMs * (kEdgeFraction - 1);
}

} // namespace

bool ResumePositions::stopped(const QByteArray &file, int64_t positionMs, int64_t lengthMs,
                              bool isAudio)
{
    if (!worthResuming(positionMs, lengthMs, isAudio))
        return forget(file);
    const qsizetype index = indexOf(file);
    if (index == 0 && _positions.first().positionMs == positionMs)
        return false;
    if (index >= 0)
        _positions.remove(index);
    _positions.prepend({file, positionMs});
    if (_positions.size() > kCapacity)
        _positions.removeLast();
    return true;
}

bool ResumePositions::forget(const QByteArray &file)
{
    const qsizetype index = indexOf(file);
    if (index < 0)
        return false;
    _positions.remove(index);
    return true;
}

int64_t ResumePositions::resumePosition(const QByteArray &file) const
{
    const qsizetype index = indexOf(file);
    return index < 0 ? 0 : _positions.at(index).positionMs;
}

void ResumePositions::setPositions(const QList<Position> &positions)
{
    _positions.clear();
    for (const Position &position : positions) {
        if (_positions.size() == kCapacity)
            break;
        if (!position.file.isEmpty() && position.positionMs > 0 && indexOf(position.file) < 0)
            _positions.append(position);
    }
}

qsizetype ResumePositions::indexOf(const QByteArray &file) const
{
    for (qsizetype i = 0; i < _positions.size(); ++i) {
        if (_positions.at(i).file == file)
            return i;
    }
    return -1;
}
