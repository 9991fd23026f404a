#pragma once

#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>

// Counts the whole seconds the current media has played. Playback time is
// counted here, not read from the player. Each tick reports to the
// application delegate (timeChanged).
class Timer {
public:
    explicit Timer(std::function<void()> onTick);

    void start();
    void pause();
    void refresh();
    uint32_t getSpentTimeUint() const { return _spentTime; }
    void setTime(uint32_t seconds) { _spentTime = seconds; }
    bool isCounting() const { return _timer.isActive(); }

    // The tick itself; public so that tests can drive the count without waiting.
    void timerInvoked();

    // "%02d:%02d:%02d"; hours do not wrap at 24.
    static QString getTimeStr(uint32_t seconds);

private:
    QTimer _timer;
    uint32_t _spentTime = 0;
    std::function<void()> _onTick;
};
