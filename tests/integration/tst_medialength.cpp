#include "MediaFixtures.h"
#include "media/LibVlcBackend.h"

#include <QtTest>

class TestMediaLength : public QObject {
    Q_OBJECT

    std::unique_ptr<MediaBackend> _backend = createLibVlcBackend();
    QString _clip = MediaFixtures::video("length-2500.mp4", 2500);
    QString _sparse = MediaFixtures::sparseZeros("length-zeros-4g.mp4", 4LL << 30);
    QString _random = MediaFixtures::randomBytes("length-random.mp4", 200000);

private slots:
    void initTestCase() { QVERIFY(!_clip.isEmpty() && !_sparse.isEmpty()); }
    void cleanupTestCase() { QFile::remove(_sparse); }

    void lengthOrNoneWithoutHanging_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("lengthMs"); // -1: none
        // Files that never reach the engine answer at once; the others never hang.
        QTest::addColumn<int>("withinMs");
        QTest::addRow("2.5 s clip") << _clip << 2500 << 5000;
        QTest::addRow("random bytes named .mp4") << _random << -1 << 6000;
        QTest::addRow("empty file") << MediaFixtures::file("length-empty.mp4", {}) << -1 << 6000;
        QTest::addRow("missing file") << MediaFixtures::directory() + "/missing.mp4" << -1 << 6000;
        QTest::addRow("4 GB of zeros named .mp4") << _sparse << -1 << 6000;
        QTest::addRow("directory named .mkv") << MediaFixtures::folder("length.mkv") << -1 << 500;
        QTest::addRow("FIFO named .mp4") << MediaFixtures::fifo("length-fifo.mp4") << -1 << 500;
    }

    void lengthOrNoneWithoutHanging()
    {
        QFETCH(QString, path);
        QFETCH(int, lengthMs);
        QFETCH(int, withinMs);
        QVERIFY(!path.isEmpty());
        const VLCMediaPtr media = _backend->mediaWithPath(path);
        QElapsedTimer elapsed;
        elapsed.start();
        // The first ask only starts the parse, as does a wait whose deadline has passed.
        media->length();
        media->lengthWaitUntilDate(QDeadlineTimer(0));
        QVERIFY(elapsed.elapsed() < 50);
        const VLCTime length = media->lengthWaitUntilDate(QDeadlineTimer(20000));
        QVERIFY2(elapsed.elapsed() < withinMs, QByteArray::number(elapsed.elapsed()));
        QCOMPARE(length.isKnown(), lengthMs >= 0);
        QVERIFY2(qAbs(length.intValue() - qMax(lengthMs, 0)) <= 50,
                 QByteArray::number(length.intValue()));
        QCOMPARE(media->length().intValue(), length.intValue());
    }

    void waitEndsAtItsDeadline()
    {
        // A long queue of parses ahead of the clip's keeps it unparsed past a short deadline.
        std::vector<VLCMediaPtr> queue;
        for (int i = 0; i < 300; ++i)
            queue.emplace_back(_backend->mediaWithPath(_random))->length();
        const VLCMediaPtr media = _backend->mediaWithPath(_clip);
        QElapsedTimer elapsed;
        elapsed.start();
        const VLCTime length = media->lengthWaitUntilDate(QDeadlineTimer(150));
        const qint64 spentMs = elapsed.elapsed();
        QVERIFY2(spentMs < 250, QByteArray::number(spentMs));
        if (length.isKnown())
            QSKIP("the parse queue drained before the deadline");
        QVERIFY2(spentMs >= 145, QByteArray::number(spentMs));
        // The parse itself carries on and ends.
        QVERIFY(qAbs(media->lengthWaitUntilDate(QDeadlineTimer(20000)).intValue() - 2500) <= 50);
    }
};

QTEST_MAIN(TestMediaLength)
#include "tst_medialength.moc"
