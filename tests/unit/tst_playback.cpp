// The playback commands on the stand-in engine: play and pause, volume,
// seeking, next and previous through the visible list, the reset and the
// menu relays.
#include "PlaybackApp.h"
#include "controls/ImageButton.h"

#include <QAction>
#include <QtTest>

namespace {

QString imageOf(QAbstractButton *button)
{
    auto *imageButton = qobject_cast<ImageButton *>(button);
    return imageButton ? imageButton->image() + "|" + imageButton->alternateImage() : QString();
}

const QString kPlayImages = QStringLiteral("play|play-pressed");
const QString kPauseImages = QStringLiteral("pause|pause-pressed");

// Every command a user can give, by name.
const QList<QPair<QString, std::function<void(AppDelegate *)>>> &allCommands()
{
    static const QList<QPair<QString, std::function<void(AppDelegate *)>>> commands = {
        {"play/pause", [](AppDelegate *d) { d->playPauseButtonClick(nullptr); }},
        {"mute", [](AppDelegate *d) { d->muteButtonClick(nullptr); }},
        {"maximum volume", [](AppDelegate *d) { d->maxVolumeButtonClick(nullptr); }},
        {"volume slider", [](AppDelegate *d) { d->volumeSliderValueChanged(nullptr); }},
        {"forward", [](AppDelegate *d) { d->rewindForwardButtonClick(nullptr); }},
        {"backward", [](AppDelegate *d) { d->rewindBackwardButtonClick(nullptr); }},
        {"progress slider", [](AppDelegate *d) { d->mediaProgressSliderValueChanged(nullptr); }},
        {"next", [](AppDelegate *d) { d->nextMediaButtonClick(nullptr); }},
        {"previous", [](AppDelegate *d) { d->prevMediaButtonClick(nullptr); }},
        {"menu play", [](AppDelegate *d) { d->playbackPlay(nullptr); }},
        {"menu next", [](AppDelegate *d) { d->playbackNext(nullptr); }},
        {"menu previous", [](AppDelegate *d) { d->playbackPrev(nullptr); }},
        {"menu forward", [](AppDelegate *d) { d->playbackForward(nullptr); }},
        {"menu rewind", [](AppDelegate *d) { d->playbackRewind(nullptr); }},
    };
    return commands;
}

} // namespace

class PlaybackTest : public QObject {
    Q_OBJECT
private slots:
    void playAndPauseSwapTheImages();
    void commandsWithoutCurrentEntry_data();
    void commandsWithoutCurrentEntry();
    void noCommandActsBeforeThePlayerIsMade();
    void muteWithoutCurrentEntryLeavesThePlayerAlone();
    void volumeCommandsReachThePlayer_data();
    void volumeCommandsReachThePlayer();
    void muteThenPlayStartsAtTheMinimumVolume();
    void rewind_data();
    void rewind();
    void rewindWhilePausedKeepsItPaused();
    void progressSliderSeeks();
    void nextAtTheLastVisibleEntryChangesNothing();
    void nextLoadsAndPlaysTheFollowingEntry();
    void nextSkipsMissingFiles();
    void previousWithoutCurrentEntryPlaysTheOneBeforeTheLast();
    void previousWithOneEntryOnlyMakesItCurrent();
    void previousAtTheFirstVisibleEntryChangesNothing();
    void previousSkipsMissingFiles();
    void previousWithNoVisibleEntryDoesNothing();
    void filteredOutCurrentEntryStepsToTheFirstVisible_data();
    void filteredOutCurrentEntryStepsToTheFirstVisible();
    void currentFileGoneWhilePlaying_data();
    void currentFileGoneWhilePlaying();
    void currentFileMadeUnreadableWhilePaused();
    void clearPlayerWhilePausedKeepsTheMedia();
    void clearPlayerWhilePlayingEmptiesThePlayer();
    void menuItemsReachTheCommands_data();
    void menuItemsReachTheCommands();
};

void PlaybackTest::playAndPauseSwapTheImages()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("clip.mp4"), 10000);
    QCOMPARE(imageOf(d->playPauseButton()), kPlayImages);
    QVERIFY(app.loadAndPlay(0));
    QCOMPARE(imageOf(d->playPauseButton()), kPauseImages);
    QVERIFY(d->timer()->isCounting());
    d->playPauseButtonClick(nullptr);
    QCOMPARE(imageOf(d->playPauseButton()), kPlayImages);
    QVERIFY(!d->timer()->isCounting());
    QCOMPARE(app.player()->calls.mid(1), QStringList({"play", "pause"}));
}

void PlaybackTest::commandsWithoutCurrentEntry_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("entries");
    for (int i = 0; i < allCommands().size(); ++i) {
        // Previous starts from the last entry; it has its own cases.
        if (!allCommands()[i].first.contains(QLatin1String("prev"))) {
            QTest::addRow("%s with a playlist but nothing current",
                          qPrintable(allCommands()[i].first))
                << i << 2;
        }
        QTest::addRow("%s with an empty playlist", qPrintable(allCommands()[i].first)) << i << 0;
    }
}

void PlaybackTest::commandsWithoutCurrentEntry()
{
    QFETCH(int, command);
    QFETCH(int, entries);
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    for (int i = 0; i < entries; ++i)
        app.add(QStringLiteral("entry%1.mp4").arg(i), 10000);
    const MediaList before = *d->mediaPlaylist();

    allCommands()[command].second(d);

    QVERIFY(app.player()->calls.isEmpty());
    QCOMPARE(app.player()->audio()->volume(), -1);
    QCOMPARE(d->mediaIndex(), -1);
    QVERIFY(!d->isPlaying());
    QVERIFY(!d->timer()->isCounting());
    QCOMPARE(*d->mediaPlaylist(), before);
}

void PlaybackTest::noCommandActsBeforeThePlayerIsMade()
{
    PlaybackApp app;
    app.backend.setPlayerCreationDelay(300);
    app.appDelegate = loadMainInterface(&app.backend);
    QVERIFY(app.appDelegate);
    QSignalSpy ready(app.appDelegate, &AppDelegate::mediaPlayerReady);
    app.appDelegate->applicationDidFinishLaunching();
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("early.mp4"), 10000);
    QVERIFY(!d->mediaPlayer());
    // Even with an entry made current, nothing reaches a player that is not there.
    app.access().mediaIndex() = 0;
    QVERIFY(!d->configureForCurrentMedia());
    for (const auto &[name, command] : allCommands())
        command(d);
    QVERIFY(!d->isPlaying());
    QVERIFY(!d->curMedia());
    QVERIFY(ready.wait(5000));
    QVERIFY(app.player()->calls.isEmpty());
    QCOMPARE(d->mediaIndex(), -1);
    QCOMPARE(d->mediaPlaylist()->size(), 1);
}

void PlaybackTest::muteWithoutCurrentEntryLeavesThePlayerAlone()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    QCOMPARE(d->curVolume(), int64_t(100));
    d->muteButtonClick(nullptr);
    QCOMPARE(d->volumeSlider()->value(), d->volumeSlider()->minimum());
    QCOMPARE(d->curVolume(), int64_t(d->volumeSlider()->minimum()));
    d->maxVolumeButtonClick(nullptr);
    QCOMPARE(d->curVolume(), int64_t(d->volumeSlider()->maximum()));
    QCOMPARE(app.player()->audio()->volume(), -1);
}

void PlaybackTest::volumeCommandsReachThePlayer_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("volume");
    QTest::addRow("mute goes to the slider's minimum") << 0 << 0;
    QTest::addRow("maximum volume goes to the slider's maximum") << 1 << 200;
    QTest::addRow("the slider applies its value") << 2 << 37;
}

void PlaybackTest::volumeCommandsReachThePlayer()
{
    QFETCH(int, command);
    QFETCH(int, volume);
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("loud.mp4"), 10000);
    QVERIFY(app.loadAndPlay(0));
    switch (command) {
    case 0:
        d->muteButtonClick(nullptr);
        break;
    case 1:
        d->maxVolumeButtonClick(nullptr);
        break;
    default:
        d->volumeSlider()->setValue(volume);
        d->volumeSliderValueChanged(nullptr);
        break;
    }
    QCOMPARE(d->volumeSlider()->value(), volume);
    QCOMPARE(d->curVolume(), int64_t(volume));
    QCOMPARE(app.player()->audio()->volume(), volume);
}

void PlaybackTest::muteThenPlayStartsAtTheMinimumVolume()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("quiet.mp4"), 10000);
    d->muteButtonClick(nullptr);
    QVERIFY(app.load(0));
    d->playPauseButtonClick(nullptr);
    QVERIFY(d->isPlaying());
    QCOMPARE(app.player()->audio()->volume(), d->volumeSlider()->minimum());
}

void PlaybackTest::rewind_data()
{
    QTest::addColumn<bool>("forward");
    QTest::addColumn<int>("fromSeconds");
    QTest::addColumn<int>("toSeconds");
    QTest::addRow("forward in the middle") << true << 40 << 45;
    QTest::addRow("forward at 98 s of 100 s stops at the end") << true << 98 << 100;
    QTest::addRow("backward in the middle") << false << 40 << 35;
    QTest::addRow("backward at 3 s stops at the start") << false << 3 << 0;
}

void PlaybackTest::rewind()
{
    QFETCH(bool, forward);
    QFETCH(int, fromSeconds);
    QFETCH(int, toSeconds);
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("hundred.mp4"), 100000);
    QVERIFY(app.loadAndPlay(0));
    d->timer()->setTime(fromSeconds - 1);
    app.tick();
    QCOMPARE(d->mediaProgressSlider()->value(), fromSeconds);
    app.player()->calls.clear();

    if (forward)
        d->rewindForwardButtonClick(nullptr);
    else
        d->rewindBackwardButtonClick(nullptr);

    QCOMPARE(app.player()->calls.value(0), QStringLiteral("setTime %1").arg(toSeconds * 1000));
    if (toSeconds == 100) {
        // A seek to the end is the end of the media.
        QCOMPARE(d->mediaIndex(), -1);
        QVERIFY(!d->isPlaying());
        return;
    }
    QCOMPARE(app.player()->calls.size(), 1);
    QCOMPARE(d->timer()->getSpentTimeUint(), uint32_t(toSeconds));
    QCOMPARE(d->mediaProgressSlider()->value(), toSeconds);
    QCOMPARE(app.text(d->spentTimeLabel()), Timer::getTimeStr(toSeconds));
    QCOMPARE(app.text(d->remainingTimeLabel()), Timer::getTimeStr(100 - toSeconds));
    QVERIFY(d->isPlaying());
}

void PlaybackTest::rewindWhilePausedKeepsItPaused()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("paused.mp4"), 100000);
    QVERIFY(app.loadAndPlay(0));
    app.tick(10);
    d->playPauseButtonClick(nullptr);
    d->rewindBackwardButtonClick(nullptr);
    QVERIFY(!d->isPlaying());
    QVERIFY(!d->timer()->isCounting());
    QCOMPARE(d->timer()->getSpentTimeUint(), 5u);
    QCOMPARE(app.player()->calls.last(), QStringLiteral("setTime 5000"));
}

void PlaybackTest::progressSliderSeeks()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("seek.mp4"), 100000);
    QVERIFY(app.loadAndPlay(0));
    d->mediaProgressSlider()->setValue(75);
    d->mediaProgressSliderValueChanged(nullptr);
    QCOMPARE(app.player()->calls.last(), QStringLiteral("setTime 75000"));
    QCOMPARE(d->timer()->getSpentTimeUint(), 75u);
    QCOMPARE(app.text(d->spentTimeLabel()), QStringLiteral("00:01:15"));
    QCOMPARE(app.text(d->remainingTimeLabel()), QStringLiteral("00:00:25"));
    QVERIFY(d->isPlaying());
}

void PlaybackTest::nextAtTheLastVisibleEntryChangesNothing()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("a.mp4"), 10000);
    app.add(QStringLiteral("b.mp4"), 10000);
    QVERIFY(app.loadAndPlay(1));
    app.tick(3);
    const QStringList calls = app.player()->calls;

    QVERIFY(!d->nextMediaButtonClick(nullptr));
    QCOMPARE(app.player()->calls, calls);
    QCOMPARE(d->mediaIndex(), 1);
    QVERIFY(d->isPlaying());
    QCOMPARE(app.text(d->spentTimeLabel()), QStringLiteral("00:00:03"));
}

void PlaybackTest::nextLoadsAndPlaysTheFollowingEntry()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("a.mp4"), 10000);
    const MediaEntry b = app.add(QStringLiteral("b.mp4"), 20000);
    QVERIFY(app.loadAndPlay(0));
    app.tick(3);
    app.player()->calls.clear();

    QVERIFY(d->nextMediaButtonClick(nullptr));
    QCOMPARE(d->mediaIndex(), 1);
    QCOMPARE(app.player()->calls,
             QStringList({"stop", "setMedia nil", "setMedia " + b->path, "play"}));
    QVERIFY(d->isPlaying());
    QCOMPARE(d->timer()->getSpentTimeUint(), 0u);
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:00:20"));
}

void PlaybackTest::nextSkipsMissingFiles()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("a.mp4"), 10000);
    const MediaEntry b = app.add(QStringLiteral("b.mp4"), 10000);
    const MediaEntry c = app.add(QStringLiteral("c.mp4"), 10000);
    const MediaEntry e = app.add(QStringLiteral("e.mp4"), 10000);
    QVERIFY(QFile::remove(b->path));
    QVERIFY(QFile::remove(c->path));
    QVERIFY(app.loadAndPlay(0));

    QVERIFY(d->nextMediaButtonClick(nullptr));
    QCOMPARE(d->mediaIndex(), 3);
    QCOMPARE(app.player()->calls.mid(2),
             QStringList({"stop", "setMedia nil", "setMedia " + e->path, "play"}));
    QCOMPARE(d->mediaPlaylist()->size(), 4);
}

void PlaybackTest::previousWithoutCurrentEntryPlaysTheOneBeforeTheLast()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("a.mp4"), 10000);
    const MediaEntry b = app.add(QStringLiteral("b.mp4"), 10000);
    app.add(QStringLiteral("c.mp4"), 10000);
    d->prevMediaButtonClick(nullptr);
    QCOMPARE(d->mediaIndex(), 1);
    QCOMPARE(app.player()->calls, QStringList({"setMedia " + b->path, "play"}));
    QVERIFY(d->isPlaying());
}

void PlaybackTest::previousWithOneEntryOnlyMakesItCurrent()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("only.mp4"), 10000);
    d->prevMediaButtonClick(nullptr);
    QCOMPARE(d->mediaIndex(), 0);
    QVERIFY(app.player()->calls.isEmpty());
    QVERIFY(!d->isPlaying());
}

void PlaybackTest::previousAtTheFirstVisibleEntryChangesNothing()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("a.mp4"), 10000);
    app.add(QStringLiteral("b.mp4"), 10000);
    QVERIFY(app.loadAndPlay(0));
    const QStringList calls = app.player()->calls;
    d->prevMediaButtonClick(nullptr);
    QCOMPARE(app.player()->calls, calls);
    QCOMPARE(d->mediaIndex(), 0);
    QVERIFY(d->isPlaying());
}

void PlaybackTest::previousSkipsMissingFiles()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    const MediaEntry a = app.add(QStringLiteral("a.mp4"), 10000);
    const MediaEntry b = app.add(QStringLiteral("b.mp4"), 10000);
    app.add(QStringLiteral("c.mp4"), 10000);
    QVERIFY(QFile::remove(b->path));
    QVERIFY(app.loadAndPlay(2));
    d->prevMediaButtonClick(nullptr);
    QCOMPARE(d->mediaIndex(), 0);
    QCOMPARE(app.player()->calls.mid(2),
             QStringList({"stop", "setMedia nil", "setMedia " + a->path, "play"}));
}

void PlaybackTest::previousWithNoVisibleEntryDoesNothing()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("a.mp4"), 10000);
    app.add(QStringLiteral("b.mp4"), 10000);
    QVERIFY(app.loadAndPlay(1));
    d->applyFilter(QStringLiteral("no such name"));
    QVERIFY(app.access().visibleMediaPlaylist()->isEmpty());
    const QStringList calls = app.player()->calls;
    d->prevMediaButtonClick(nullptr);
    QVERIFY(!d->nextMediaButtonClick(nullptr));
    QCOMPARE(app.player()->calls, calls);
    QCOMPARE(d->mediaIndex(), 1);
    QVERIFY(d->isPlaying());
}

void PlaybackTest::filteredOutCurrentEntryStepsToTheFirstVisible_data()
{
    QTest::addColumn<bool>("next");
    QTest::addRow("next") << true;
    QTest::addRow("previous") << false;
}

void PlaybackTest::filteredOutCurrentEntryStepsToTheFirstVisible()
{
    QFETCH(bool, next);
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    const MediaEntry one = app.add(QStringLiteral("one.mp4"), 10000);
    app.add(QStringLiteral("two.mp4"), 10000);
    app.add(QStringLiteral("three.mp4"), 10000);
    QVERIFY(app.loadAndPlay(1));
    d->applyFilter(QStringLiteral("e"));
    QCOMPARE(app.access().visibleMediaPlaylist()->size(), 2);

    if (next)
        QVERIFY(d->nextMediaButtonClick(nullptr));
    else
        d->prevMediaButtonClick(nullptr);
    QCOMPARE(d->mediaIndex(), 0);
    QCOMPARE(app.player()->calls.mid(2),
             QStringList({"stop", "setMedia nil", "setMedia " + one->path, "play"}));
}

void PlaybackTest::currentFileGoneWhilePlaying_data()
{
    QTest::addColumn<bool>("renamed");
    QTest::addRow("deleted") << false;
    QTest::addRow("renamed") << true;
}

void PlaybackTest::currentFileGoneWhilePlaying()
{
    QFETCH(bool, renamed);
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    const MediaEntry entry = app.add(QStringLiteral("vanishing.mp4"), 10000);
    app.add(QStringLiteral("after.mp4"), 10000);
    QVERIFY(app.loadAndPlay(0));
    app.tick(2);
    if (renamed)
        QVERIFY(QFile::rename(entry->path, app.pathOf(QStringLiteral("moved.mp4"))));
    else
        QVERIFY(QFile::remove(entry->path));
    const QStringList calls = app.player()->calls;

    // Pausing and seeking need the file; the player goes on playing.
    d->playPauseButtonClick(nullptr);
    d->rewindForwardButtonClick(nullptr);
    d->rewindBackwardButtonClick(nullptr);
    QCOMPARE(app.player()->calls, calls);
    QVERIFY(d->isPlaying());
    QCOMPARE(imageOf(d->playPauseButton()), kPauseImages);
    QCOMPARE(d->timer()->getSpentTimeUint(), 2u);

    // Its end still comes by the count, and playback moves on.
    app.tick(8);
    QCOMPARE(d->mediaIndex(), 1);
    QVERIFY(d->isPlaying());
    QCOMPARE(d->mediaPlaylist()->size(), 2);
}

void PlaybackTest::currentFileMadeUnreadableWhilePaused()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    const MediaEntry entry = app.add(QStringLiteral("locked.mp4"), 10000);
    QVERIFY(app.loadAndPlay(0));
    app.tick(2);
    d->playPauseButtonClick(nullptr);
    QVERIFY(QFile::setPermissions(entry->path, QFileDevice::Permissions()));

    // The file is still there: the player, which holds it open, goes on.
    d->playPauseButtonClick(nullptr);
    QVERIFY(d->isPlaying());
    app.tick(8);
    QCOMPARE(d->mediaIndex(), -1);
    QCOMPARE(app.player()->calls.mid(1),
             QStringList({"play", "pause", "play", "stop", "setMedia nil"}));
    QCOMPARE(d->mediaPlaylist()->size(), 1);
    QFile::setPermissions(entry->path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void PlaybackTest::clearPlayerWhilePausedKeepsTheMedia()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("kept.mp4"), 100000);
    QVERIFY(app.loadAndPlay(0));
    app.tick(30);
    d->playPauseButtonClick(nullptr);
    const QStringList calls = app.player()->calls;

    d->clearPlayer();
    QCOMPARE(app.player()->calls, calls);
    QVERIFY(app.player()->media());
    QCOMPARE(app.text(d->mediaName()), QStringLiteral("kept"));
    QVERIFY(d->mediaProgressSlider()->isEnabled());
    QVERIFY(d->mediaBackgroundImageView()->isHidden());
    QCOMPARE(imageOf(d->playPauseButton()), kPlayImages);
    QCOMPARE(d->mediaProgressSlider()->value(), 0);
    QCOMPARE(app.text(d->spentTimeLabel()), QStringLiteral("00:00:00"));
    QCOMPARE(app.text(d->remainingTimeLabel()), QStringLiteral("00:00:00"));
    // Neither the total nor the count are touched.
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:01:40"));
    QCOMPARE(d->timer()->getSpentTimeUint(), 30u);
    QCOMPARE(d->mediaIndex(), 0);
}

void PlaybackTest::clearPlayerWhilePlayingEmptiesThePlayer()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("emptied.mp4"), 100000);
    QVERIFY(app.loadAndPlay(0));
    app.tick(30);
    d->clearPlayer();
    QCOMPARE(app.player()->calls.mid(2), QStringList({"stop", "setMedia nil"}));
    QVERIFY(!app.player()->media());
    QVERIFY(!d->isPlaying());
    QCOMPARE(app.text(d->mediaName()), QString());
    QVERIFY(!d->mediaProgressSlider()->isEnabled());
    QVERIFY(!d->mediaBackgroundImageView()->isHidden());
    QCOMPARE(imageOf(d->playPauseButton()), kPlayImages);
    QCOMPARE(d->mediaIndex(), 0);
}

void PlaybackTest::menuItemsReachTheCommands_data()
{
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<QString>("lastCall");
    QTest::addColumn<int64_t>("mediaIndex");
    QTest::addRow("Play / Pause pauses") << "playMenuItem"
                                         << "pause" << int64_t(1);
    QTest::addRow("Next plays the next entry") << "nextMenuItem"
                                               << "play" << int64_t(2);
    QTest::addRow("Previous plays the entry before") << "prevMenuItem"
                                                     << "play" << int64_t(0);
    QTest::addRow("Forward seeks 5 s on") << "forwardMenuItem"
                                          << "setTime 15000" << int64_t(1);
    QTest::addRow("Back seeks 5 s back") << "rewindMenuItem"
                                         << "setTime 5000" << int64_t(1);
}

void PlaybackTest::menuItemsReachTheCommands()
{
    QFETCH(QString, menuItem);
    QFETCH(QString, lastCall);
    QFETCH(int64_t, mediaIndex);
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("a.mp4"), 60000);
    app.add(QStringLiteral("b.mp4"), 60000);
    app.add(QStringLiteral("c.mp4"), 60000);
    QVERIFY(app.loadAndPlay(1));
    app.tick(10);
    auto *action = app.mainWindow()->findChild<QAction *>(menuItem);
    QVERIFY(action);
    action->trigger();
    QCOMPARE(app.player()->calls.last(), lastCall);
    QCOMPARE(d->mediaIndex(), mediaIndex);
}

QTEST_MAIN(PlaybackTest)
#include "tst_playback.moc"
