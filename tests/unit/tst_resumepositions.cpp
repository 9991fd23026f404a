// Where a file played before continues: when it does, and which files are kept.
#include "app/ResumePositions.h"

#include <QtTest>
#include <numeric>

class ResumePositionsTest : public QObject {
    Q_OBJECT
    static QByteArray file(int number) { return "/m/" + QByteArray::number(number) + ".mkv"; }

private slots:
    void continuesOnlyFromWellInsideLongEnoughMedia_data()
    {
        QTest::addColumn<qint64>("lengthMs");
        QTest::addColumn<bool>("isAudio");
        QTest::addColumn<qint64>("stoppedMs");
        QTest::addColumn<qint64>("resumedMs");
        QTest::addRow("in the middle") << 100000ll << false << 50000ll << 50000ll;
        QTest::addRow("within the first 5 %%") << 100000ll << false << 5000ll << 0ll;
        QTest::addRow("within the last 5 %%") << 100000ll << false << 95000ll << 0ll;
        QTest::addRow("audio shorter than 5 minutes") << 299999ll << true << 150000ll << 0ll;
        QTest::addRow("audio of 5 minutes") << 300000ll << true << 150000ll << 150000ll;
    }
    void continuesOnlyFromWellInsideLongEnoughMedia()
    {
        QFETCH(qint64, lengthMs);
        QFETCH(bool, isAudio);
        QFETCH(qint64, stoppedMs);
        QFETCH(qint64, resumedMs);
        ResumePositions positions;
        // An earlier stop in the middle: the latest stop decides.
        positions.stopped(file(1), 50000, 100000, false);
        positions.stopped(file(1), stoppedMs, lengthMs, isAudio);
        QCOMPARE(positions.resumePosition(file(1)), resumedMs);
    }

    void keepsTheFilesPlayedLast_data()
    {
        QTest::addColumn<QList<int>>("stops");
        QTest::addColumn<int>("playedToEnd");
        QTest::addColumn<QList<int>>("kept");
        QTest::addColumn<int>("forgotten");
        QList<int> first200(200);
        std::iota(first200.begin(), first200.end(), 0);
        QTest::addRow("the 201st file evicts the oldest")
            << first200 + QList<int>{200} << -1 << QList<int>{1, 200} << 0;
        QTest::addRow("one stopped again is the most recent")
            << first200 + QList<int>{0, 200} << -1 << QList<int>{0, 200} << 1;
        QTest::addRow("played to its end forgets") << QList<int>{7, 8} << 7 << QList<int>{8} << 7;
    }
    void keepsTheFilesPlayedLast()
    {
        QFETCH(QList<int>, stops);
        QFETCH(int, playedToEnd);
        QFETCH(QList<int>, kept);
        QFETCH(int, forgotten);
        ResumePositions positions;
        for (int number : stops)
            positions.stopped(file(number), 40000 + number, 100000, false);
        positions.forget(file(playedToEnd));
        for (int number : kept)
            QCOMPARE(positions.resumePosition(file(number)), 40000 + number);
        QCOMPARE(positions.resumePosition(file(forgotten)), 0);
    }
};

QTEST_APPLESS_MAIN(ResumePositionsTest)
#include "tst_resumepositions.moc"
