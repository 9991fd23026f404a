// Playback on the real engine, in real time, with clips made by ffmpeg: clips
// that play through one after another, pause and resume, a seek measured
// against the engine's own position, and files the engine cannot play.
#include "EngineApp.h"
#include "MediaFixtures.h"
#include "app/ApplicationMain.h"
#include "controls/ImageButton.h"
#include "media/LibVlcBackend.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

namespace {

// The Timer's count of seconds, and the engine's own position.
uint32_t countedSeconds(const EngineApp &app)
{
    return app.d->timer()->getSpentTimeUint();
}

int playerTimeMs(const EngineApp &app)
{
    return app.d->mediaPlayer()->time().intValue();
}

// A test pattern with a keyframe every second, so that seeks land where asked.
QString seekableClip(const QString &name, int seconds)
{
    return MediaFixtures::generate(name, {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25", "-t",
                                          QString::number(seconds), "-pix_fmt", "yuv420p", "-c:v",
                                          "libx264", "-preset", "ultrafast", "-g", "25"});
}

// Runs the command and answers how long it took, in milliseconds.
template <typename Command> qint64 timed(Command command)
{
    QElapsedTimer elapsed;
    elapsed.start();
    command();
    return elapsed.elapsed();
}

} // namespace

class PlaybackEngineTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void threeClipsPlayOneAfterAnother();
    void pauseAndResumeContinueTheCount();
    void seekLandsWithinHalfASecondOfTheTimer();
    void filesTheEngineCannotPlayStayControllable_data();
    void filesTheEngineCannotPlayStayControllable();
    void undecodableVideoIsNotAdded();
    void currentFileDeletedWhilePlaying();
    void currentFileRenamedWhilePaused();

private:
    std::unique_ptr<MediaBackend> _backend;
};

void PlaybackEngineTest::initTestCase()
{
    _backend = createLibVlcBackend();
    QVERIFY(_backend);
}

void PlaybackEngineTest::threeClipsPlayOneAfterAnother()
{
    QStringList clips;
    for (const char *name : {"through-a.mp4", "through-b.mp4", "through-c.mp4"}) {
        clips.append(MediaFixtures::video(QLatin1String(name), 2000));
        QVERIFY(!clips.last().isEmpty());
    }
    EngineApp app;
    QVERIFY(app.launch(_backend.get()));
    AppDelegate *d = app.d;

    // What played, sampled as it happens: the current entry and how far the
    // engine itself got in it.
    QList<int64_t> indexes;
    QHash<int64_t, int> furthestMs;
    const auto sample = [&] {
        if (indexes.isEmpty() || indexes.last() != d->mediaIndex())
            indexes.append(d->mediaIndex());
        if (d->mediaIndex() >= 0)
            furthestMs[d->mediaIndex()] =
                std::max(furthestMs.value(d->mediaIndex()), playerTimeMs(app));
    };
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, sample);

    QVERIFY(d->mediaDragEvent(clips));
    QVERIFY(d->isPlaying());
    QElapsedTimer elapsed;
    elapsed.start();
    sampler.start(20);
    QTRY_COMPARE_WITH_TIMEOUT(d->mediaIndex(), int64_t(-1), 15000);
    const qint64 tookMs = elapsed.elapsed();
    sampler.stop();
    sample();

    QCOMPARE(indexes, QList<int64_t>({0, 1, 2, -1}));
    for (int64_t index = 0; index < 3; ++index)
        QVERIFY2(
            furthestMs.value(index) >= 1000,
            qPrintable(
                QStringLiteral("clip %1 reached %2 ms").arg(index).arg(furthestMs.value(index))));
    // Each ends at the Timer's second tick.
    QVERIFY2(tookMs >= 5800 && tookMs < 10000, qPrintable(QString::number(tookMs)));
    QVERIFY(!d->isPlaying());
    QVERIFY(!d->mediaBackgroundImageView()->isHidden());
    auto *playPause = qobject_cast<ImageButton *>(d->playPauseButton());
    QCOMPARE(playPause->image(), QStringLiteral("play"));
    QVERIFY(!d->mediaPlayer()->media());
    QCOMPARE(d->mediaPlaylist()->size(), 3);
    QCOMPARE(d->spentTimeLabel()->text(), QStringLiteral("00:00:00"));
}

void PlaybackEngineTest::pauseAndResumeContinueTheCount()
{
    const QString clip = MediaFixtures::video(QStringLiteral("pause-10s.mp4"), 10000);
    QVERIFY(!clip.isEmpty());
    EngineApp app;
    QVERIFY(app.launch(_backend.get()));
    AppDelegate *d = app.d;
    QVERIFY(d->mediaDragEvent({clip}));
    QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(app), 2u, 4000);

    d->playPauseButtonClick(nullptr);
    QVERIFY(!d->isPlaying());
    QTRY_COMPARE_WITH_TIMEOUT(d->mediaPlayer()->state(), VLCMediaPlayerState::Paused, 2000);
    const int pausedAtMs = playerTimeMs(app);
    QVERIFY2(pausedAtMs >= 1000, qPrintable(QString::number(pausedAtMs)));

    QTest::qWait(2000);
    QCOMPARE(countedSeconds(app), 2u);
    QCOMPARE(d->spentTimeLabel()->text(), QStringLiteral("00:00:02"));
    QVERIFY2(qAbs(playerTimeMs(app) - pausedAtMs) <= 250,
             qPrintable(QStringLiteral("%1 -> %2").arg(pausedAtMs).arg(playerTimeMs(app))));

    d->playPauseButtonClick(nullptr);
    QVERIFY(d->isPlaying());
    QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(app), 3u, 1600);
    QCOMPARE(d->spentTimeLabel()->text(), QStringLiteral("00:00:03"));
    // The engine went on from where it was held, not from the start.
    QVERIFY2(playerTimeMs(app) > pausedAtMs + 500,
             qPrintable(QStringLiteral("%1 -> %2").arg(pausedAtMs).arg(playerTimeMs(app))));
}

void PlaybackEngineTest::seekLandsWithinHalfASecondOfTheTimer()
{
    const QString clip = seekableClip(QStringLiteral("seek-20s.mp4"), 20);
    QVERIFY(!clip.isEmpty());
    EngineApp app;
    QVERIFY(app.launch(_backend.get()));
    AppDelegate *d = app.d;
    QVERIFY(d->mediaDragEvent({clip}));
    QTRY_COMPARE_WITH_TIMEOUT(d->mediaProgressSlider()->maximum(), 20, 4000);
    // Seek right after a tick, so that the next one is most of a second away.
    QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(app), 2u, 4000);

    d->rewindForwardButtonClick(nullptr);
    QCOMPARE(countedSeconds(app), 7u);
    QCOMPARE(d->mediaProgressSlider()->value(), 7);
    QTest::qWait(300);
    QCOMPARE(countedSeconds(app), 7u);
    const int landedMs = playerTimeMs(app);
    QVERIFY2(qAbs(landedMs - 7000) <= 500, qPrintable(QString::number(landedMs)));

    // Both go on together.
    QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(app), 8u, 1500);
    QVERIFY2(qAbs(playerTimeMs(app) - 8000) <= 500, qPrintable(QString::number(playerTimeMs(app))));
}

void PlaybackEngineTest::filesTheEngineCannotPlayStayControllable_data()
{
    QTest::addColumn<QString>("path");
    QTest::addRow("random bytes named .mp3")
        << MediaFixtures::randomBytes(QStringLiteral("cannot-random.mp3"), 300000, 7);
    QTest::addRow("a 0-second clip")
        << MediaFixtures::generate(QStringLiteral("cannot-zero.wav"),
                                   {"-f", "lavfi", "-i", "anullsrc=r=44100:cl=mono", "-t", "0"});
    QTest::addRow("zeros whose length is never reported")
        << MediaFixtures::sparseZeros(QStringLiteral("cannot-zeros.mp3"), 64LL << 20);
}

void PlaybackEngineTest::filesTheEngineCannotPlayStayControllable()
{
    QFETCH(QString, path);
    QVERIFY(QFileInfo::exists(path));
    EngineApp app;
    QVERIFY(app.launch(_backend.get()));
    AppDelegate *d = app.d;
    QVERIFY(d->mediaDragEvent({path}));
    QCOMPARE(d->mediaIndex(), 0);
    QVERIFY(d->isPlaying());

    // The length is given up on after the twelve polls, or comes sooner.
    QTRY_VERIFY_WITH_TIMEOUT(!app.access().hasPendingLengthPoll(), 4000);
    QVERIFY(d->mediaProgressSlider()->isEnabled());
    const int lengthSeconds = d->mediaProgressSlider()->maximum();
    qInfo("delivered length: %d s", lengthSeconds);

    // Every command answers at once, whatever the engine makes of the file.
    const QList<QPair<const char *, std::function<void()>>> commands = {
        {"pause", [d] { d->playPauseButtonClick(nullptr); }},
        {"play", [d] { d->playPauseButtonClick(nullptr); }},
        {"forward", [d] { d->rewindForwardButtonClick(nullptr); }},
        {"backward", [d] { d->rewindBackwardButtonClick(nullptr); }},
        {"mute", [d] { d->muteButtonClick(nullptr); }},
        {"maximum volume", [d] { d->maxVolumeButtonClick(nullptr); }},
        {"next", [d] { d->nextMediaButtonClick(nullptr); }},
        {"previous", [d] { d->prevMediaButtonClick(nullptr); }},
    };
    for (const auto &[name, command] : commands)
        QVERIFY2(timed(command) < 1000, name);
    QCOMPARE(d->mediaPlaylist()->size(), 1);
    QCOMPARE(d->mediaIndex(), 0);

    if (lengthSeconds == 0) {
        // Nothing to count down to: it never ends by itself.
        for (int i = 0; i < 5; ++i)
            d->timer()->timerInvoked();
        QVERIFY(d->isPlaying());
        QCOMPARE(d->mediaIndex(), 0);
    }
    // Stopping waits for the engine to give up opening the file: seconds for
    // the zeros, but it ends.
    const qint64 clearMs = timed([d] { d->clearPlayer(); });
    qInfo("clearing took %lld ms", clearMs);
    QVERIFY(clearMs < 5000);
    QVERIFY(!d->isPlaying());
    QCOMPARE(d->mediaPlaylist()->size(), 1);
}

void PlaybackEngineTest::undecodableVideoIsNotAdded()
{
    const QString garbage =
        MediaFixtures::randomBytes(QStringLiteral("cannot-random.mp4"), 300000, 3);
    const QString clip = MediaFixtures::video(QStringLiteral("pause-10s.mp4"), 10000);
    QVERIFY(!garbage.isEmpty() && !clip.isEmpty());
    EngineApp app;
    QVERIFY(app.launch(_backend.get()));
    AppDelegate *d = app.d;
    QVERIFY(d->mediaDragEvent({clip}));
    QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(app), 1u, 3000);

    // No picture comes out of it, so it never joins the playlist.
    QVERIFY(!d->mediaDragEvent({garbage}));
    QCOMPARE(d->mediaPlaylist()->size(), 1);
    QCOMPARE(d->mediaIndex(), 0);
    QVERIFY(d->isPlaying());
    QCOMPARE(d->mediaPlayer()->media()->path(), clip);
}

void PlaybackEngineTest::currentFileDeletedWhilePlaying()
{
    const QString source = MediaFixtures::video(QStringLiteral("deleted-source-4s.mp4"), 4000);
    QVERIFY(!source.isEmpty());
    QTemporaryDir folder;
    const QString clip = folder.filePath(QStringLiteral("deleted.mp4"));
    QVERIFY(QFile::copy(source, clip));
    EngineApp app;
    QVERIFY(app.launch(_backend.get()));
    AppDelegate *d = app.d;
    QVERIFY(d->mediaDragEvent({clip}));
    QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(app), 1u, 3000);
    QVERIFY(QFile::remove(clip));

    // Pausing needs the file: the engine plays on, and the end still comes.
    d->playPauseButtonClick(nullptr);
    QVERIFY(d->isPlaying());
    QTest::qWait(200);
    QCOMPARE(d->mediaPlayer()->state(), VLCMediaPlayerState::Playing);
    QTRY_COMPARE_WITH_TIMEOUT(d->mediaIndex(), int64_t(-1), 6000);
    QCOMPARE(d->mediaPlaylist()->size(), 1);
    QVERIFY(!d->mediaPlayer()->media());
}

void PlaybackEngineTest::currentFileRenamedWhilePaused()
{
    const QString source = MediaFixtures::video(QStringLiteral("renamed-source-6s.mp4"), 6000);
    QVERIFY(!source.isEmpty());
    QTemporaryDir folder;
    const QString clip = folder.filePath(QStringLiteral("before.mp4"));
    QVERIFY(QFile::copy(source, clip));
    EngineApp app;
    QVERIFY(app.launch(_backend.get()));
    AppDelegate *d = app.d;
    QVERIFY(d->mediaDragEvent({clip}));
    QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(app), 1u, 3000);
    d->playPauseButtonClick(nullptr);
    QTRY_COMPARE_WITH_TIMEOUT(d->mediaPlayer()->state(), VLCMediaPlayerState::Paused, 2000);
    QVERIFY(QFile::rename(clip, folder.filePath(QStringLiteral("after.mp4"))));

    // Resuming and seeking need the file under its name: nothing changes.
    d->playPauseButtonClick(nullptr);
    d->rewindForwardButtonClick(nullptr);
    QVERIFY(!d->isPlaying());
    QCOMPARE(countedSeconds(app), 1u);
    QTest::qWait(300);
    QCOMPARE(d->mediaPlayer()->state(), VLCMediaPlayerState::Paused);
    QVERIFY(!d->nextMediaButtonClick(nullptr));
    QCOMPARE(d->mediaPlaylist()->size(), 1);
    QCOMPARE(d->mediaPlaylist()->first()->path, clip);
}

QTEST_MAIN(PlaybackEngineTest)
#include "tst_playback_libvlc.moc"
