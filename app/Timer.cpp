#include "Timer.h"

Timer::Timer(std::function<void()> onTick)
    : _onTick(std::move(onTick))
{
    _timer.setInterval(1000);
    _timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&_timer, &QTimer::timeout, [this] { timerInvoked(); });
}

void Timer::start()
{
    _timer.start();
}

void Timer::pause()
{
    _timer.stop();
}

void Timer::refresh()
{
    _spentTime = 0;
    _timer.stop();
}

void Timer::timerInvoked()
{
    ++_spentTime;
    if (_onTick)
        _onTick();
}

QString Timer::getTimeStr(uint32_t seconds)
{
    const uint32_t hours = seconds / 3600;
    const uint32_t minutes = (seconds % 3600) / 60;
    return QString::asprintf("%02u:%02u:%02u", hours, minutes, seconds % 60);
}
