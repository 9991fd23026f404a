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

    void hostileEntryNeverHoldsUpTheNextClip_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("listed");
        QTest::addRow("random bytes named .mp3")
            << MediaFixtures::randomBytes("hostile-random.mp3", 300000) << false;
        QTest::addRow("text named .mp3")
            << MediaFixtures::file("hostile-text.mp3", QByteArray("hello\n").repeated(500))
            << false;
        QTest::addRow("a 0-second clip")
            << MediaFixtures::generate("hostile-zero.wav", "-f lavfi -i anullsrc -t 0") << false;
        const QString zeros = MediaFixtures::sparseZeros("hostile-zeros.mp3", 64LL << 20);
        QTest::addRow("zeros, when added") << zeros << false;
        QTest::addRow("zeros, once in the list: the engine stands still") << zeros << true;
        QTest::addRow("FIFO named .mp3") << MediaFixtures::fifo("hostile-fifo.mp3") << false;
        QTest::addRow("FIFO, once in the list") << MediaFixtures::fifo("hostile-fifo.mp3") << true;
        QTest::addRow("folder named .mp3") << MediaFixtures::folder("hostile-folder.mp3") << false;
        QTest::addRow("audio-only file named .mp4")
            << MediaFixtures::audio("hostile-audio-1000.mp4", 1000) << false;
    }

    void hostileEntryNeverHoldsUpTheNextClip()
    {
        QFETCH(QString, path);
        QFETCH(bool, listed);
        const QString clip = MediaFixtures::video("hostile-next-4000.mp4", 4000);
        if (listed) {
            // Straight into the list, as though adding it had let it through.
            for (const QString &entry : {path, clip}) {
                d()->mediaPlaylist()->append(
                    std::make_shared<const PlaylistEntry>(PlaylistEntry{entry, {}, false}));
                d()->mediaPreviews()->append(nullptr);
            }
            d()->dropFilter();
            _app->access().setMediaIndex(0);
            QVERIFY(d()->configureForCurrentMedia());
            d()->playPauseButtonClick();
        } else {
            // As a drop: the first added starts, the clip waits behind it.
            QVERIFY(d()->mediaDragEvent({path, clip}));
        }
        // Left out, ended by the engine, or ended as it stands still: the clip plays soon.
        const auto clipPlays = [&] {
            return d()->mediaIndex() >= 0 &&
                   d()->mediaPlaylist()->at(d()->mediaIndex())->path == clip && d()->isPlaying() &&
                   playerMs() > 0;
        };
        QTRY_VERIFY_WITH_TIMEOUT(clipPlays(), 20000);
    }

    void commandsOutliveTheDeletedFile()
    {
        QTemporaryDir folder;
        const QString clip = folder.filePath("deleted.mp4");
        QVERIFY(QFile::copy(MediaFixtures::video("gone-4s.mp4", 4000), clip));
        QVERIFY(play({clip}));
        QTRY_COMPARE_WITH_TIMEOUT(countedSeconds(), 1u, 3000);
        QVERIFY(QFile::remove(clip));
        // The engine has the file open: pausing, resuming and seeking still work.
        d()->playPauseButtonClick();
        QTRY_COMPARE_WITH_TIMEOUT(d()->mediaPlayer()->state(), VLCMediaPlayerState::Paused, 2000);
        d()->playPauseButtonClick();
        d()->rewindBackwardButtonClick();
        QTRY_COMPARE_WITH_TIMEOUT(d()->mediaPlayer()->state(), VLCMediaPlayerState::Playing, 2000);
        QCOMPARE(countedSeconds(), 0u);
        // The end still comes; the entry stays in the list.
        QTRY_COMPARE_WITH_TIMEOUT(d()->mediaIndex(), int64_t(-1), 8000);
        QCOMPARE(d()->mediaPlaylist()->size(), 1);
    }
};

QTEST_MAIN(PlaybackEngineTest)
#include "tst_playback_libvlc.moc"
