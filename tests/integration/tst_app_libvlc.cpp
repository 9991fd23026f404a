// Glaze on the real engine, in real time, with media made by ffmpeg: playback
// as the window drives it, the tracks menus and adding many files at once.
#include "EngineApp.h"
#include "MediaFixtures.h"
#include "Slowdown.h"
#include "controls/ImageButton.h"
#include "media/LibVlcBackend.h"

#include <QMenu>
#include <QtTest>
#include <optional>
#include <unistd.h>

class AppEngineTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MediaBackend> _backend = createLibVlcBackend();
    std::optional<EngineApp> _app;

    AppDelegate *d() const { return _app->d; }
    QMenu *menu(const char *name) const { return _app->mainWindow()->findChild<QMenu *>(name); }
    // "title" for each item, "*title" for the checked one.
    QString items(const char *name) const
    {
        QStringList items;
        for (const QAction *item : menu(name)->actions())
            items << (item->isChecked() ? "*" : "") + item->text();
        return items.join('|');
    }

private slots:
    void init() { QVERIFY(_app.emplace().launch(_backend.get())); }
    void cleanup() { _app.reset(); }

    void playsEachEntryToTheEndThenStops()
    {
        QVERIFY(d()->mediaDragEvent({MediaFixtures::video("app-2000.mp4", 2000),
                                     MediaFixtures::video("app-2000.mkv", 2000)}));
        QTRY_COMPARE_WITH_TIMEOUT(d()->mediaIndex(), int64_t(1), 8000);
        QTRY_COMPARE_WITH_TIMEOUT(d()->mediaIndex(), int64_t(-1), 8000);
        QVERIFY(!d()->isPlaying() && !d()->mediaPlayer()->media());
        QCOMPARE(qobject_cast<ImageButton *>(d()->playPauseButton())->image(), "play");
    }

    void listsAndSwitchesTracks()
    {
        const QByteArray cues = "1\n00:00:00,000 --> 00:00:20,000\nHello\n";
        const QString movie = MediaFixtures::generate(
            "app-tracks.mkv", "-f lavfi -i testsrc2=size=160x120 -f lavfi -i sine=frequency=440 -f "
                              "lavfi -i sine=frequency=660 -t 20 -map 0 -map 1 -map 2 -pix_fmt "
                              "yuv420p -c:v libx264 -preset ultrafast -c:a aac -metadata:s:a:0 "
                              "language=eng -metadata:s:a:1 language=fra");
        QVERIFY(!movie.isEmpty() && !MediaFixtures::file("app-tracks.srt", cues).isEmpty());
        QVERIFY(d()->mediaDragEvent({movie}));
        QTRY_COMPARE_WITH_TIMEOUT(items("audioTrackMenu"),
                                  "*Track 1 - [English]|Track 2 - [French]", 5000);
        // The engine shows a subtitle file of the same name at once.
        QTRY_COMPARE_WITH_TIMEOUT(items("subtitlesMenu"), "Off|*Track 1", 5000);
        // Each check moves once the engine has made the change.
        menu("audioTrackMenu")->actions().at(1)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(items("audioTrackMenu"),
                                  "Track 1 - [English]|*Track 2 - [French]", 2000);
        menu("subtitlesMenu")->actions().at(0)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(items("subtitlesMenu"), "*Off|Track 1", 2000);
        d()->mediaPlayer()->addSubtitleFile(MediaFixtures::file("app-added.srt", cues));
        QTRY_COMPARE_WITH_TIMEOUT(items("subtitlesMenu"), "Off|Track 1|*Track 2", 5000);
    }

    void manyFilesAreAddedInOrderWhileTheWindowResponds()
    {
        QTemporaryDir folder;
        const QString tone = MediaFixtures::audio("app-tone-1000.mp3", 1000);
        // Two videos, files left out, and links to the tone by odd names.
        QStringList kept{MediaFixtures::video("app-4x3.mp4", 2000),
                         MediaFixtures::video("app-16x9.mkv", 2000, 640, 360)};
        QStringList paths{kept[0],
                          MediaFixtures::file("app-empty.mp4", {}),
                          MediaFixtures::randomBytes("app-random.mkv", 200000),
                          MediaFixtures::fifo("app-fifo.mp4"),
                          kept[1],
                          MediaFixtures::folder("app-folder.mkv"),
                          MediaFixtures::sparseZeros("app-zeros-4g.mp4", 4LL << 30)};
        for (int i = 0; i < 1000; ++i) {
            const QByteArray name = QFile::encodeName(folder.path()) +
                                    (i ? QStringLiteral("/%1 ü #2 100%\n.mp3").arg(i).toUtf8()
                                       : QByteArray("/-\xff\xfe.mp3"));
            QVERIFY(::link(QFile::encodeName(tone).constData(), name.constData()) == 0);
            kept.append(NativePath::fromNative(name));
        }
        paths += kept.mid(2);
        // A timer stands for the window: it must keep firing all along.
        qint64 longestGapMs = 0;
        QElapsedTimer sinceTick;
        sinceTick.start();
        QTimer timer;
        connect(&timer, &QTimer::timeout,
                [&] { longestGapMs = std::max(longestGapMs, sinceTick.restart()); });
        timer.start(20);
        QVERIFY(d()->appendPlaylistWithoutDublicates(paths));
        ::unlink(QFile::encodeName(folder.path()) + "/-\xff\xfe.mp3"); // the folder cannot name it

        QStringList listed;
        for (const MediaEntry &entry : *d()->mediaPlaylist())
            listed.append(entry->path);
        QCOMPARE(listed, kept);
        QVERIFY2(longestGapMs < 1000 * TestSlowdown, QByteArray::number(longestGapMs));
    }
};

QTEST_MAIN(AppEngineTest)
#include "tst_app_libvlc.moc"
