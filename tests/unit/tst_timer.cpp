// The Timer: its count of whole seconds, the time text and its tick.
#include "app/Timer.h"

#include <QElapsedTimer>
#include <QtTest>

class TimerTest : public QObject {
    Q_OBJECT
private slots:
    void timeText_data();
    void timeText();
    void tickCountsAndReports();
    void pauseKeepsTheCountAndStartGoesOn();
    void refreshStartsAgainFromZero();
    void setTimeMovesTheCountInEitherState_data();
    void setTimeMovesTheCountInEitherState();
    void ticksOnceASecondOnTheEventLoop();
};

void TimerTest::timeText_data()
{
    QTest::addColumn<uint>("seconds");
    QTest::addColumn<QString>("text");
    QTest::addRow("nothing counted yet") << 0u << "00:00:00";
    QTest::addRow("under a minute") << 59u << "00:00:59";
    QTest::addRow("just under an hour") << 3599u << "00:59:59";
    QTest::addRow("one hour") << 3600u << "01:00:00";
    QTest::addRow("hours do not wrap at a day") << 90061u << "25:01:01";
    QTest::addRow("three-digit hours") << 360000u << "100:00:00";
    QTest::addRow("the largest count") << 4294967295u << "1193046:28:15";
}

void TimerTest::timeText()
{
    QFETCH(uint, seconds);
    QFETCH(QString, text);
    QCOMPARE(Timer::getTimeStr(seconds), text);
}

void TimerTest::tickCountsAndReports()
{
    QList<uint32_t> reported;
    Timer *self = nullptr;
    Timer timer([&] { reported.append(self->getSpentTimeUint()); });
    self = &timer;
    QCOMPARE(timer.getSpentTimeUint(), 0u);
    QCOMPARE(timer.getSpentTimeStr(), QStringLiteral("00:00:00"));
    QVERIFY(!timer.isCounting());

    timer.timerInvoked();
    timer.timerInvoked();
    // The count is up before the delegate hears of the tick.
    QCOMPARE(reported, QList<uint32_t>({1, 2}));
    QCOMPARE(timer.getSpentTimeStr(), QStringLiteral("00:00:02"));
}

void TimerTest::pauseKeepsTheCountAndStartGoesOn()
{
    Timer timer([] {});
    timer.start();
    QVERIFY(timer.isCounting());
    timer.timerInvoked();
    timer.timerInvoked();
    timer.pause();
    QVERIFY(!timer.isCounting());
    QCOMPARE(timer.getSpentTimeUint(), 2u);
    timer.start();
    timer.timerInvoked();
    QCOMPARE(timer.getSpentTimeUint(), 3u);
}

void TimerTest::refreshStartsAgainFromZero()
{
    Timer timer([] {});
    timer.start();
    timer.setTime(42);
    timer.refresh();
    QVERIFY(!timer.isCounting());
    QCOMPARE(timer.getSpentTimeUint(), 0u);
    QCOMPARE(timer.getSpentTimeStr(), QStringLiteral("00:00:00"));
}

void TimerTest::setTimeMovesTheCountInEitherState_data()
{
    QTest::addColumn<bool>("counting");
    QTest::addRow("while counting") << true;
    QTest::addRow("while stopped") << false;
}

void TimerTest::setTimeMovesTheCountInEitherState()
{
    QFETCH(bool, counting);
    Timer timer([] {});
    if (counting)
        timer.start();
    timer.setTime(75);
    QCOMPARE(timer.getSpentTimeUint(), 75u);
    QCOMPARE(timer.isCounting(), counting);
    timer.timerInvoked();
    QCOMPARE(timer.getSpentTimeStr(), QStringLiteral("00:01:16"));
}

void TimerTest::ticksOnceASecondOnTheEventLoop()
{
    int ticks = 0;
    Timer timer([&] { ++ticks; });
    QElapsedTimer elapsed;
    elapsed.start();
    timer.start();
    QTRY_COMPARE_WITH_TIMEOUT(ticks, 2, 3500);
    QVERIFY2(elapsed.elapsed() >= 1900, qPrintable(QString::number(elapsed.elapsed())));
    timer.pause();
    QTest::qWait(1200);
    QCOMPARE(ticks, 2);
    QCOMPARE(timer.getSpentTimeUint(), 2u);
}

QTEST_GUILESS_MAIN(TimerTest)
#include "tst_timer.moc"
