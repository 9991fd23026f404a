// Files dropped on the video, or handed over at start: they join the end of
// the playlist and the first one added plays at once.
#include "PlaybackApp.h"

#include <QtTest>

class PlaybackDropTest : public QObject {
    Q_OBJECT
private slots:
    void dropWhileAnotherPlaysReplacesIt();
    void dropOfSeveralPlaysTheFirstAccepted();
    void dropOfUnsupportedFilesOnlyChangesNothing();
    void dropClearsTheFilter();
    void dropWhilePausedKeepsThePlayerUntilTheNewMediaLoads();
    void dropOfAMissingFirstFileStaysOnIt();
    void dropDuringAnotherAdditionPlaysOnceAdded();
    void filesHandedOverBeforeThePlayerExistsOpenWhenItDoes();
};

void PlaybackDropTest::dropWhileAnotherPlaysReplacesIt()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("old.mp4"), 60000);
    QVERIFY(app.loadAndPlay(0));
    app.tick(4);
    const QString dropped = app.pathOf(QStringLiteral("new.mkv"));
    QVERIFY(QFile(dropped).open(QIODevice::WriteOnly));
    app.backend.setLength(dropped, VLCTime(9000));
    app.player()->calls.clear();

    QVERIFY(d->mediaDragEvent({dropped}));
    QCOMPARE(d->mediaPlaylist()->size(), 2);
    QCOMPARE(d->mediaPlaylist()->last()->path, dropped);
    QCOMPARE(d->mediaIndex(), 1);
    QCOMPARE(app.player()->calls,
             QStringList({"stop", "setMedia nil", "setMedia " + dropped, "play"}));
    QVERIFY(d->isPlaying());
    QCOMPARE(d->timer()->getSpentTimeUint(), 0u);
    QCOMPARE(app.text(d->mediaName()), QStringLiteral("new"));
}

void PlaybackDropTest::dropOfSeveralPlaysTheFirstAccepted()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    QStringList dropped;
    for (const char *name : {"notes.txt", "song.flac", "clip.mp4"}) {
        dropped.append(app.pathOf(QLatin1String(name)));
        QVERIFY(QFile(dropped.last()).open(QIODevice::WriteOnly));
    }
    QVERIFY(d->mediaDragEvent(dropped));
    QCOMPARE(d->mediaPlaylist()->size(), 2);
    QCOMPARE(d->mediaIndex(), 0);
    QCOMPARE(app.currentPath(), dropped[1]);
    QCOMPARE(app.player()->calls, QStringList({"setMedia " + dropped[1], "play"}));
    QCOMPARE(d->mediaPlaylist()->at(1)->path, dropped[2]);
}

void PlaybackDropTest::dropOfUnsupportedFilesOnlyChangesNothing()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("playing.mp4"), 60000);
    QVERIFY(app.loadAndPlay(0));
    const QStringList calls = app.player()->calls;
    const QString text = app.pathOf(QStringLiteral("readme.txt"));
    QVERIFY(QFile(text).open(QIODevice::WriteOnly));

    QVERIFY(!d->mediaDragEvent({text}));
    QCOMPARE(d->mediaPlaylist()->size(), 1);
    QCOMPARE(app.player()->calls, calls);
    QCOMPARE(d->mediaIndex(), 0);
    QVERIFY(d->isPlaying());
    QVERIFY(!d->mediaDragEvent({}));
}

void PlaybackDropTest::dropClearsTheFilter()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("alpha.mp4"), 60000);
    app.add(QStringLiteral("beta.mp4"), 60000);
    app.access().filterTextField()->setText(QStringLiteral("alp"));
    d->applyFilter(QStringLiteral("alp"));
    const QString dropped = app.pathOf(QStringLiteral("gamma.mp3"));
    QVERIFY(QFile(dropped).open(QIODevice::WriteOnly));

    QVERIFY(d->mediaDragEvent({dropped}));
    QCOMPARE(app.access().filterTextField()->text(), QString());
    QCOMPARE(app.access().visibleMediaPlaylist()->size(), 3);
    QCOMPARE(d->mediaIndex(), 2);
}

void PlaybackDropTest::dropWhilePausedKeepsThePlayerUntilTheNewMediaLoads()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("paused.mp4"), 60000);
    QVERIFY(app.loadAndPlay(0));
    d->playPauseButtonClick(nullptr);
    app.player()->calls.clear();
    const QString dropped = app.pathOf(QStringLiteral("next.wav"));
    QVERIFY(QFile(dropped).open(QIODevice::WriteOnly));

    QVERIFY(d->mediaDragEvent({dropped}));
    // Only a playing player is stopped first; loading replaces the paused media.
    QCOMPARE(app.player()->calls, QStringList({"setMedia " + dropped, "play"}));
    QVERIFY(d->isPlaying());
}

void PlaybackDropTest::dropOfAMissingFirstFileStaysOnIt()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    const QString dropped = app.pathOf(QStringLiteral("fleeting.mp4"));
    QVERIFY(QFile(dropped).open(QIODevice::WriteOnly));
    // The file goes away while the addition waits for its thumbnail.
    QTimer::singleShot(0, [&] { QFile::remove(dropped); });

    QVERIFY(d->mediaDragEvent({dropped}));
    QCOMPARE(d->mediaPlaylist()->size(), 1);
    QCOMPARE(d->mediaIndex(), 0);
    QVERIFY(!d->isPlaying());
    QVERIFY(app.player()->calls.isEmpty());
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:00:00"));
}

void PlaybackDropTest::dropDuringAnotherAdditionPlaysOnceAdded()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    const QString first = app.pathOf(QStringLiteral("first.mp4"));
    const QString dropped = app.pathOf(QStringLiteral("dropped.mp4"));
    for (const QString &path : {first, dropped})
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    // The drop arrives while the first addition waits for its thumbnail.
    std::optional<bool> dropAnswer;
    QTimer::singleShot(0, [&] { dropAnswer = d->mediaDragEvent({dropped}); });

    QVERIFY(d->appendPlaylistWithoutDublicates({first}));
    QVERIFY(dropAnswer.has_value());
    QVERIFY(!*dropAnswer);
    QTRY_COMPARE(d->mediaPlaylist()->size(), 2);
    QCOMPARE(d->mediaIndex(), 1);
    QCOMPARE(app.currentPath(), dropped);
    QCOMPARE(app.player()->calls, QStringList({"setMedia " + dropped, "play"}));
}

void PlaybackDropTest::filesHandedOverBeforeThePlayerExistsOpenWhenItDoes()
{
    PlaybackApp app;
    app.backend.setPlayerCreationDelay(300);
    app.appDelegate = loadMainInterface(&app.backend);
    QVERIFY(app.appDelegate);
    AppDelegate *d = app.appDelegate;
    QSignalSpy ready(d, &AppDelegate::mediaPlayerReady);
    d->applicationDidFinishLaunching();
    const QString first = app.pathOf(QStringLiteral("first.ogg"));
    const QString second = app.pathOf(QStringLiteral("second.mp4"));
    for (const QString &path : {first, second})
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));

    d->applicationOpenFiles({first, second});
    QVERIFY(!d->mediaPlayer());
    QVERIFY(d->mediaPlaylist()->isEmpty());
    QVERIFY(ready.wait(5000));
    QTRY_COMPARE(d->mediaPlaylist()->size(), 2);
    QCOMPARE(d->mediaIndex(), 0);
    QCOMPARE(app.player()->calls, QStringList({"setMedia " + first, "play"}));
    // Once only: a later handover of a player would not add them again.
    emit d->mediaPlayerReady();
    QCOMPARE(d->mediaPlaylist()->size(), 2);
}

QTEST_MAIN(PlaybackDropTest)
#include "tst_playbackdrop.moc"
