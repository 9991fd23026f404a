#include "MediaFixtures.h"
#include "media/LibVlcBackend.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

// The engine's parse of real files: lengths, files that have none, and waits
// that end at their deadline whatever the file.
class TestMediaLength : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void clipReportsItsLength();
    void lengthArrivesWithoutWaiting();
    void unreadableFilesHaveNoLength_data();
    void unreadableFilesHaveNoLength();
    void waitEndsAtItsDeadline();

private:
    std::unique_ptr<MediaBackend> _backend;
    QString _clip;
    QString _sparse;
};

void TestMediaLength::initTestCase()
{
    _backend = createLibVlcBackend();
    _clip = MediaFixtures::video(QStringLiteral("length-2500.mp4"), 2500);
    QVERIFY(!_clip.isEmpty());
    _sparse = MediaFixtures::sparseZeros(QStringLiteral("length-zeros-4g.mp4"), 4LL << 30);
    QVERIFY(!_sparse.isEmpty());
}

void TestMediaLength::cleanupTestCase()
{
    QFile::remove(_sparse);
}

void TestMediaLength::clipReportsItsLength()
{
    const VLCMediaPtr media = _backend->mediaWithPath(_clip);
    QCOMPARE(media->path(), _clip);
    QCOMPARE(media->url(), QUrl::fromLocalFile(_clip));
    QElapsedTimer elapsed;
    elapsed.start();
    const VLCTime length = media->lengthWaitUntilDate(QDeadlineTimer(5000));
    QVERIFY2(elapsed.elapsed() < 5000, "the parse ended, so the wait must end before the deadline");
    QVERIFY(length.isKnown());
    QVERIFY2(qAbs(length.intValue() - 2500) <= 50, qPrintable(QString::number(length.intValue())));
    QCOMPARE(length.stringValue(), QStringLiteral("00:02"));
    // Known for good once parsed.
    QCOMPARE(media->length().intValue(), length.intValue());
    qInfo("parse of a 2.5 s clip took %lld ms", elapsed.elapsed());
}

void TestMediaLength::lengthArrivesWithoutWaiting()
{
    const VLCMediaPtr media = _backend->mediaWithPath(_clip);
    QElapsedTimer elapsed;
    elapsed.start();
    // The first ask starts the parse in the background and answers at once,
    // as does a wait whose deadline has passed.
    media->length();
    media->lengthWaitUntilDate(QDeadlineTimer(0));
    QVERIFY(elapsed.elapsed() < 50);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(media->length().intValue() - 2500) <= 50, 5000);
}

void TestMediaLength::unreadableFilesHaveNoLength_data()
{
    QTest::addColumn<QString>("path");
    // Files that never reach the engine answer without any parse at all.
    QTest::addColumn<int>("promptMs");
    QTest::addRow("random bytes named .mp4")
        << MediaFixtures::randomBytes(QStringLiteral("length-random.mp4"), 200000) << 6000;
    QTest::addRow("empty file") << MediaFixtures::file(QStringLiteral("length-empty.mp4"), {})
                                << 6000;
    QTest::addRow("missing file") << MediaFixtures::directory() + QStringLiteral("/missing.mp4")
                                  << 6000;
    QTest::addRow("directory named .mkv")
        << MediaFixtures::folder(QStringLiteral("length-folder.mkv")) << 500;
    QTest::addRow("FIFO named .mp4")
        << MediaFixtures::fifo(QStringLiteral("length-fifo.mp4")) << 500;
    QTest::addRow("4 GB of zeros named .mp4") << _sparse << 6000;
}

void TestMediaLength::unreadableFilesHaveNoLength()
{
    QFETCH(QString, path);
    QFETCH(int, promptMs);
    QVERIFY(!path.isEmpty());
    const VLCMediaPtr media = _backend->mediaWithPath(path);
    QElapsedTimer elapsed;
    elapsed.start();
    QVERIFY(media->length().intValue() <= 0);
    QVERIFY(elapsed.elapsed() < 1000);
    const VLCTime length = media->lengthWaitUntilDate(QDeadlineTimer(20000));
    const qint64 spentMs = elapsed.elapsed();
    QVERIFY(!length.isKnown());
    QCOMPARE(length.intValue(), 0);
    QCOMPARE(length.stringValue(), QStringLiteral("00:00"));
    QVERIFY2(spentMs < promptMs, qPrintable(QStringLiteral("%1 ms").arg(spentMs)));
    qInfo("no length after %lld ms", spentMs);
}

void TestMediaLength::waitEndsAtItsDeadline()
{
    // The engine parses one media at a time, each in a few milliseconds: a
    // long queue of parses ahead of the clip's keeps it unparsed past a short
    // deadline.
    const QString slowToParse =
        MediaFixtures::randomBytes(QStringLiteral("length-random.mp4"), 200000);
    std::vector<VLCMediaPtr> queue;
    for (int i = 0; i < 300; ++i) {
        queue.push_back(_backend->mediaWithPath(slowToParse));
        queue.back()->length();
    }
    const VLCMediaPtr media = _backend->mediaWithPath(_clip);
    constexpr int DeadlineMs = 150;
    QElapsedTimer elapsed;
    elapsed.start();
    const VLCTime length = media->lengthWaitUntilDate(QDeadlineTimer(DeadlineMs));
    const qint64 spentMs = elapsed.elapsed();
    QVERIFY2(spentMs < DeadlineMs + 100, qPrintable(QStringLiteral("%1 ms").arg(spentMs)));
    if (length.isKnown())
        QSKIP("the parse queue drained before the deadline; nothing more to measure");
    QVERIFY2(spentMs >= DeadlineMs - 5, qPrintable(QStringLiteral("%1 ms").arg(spentMs)));
    // The parse itself carries on and ends.
    QVERIFY(qAbs(media->lengthWaitUntilDate(QDeadlineTimer(20000)).intValue() - 2500) <= 50);
    qInfo("queued parses ended after %lld ms", elapsed.elapsed());
}

QTEST_MAIN(TestMediaLength)
#include "tst_medialength.moc"
