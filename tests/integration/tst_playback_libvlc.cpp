// Playback on the real engine in real time, with clips made by ffmpeg.
#include "EngineApp.h"
#include "MediaFixtures.h"
#include "controls/ImageButton.h"
#include "media/LibVlcBackend.h"

#include <QtTest>
#include <optional>

class PlaybackEngineTest : public QObject {
    Q_OBJECT

    // As a drop on the video area does.
    bool play(const QStringList &paths) { return d()->mediaDragEvent(paths) && d()->isPlaying(); }
    AppDelegate *d() const { return _app->d; }
    uint32_t countedSeconds() const { return d()->timer()->getSpentTimeUint(); }
    int playerMs() const { return d()->mediaPlayer()->time().intValue(); }
    QByteArray playerAt() const { return QByteArray::number(playerMs()); }

    std::unique_ptr<MediaBackend> _backend = createLibVlcBackend();
    std::optional<EngineApp> _app;

private slots:
    void init() { QVERIFY(_app.emplace().launch(_backend.get())); }
    void cleanup() { _app.reset(); }

    void threeClipsPlayOneAfterAnother()
    {
        QStringList clips;
        for (const char *name : {"through-a.mp4", "through-b.mp4", "through-c.mp4"})
            clips.append(MediaFixtures::video(name, 2000));
        QVERIFY(play(clips));
        // The current entry and how far the engine itself got in it, as it plays.
        QList<int64_t> indexes;
        QHash<int64_t, int> furthestMs;
        const auto sample = [&] {
            const int64_t index = d()->mediaIndex();
            if (indexes.isEmpty() || indexes.last() != index)
                indexes.append(index);
            furthestMs[index] = std::max(furthestMs.value(index), index < 0 ? 0 : playerMs());
        };
        QTimer sampler;
        connect(&sampler, &QTimer::timeout, sample);
        QElapsedTimer elapsed;
        elapsed.start();
        sampler.start(20);
        QTRY_COMPARE_WITH_TIMEOUT(d()->mediaIndex(), int64_t(-1), 15000);
        const qint64 tookMs = elapsed.elapsed();
        sample();

        QCOMPARE(indexes, QList<int64_t>({0, 1, 2, -1}));
        for (int64_t index = 0; index < 3; ++index)
            QVERIFY2(furthestMs.value(index) >= 1000, QByteArray::number(furthestMs.value(index)));
        // Each ends at the Timer's second tick.
        QVERIFY2(tookMs >= 5800 && tookMs < 10000, QByteArray::number(tookMs));
        QVERIFY(!d()->isPlaying() && !d()->mediaPlayer()->media());
        QVERIFY(!d()->mediaBackgroundImageView()->isHidden());
        QCOMPARE(qobject_cast<ImageButton *>(d()->playPauseButton())->image(), "play");
        QCOMPARE(d()->spentTimeLabel()->text(), "00:00:00");
    }

    void pauseAndResumeContinueTheCount()
    {
        QVERIFY(play({MediaFixtures::video("pause-10s.mp4", 10000)}));
        QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(), 2u, 4000);
        d()->playPauseButtonClick();
        QTRY_COMPARE_WITH_TIMEOUT(d()->mediaPlayer()->state(), VLCMediaPlayerState::Paused, 2000);
        const int pausedAtMs = playerMs();
        QVERIFY2(pausedAtMs >= 1000, playerAt());
        QTest::qWait(2000);
        QCOMPARE(d()->spentTimeLabel()->text(), "00:00:02");
        QVERIFY2(qAbs(playerMs() - pausedAtMs) <= 250, playerAt());

        d()->playPauseButtonClick();
        QTRY_COMPARE_WITH_TIMEOUT(d()->spentTimeLabel()->text(), "00:00:03", 1600);
        // The engine went on from where it was held, not from the start.
        QVERIFY2(playerMs() > pausedAtMs + 500, playerAt());
    }

    void seekLandsWithinHalfASecondOfTheTimer()
    {
        // A keyframe every second, so that seeks land where asked.
        QVERIFY(play({MediaFixtures::generate("seek-20s.mp4", "-f lavfi -i testsrc -t 20 -g 25 "
                                                              "-pix_fmt yuv420p -c:v libx264")}));
        QTRY_COMPARE_WITH_TIMEOUT(d()->mediaProgressSlider()->maximum(), 20, 4000);
        // Right after a tick, so that the next one is most of a second away.
        QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(), 2u, 4000);
        d()->rewindForwardButtonClick();
        QCOMPARE(countedSeconds(), 7u);
        QCOMPARE(d()->mediaProgressSlider()->value(), 7);
        QTest::qWait(300);
        QVERIFY2(qAbs(playerMs() - 7000) <= 500, playerAt());
        // Both go on together.
        QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(), 8u, 1500);
        QVERIFY2(qAbs(playerMs() - 8000) <= 500, playerAt());
    }

    void filesTheEngineCannotPlayStayControllable_data()
    {
        QTest::addColumn<QString>("path");
        // Audio by their names, so they are added without a thumbnail.
        QTest::addRow("random bytes named .mp3")
            << MediaFixtures::randomBytes("cannot-random.mp3", 300000);
        QTest::addRow("a 0-second clip")
            << MediaFixtures::generate("cannot-zero.wav", "-f lavfi -i anullsrc -t 0");
        QTest::addRow("zeros whose length is never reported")
            << MediaFixtures::sparseZeros("cannot-zeros.mp3", 64LL << 20);
    }

    void filesTheEngineCannotPlayStayControllable()
    {
        QFETCH(QString, path);
        QVERIFY(play({path}));
        // The length is given up on after the twelve polls, or comes sooner.
        QTRY_VERIFY_WITH_TIMEOUT(!_app->access().hasPendingLengthPoll(), 4000);
        QVERIFY(d()->mediaProgressSlider()->isEnabled());
        // Every control answers at once, whatever the engine makes of the file.
        QElapsedTimer clock;
        clock.start();
        for (auto click : {&AppDelegate::playPauseButtonClick, &AppDelegate::playPauseButtonClick,
                           &AppDelegate::rewindForwardButtonClick, &AppDelegate::muteButtonClick,
                           &AppDelegate::rewindBackwardButtonClick,
                           &AppDelegate::maxVolumeButtonClick, &AppDelegate::prevMediaButtonClick})
            (d()->*click)(nullptr);
        d()->nextMediaButtonClick();
        QVERIFY2(clock.elapsed() < 2000, QByteArray::number(clock.elapsed()));
        QCOMPARE(d()->mediaIndex(), 0);
        // With no length, nothing to count down to: it never ends by itself.
        for (int i = 0; i < 5 && d()->mediaProgressSlider()->maximum() == 0; ++i)
            d()->timer()->timerInvoked();
        QVERIFY(d()->isPlaying());
        QCOMPARE(d()->mediaIndex(), 0);
        // Stopping waits for the engine to give up opening the file: seconds for the zeros.
        clock.restart();
        d()->clearPlayer();
        QVERIFY2(clock.elapsed() < 5000, QByteArray::number(clock.elapsed()));
        QVERIFY(!d()->isPlaying());
        QCOMPARE(d()->mediaPlaylist()->size(), 1);
    }

    void currentFileGoneChangesNothing_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("deleted");
        QTest::addRow("deleted while playing") << true << true;
        QTest::addRow("renamed while paused") << false << false;
    }

    void currentFileGoneChangesNothing()
    {
        QFETCH(bool, playing);
        QFETCH(bool, deleted);
        QTemporaryDir folder;
        const QString clip = folder.filePath("before.mp4");
        QVERIFY(QFile::copy(MediaFixtures::video("gone-4s.mp4", 4000), clip));
        QVERIFY(play({clip}));
        QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(), 1u, 3000);
        if (!playing)
            d()->playPauseButtonClick();
        const auto state = playing ? VLCMediaPlayerState::Playing : VLCMediaPlayerState::Paused;
        QTRY_COMPARE_WITH_TIMEOUT(d()->mediaPlayer()->state(), state, 2000);
        QVERIFY(deleted ? QFile::remove(clip) : QFile::rename(clip, folder.filePath("after")));

        // Pausing, resuming and seeking need the file under its name.
        d()->playPauseButtonClick();
        d()->rewindForwardButtonClick();
        QCOMPARE(d()->isPlaying(), playing);
        QVERIFY(countedSeconds() < 3);
        QTest::qWait(300);
        QCOMPARE(d()->mediaPlayer()->state(), state);
        // The engine had read the file before it went: playing, the end still comes.
        if (playing)
            QTRY_COMPARE_WITH_TIMEOUT(d()->mediaIndex(), int64_t(-1), 6000);
        QCOMPARE(d()->mediaPlaylist()->size(), 1);
        QCOMPARE(d()->mediaPlaylist()->first()->path, clip);
    }
};

QTEST_MAIN(PlaybackEngineTest)
#include "tst_playback_libvlc.moc"
