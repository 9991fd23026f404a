// Playback on the stand-in engine, driven tick by tick: the time texts, the current media and
// its length, the commands, files dropped or handed over, and the overlay's controls.
#include "PlaybackApp.h"
#include "chrome/MouseDownNotification.h"
#include "chrome/NotificateNSButton.h"
#include "chrome/NotificationCenter.h"

#include <QAction>
#include <QElapsedTimer>
#include <QtTest>

namespace {

// Every command a user can give: the overlay's actions and the menu's relays.
const QList<QByteArray> kCommands =
    QByteArray("playPauseButtonClick muteButtonClick maxVolumeButtonClick volumeSliderValueChanged "
               "rewindForwardButtonClick rewindBackwardButtonClick nextMediaButtonClick "
               "prevMediaButtonClick mediaProgressSliderValueChanged playbackPlay playbackNext "
               "playbackPrev playbackForward playbackRewind")
        .split(' ');

const QString kPlayImages = QStringLiteral("play|play-pressed");

QString imagesOf(QAbstractButton *button)
{
    auto *imageButton = qobject_cast<ImageButton *>(button);
    return imageButton ? imageButton->image() + "|" + imageButton->alternateImage() : QString();
}

// What the player is told when playback moves on to the media at `path`.
QStringList switchTo(const QString &path, bool wasPlaying = true)
{
    return (wasPlaying ? QStringList{"stop", "setMedia nil"} : QStringList{})
           << "setMedia " + path << "play";
}

} // namespace

// Table rows.
struct Step {
    bool next;
    int entries;
    int from; // -1: nothing current
    int to;
    bool loads;
    QList<int> missing = {};
    QString filter = {};
};
struct Drop {
    QStringList dropped;
    QString before; // "playing", "paused" or nothing current
    int added;
    QString current; // the name of the current entry after the drop
    bool plays;
};
struct Wire {
    const char *control;
    QString lastCall;
    int64_t mediaIndex = 1;
    int volume = 100;
};
Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Drop)
Q_DECLARE_METATYPE(Wire)

class PlaybackTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PlaybackApp> app;
    AppDelegate *d = nullptr;

    RecordingMediaPlayer *player() const { return app->player(); }
    QString text(QLabel *label) const { return app->text(label); }
    QWidget *overlay() const { return d->userInterfaceWindow(); }
    FakeMedia *curMedia() const { return static_cast<FakeMedia *>(d->curMedia().get()); }
    QStringList addEntries(const QStringList &names, std::optional<int> lengthMs = 10000)
    {
        for (const QString &name : names)
            app->add(name, lengthMs);
        return names;
    }
    // Adds an entry and plays it.
    bool play(const QString &name, int lengthMs)
    {
        app->add(name, lengthMs);
        return app->loadAndPlay(d->mediaPlaylist()->size() - 1);
    }

private slots:
    void init()
    {
        AppDelegateTestAccess::legthTickCount() = 0;
        app = std::make_unique<PlaybackApp>();
        QVERIFY(app->launch());
        d = app->appDelegate;
    }
    void cleanup() { app.reset(); }

    void timeText_data()
    {
        QTest::addColumn<uint>("seconds");
        QTest::addColumn<QString>("text");
        QTest::addRow("nothing counted yet") << 0u << "00:00:00";
        QTest::addRow("hours do not wrap at a day") << 90061u << "25:01:01";
        QTest::addRow("the largest count") << 4294967295u << "1193046:28:15";
    }
    void timeText()
    {
        QFETCH(uint, seconds);
        QFETCH(QString, text);
        QCOMPARE(Timer::getTimeStr(seconds), text);
    }

    void mediaEndsAtTheFirstTickPastItsLength_data()
    {
        QTest::addColumn<int>("lengthMs");
        QTest::addColumn<int>("endSeconds");
        QTest::addRow("2,500 ms ends on the third tick") << 2500 << 3;
        QTest::addRow("125,000 ms ends at 125 s") << 125000 << 125;
        QTest::addRow("125,400 ms ends at 126 s") << 125400 << 126;
        QTest::addRow("125,059 ms ends at 125 s, 59 ms before its end") << 125059 << 125;
        QTest::addRow("125,060 ms plays on at 125 s, 60 ms before its end") << 125060 << 126;
    }
    void mediaEndsAtTheFirstTickPastItsLength()
    {
        QFETCH(int, lengthMs);
        QFETCH(int, endSeconds);
        QVERIFY(play(QStringLiteral("clip.mp4"), lengthMs));
        app->tick(endSeconds - 1);
        QVERIFY(d->isPlaying());
        QCOMPARE(d->mediaProgressSlider()->value(), endSeconds - 1);
        app->tick();
        // The only entry played to its end: nothing is current any more.
        QCOMPARE(d->mediaIndex(), -1);
        QVERIFY(!d->isPlaying() && !d->timer()->isCounting());
        QCOMPARE(player()->calls.mid(2), QStringList({"stop", "setMedia nil"}));
        QVERIFY(d->mediaBackgroundImageView()->isVisibleTo(overlay()));
        QCOMPARE(imagesOf(d->playPauseButton()), kPlayImages);
        QCOMPARE(text(d->mediaName()), QString());
    }

    void lengthNeverReportedIsDeliveredAsZeroAfter12Polls()
    {
        app->add(QStringLiteral("mystery.mp4"));
        d->totalTimeLabel()->setText(QStringLiteral("09:09:09"));
        QVERIFY(app->loadAndPlay(0));
        // The first poll ran at load; the rest run here instead of after their waits.
        int polls = 1;
        for (; app->access().hasPendingLengthPoll() && polls < 20; ++polls) {
            QCOMPARE(AppDelegateTestAccess::legthTickCount(), int64_t(polls));
            app->access().runPendingLengthPoll();
        }
        QCOMPARE(polls, 12);
        QCOMPARE(AppDelegateTestAccess::legthTickCount(), int64_t(0));
        QCOMPARE(text(d->totalTimeLabel()), QStringLiteral("00:00:00"));
        // It never ends by itself, and the remaining time does not go below zero.
        app->tick(30);
        QVERIFY(d->isPlaying());
        QCOMPARE(text(d->spentTimeLabel()), QStringLiteral("00:00:30"));
        QCOMPARE(text(d->remainingTimeLabel()), QStringLiteral("00:00:00"));
    }

    void loadingAndTheLengthDelivery()
    {
        const MediaEntry entry = app->add(QStringLiteral("holiday.clip.mp4"));
        app->add(QStringLiteral("other.mp4"));
        QVERIFY(app->load(0));
        QCOMPARE(player()->calls, QStringList{"setMedia " + entry->path});
        QVERIFY(!d->isPlaying() && !d->timer()->isCounting());
        // The entry object itself, so that lookups by identity find it.
        QCOMPARE(app->access().curMediaPath().get(), entry.get());
        // Filtered out of view: no row to select, the rest of the delivery applies.
        d->applyFilter(QStringLiteral("oth"));
        app->access().runPendingLengthPoll();
        QVERIFY(app->access().hasPendingLengthPoll());
        curMedia()->setLength(VLCTime(61500));
        app->access().runPendingLengthPoll();
        QVERIFY(!app->access().hasPendingLengthPoll());
        QCOMPARE(text(d->totalTimeLabel()), QStringLiteral("00:01:01"));
        QCOMPARE(d->mediaProgressSlider()->maximum(), 61);
        QCOMPARE(text(d->mediaName()), QStringLiteral("holiday.clip"));
        QVERIFY(d->mediaBackgroundImageView()->isHidden());
        // A length delivered once nothing is current any more shows nowhere.
        QVERIFY(app->load(1));
        app->access().setMediaIndex(-1);
        curMedia()->setLength(VLCTime(90000));
        app->access().runPendingLengthPoll();
        QVERIFY(!app->access().hasPendingLengthPoll());
        QCOMPARE(text(d->totalTimeLabel()), QStringLiteral("00:01:01"));
        QCOMPARE(text(d->mediaName()), QStringLiteral("holiday.clip"));
    }

    void pauseAndResumeContinueTheCount()
    {
        QVERIFY(play(QStringLiteral("movie.mp4"), 60000));
        QCOMPARE(imagesOf(d->playPauseButton()), QStringLiteral("pause|pause-pressed"));
        app->tick(2);
        d->playPauseButtonClick();
        QCOMPARE(imagesOf(d->playPauseButton()), kPlayImages);
        QVERIFY(!d->timer()->isCounting());
        d->playPauseButtonClick();
        app->tick();
        QCOMPARE(text(d->spentTimeLabel()), QStringLiteral("00:00:03"));
        QCOMPARE(player()->calls.mid(1), QStringList({"play", "pause", "play"}));
    }

    void everyCommandWithoutCurrentEntryDoesNothing()
    {
        for (int entries : {0, 2}) {
            if (entries > 0)
                addEntries({"a.mp4", "b.mp4"});
            for (const QByteArray &command : kCommands) {
                // With entries, previous makes the last one current: stepping covers it.
                if (entries > 0 && command.toLower().contains("prev"))
                    continue;
                QVERIFY(QMetaObject::invokeMethod(d, command.constData()));
                QVERIFY2(player()->calls.isEmpty() && player()->audio()->volume() == -1 &&
                             d->mediaIndex() == -1 && !d->isPlaying() && !d->timer()->isCounting(),
                         command.constData());
            }
            QCOMPARE(d->mediaPlaylist()->size(), entries);
        }
    }

    void beforeThePlayerIsMadeNothingActsAndHandedOverFilesWait()
    {
        app = std::make_unique<PlaybackApp>();
        app->backend.setPlayerCreationDelay(300);
        d = app->appDelegate = loadMainInterface(&app->backend);
        QVERIFY(d);
        QSignalSpy ready(d, &AppDelegate::mediaPlayerReady);
        d->applicationDidFinishLaunching();
        app->add(QStringLiteral("early.mp4"), 10000);
        const QStringList handedOver = {app->pathOf("first.ogg"), app->pathOf("second.mp4")};
        for (const QString &path : handedOver)
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        d->applicationOpenFiles(handedOver);
        // Even with an entry made current, nothing reaches a player that is not there.
        app->access().setMediaIndex(0);
        QVERIFY(!d->configureForCurrentMedia());
        for (const QByteArray &command : kCommands)
            QVERIFY(QMetaObject::invokeMethod(d, command.constData()));
        QVERIFY(!d->isPlaying() && !d->curMedia() && !d->mediaPlayer());
        QCOMPARE(d->mediaPlaylist()->size(), 1);

        QVERIFY(ready.wait(5000));
        QTRY_COMPARE(d->mediaPlaylist()->size(), 3);
        QCOMPARE(app->currentPath(), handedOver[0]);
        QCOMPARE(player()->calls, switchTo(handedOver[0], false));
        // Once only: a later handover of a player does not add them again.
        emit d->mediaPlayerReady();
        QCOMPARE(d->mediaPlaylist()->size(), 3);
    }

    void muteThenPlayStartsAtTheMinimumVolume()
    {
        d->muteButtonClick();
        QVERIFY(play(QStringLiteral("loud.mp4"), 10000));
        QCOMPARE(player()->audio()->volume(), d->volumeSlider()->minimum());
    }

    void seeking_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("paused");
        QTest::addRow("forward in the middle") << "forward" << 40 << 45 << false;
        QTest::addRow("forward at 98 s of 100 s ends the media") << "forward" << 98 << 100 << false;
        QTest::addRow("backward at 3 s stops at the start") << "backward" << 3 << 0 << false;
        QTest::addRow("backward while paused stays paused") << "backward" << 10 << 5 << true;
        QTest::addRow("progress slider at 75 seeks to 75 s") << "slider" << 40 << 75 << false;
    }
    void seeking()
    {
        QFETCH(QString, control);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, paused);
        QVERIFY(play(QStringLiteral("hundred.mp4"), 100000));
        app->tick(from);
        if (paused)
            d->playPauseButtonClick();
        player()->calls.clear();
        if (control == "forward") {
            d->rewindForwardButtonClick();
        } else if (control == "backward") {
            d->rewindBackwardButtonClick();
        } else {
            d->mediaProgressSlider()->setValue(to);
            d->mediaProgressSliderValueChanged();
        }
        QCOMPARE(player()->calls.value(0), QStringLiteral("setTime %1").arg(to * 1000));
        QCOMPARE(d->mediaIndex(), int64_t(to == 100 ? -1 : 0));
        if (to == 100)
            return;
        QCOMPARE(text(d->spentTimeLabel()), Timer::getTimeStr(to));
        QCOMPARE(text(d->remainingTimeLabel()), Timer::getTimeStr(100 - to));
        QCOMPARE(d->isPlaying(), !paused);
        QCOMPARE(d->timer()->isCounting(), !paused);
    }

    void stepping_data()
    {
        QTest::addColumn<Step>("step");
        // The entries are one, two, three, four; "e" hides two and four.
        QTest::addRow("next skips missing files") << Step{true, 4, 0, 3, true, {1, 2}};
        QTest::addRow("next at the last visible answers no") << Step{true, 2, 1, 1, false};
        QTest::addRow("next from a filtered-out entry plays the first visible")
            << Step{true, 3, 1, 0, true, {}, "e"};
        QTest::addRow("previous, none current, over A, B, C plays B")
            << Step{false, 3, -1, 1, true};
        QTest::addRow("previous with one entry makes it current") << Step{false, 1, -1, 0, false};
        QTest::addRow("previous at the first visible does nothing") << Step{false, 2, 0, 0, false};
        QTest::addRow("previous skips missing files") << Step{false, 3, 2, 0, true, {1}};
        QTest::addRow("previous from a filtered-out entry plays the first visible")
            << Step{false, 3, 1, 0, true, {}, "e"};
        QTest::addRow("previous with no visible entry does nothing")
            << Step{false, 2, 1, 1, false, {}, "z"};
    }
    void stepping()
    {
        QFETCH(Step, step);
        const QStringList names = addEntries(
            QStringList{"one.mp4", "two.mp4", "three.mp4", "four.mp4"}.mid(0, step.entries));
        for (int i : step.missing)
            QVERIFY(QFile::remove(app->pathOf(names[i])));
        if (step.from >= 0) {
            QVERIFY(app->loadAndPlay(step.from));
            app->tick(3);
        }
        d->applyFilter(step.filter);
        player()->calls.clear();

        if (step.next)
            QCOMPARE(d->nextMediaButtonClick(), step.loads);
        else
            d->prevMediaButtonClick();
        const bool wasCurrent = step.from >= 0;
        QCOMPARE(d->mediaIndex(), int64_t(step.to));
        QCOMPARE(player()->calls,
                 step.loads ? switchTo(app->pathOf(names[step.to]), wasCurrent) : QStringList());
        QCOMPARE(d->isPlaying(), step.loads || wasCurrent);
        QCOMPARE(d->timer()->getSpentTimeUint(), step.loads || !wasCurrent ? 0u : 3u);
        QCOMPARE(d->mediaPlaylist()->size(), step.entries);
    }

    void commandsOnTheLoadedMediaOutliveItsFile_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("paused");
        QTest::addRow("deleted while playing") << "delete" << false;
        QTest::addRow("renamed while playing") << "rename" << false;
        QTest::addRow("deleted while paused") << "delete" << true;
    }
    void commandsOnTheLoadedMediaOutliveItsFile()
    {
        QFETCH(QString, change);
        QFETCH(bool, paused);
        const QString path = app->add(QStringLiteral("changing.mp4"), 10000)->path;
        app->add(QStringLiteral("after.mp4"), 10000);
        QVERIFY(app->loadAndPlay(0));
        app->tick(2);
        if (paused)
            d->playPauseButtonClick();
        if (change == "delete")
            QVERIFY(QFile::remove(path));
        else
            QVERIFY(QFile::rename(path, app->pathOf(QStringLiteral("moved.mp4"))));
        player()->calls.clear();

        // The engine still has the file open: every command reaches it.
        d->playPauseButtonClick();
        d->rewindForwardButtonClick();
        QCOMPARE(player()->calls, QStringList({paused ? "play" : "pause", "setTime 7000"}));
        QCOMPARE(d->isPlaying(), paused);
        // Started anew, the entry is gone and playback moves on past it.
        QVERIFY(!app->load(0));
        QCOMPARE(d->nextMediaButtonClick(), true);
        QCOMPARE(app->currentPath(), app->pathOf("after.mp4"));
    }

    void engineEndOrStallEndsTheMedia_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("last");
        QTest::addColumn<bool>("ends");
        QTest::addRow("the engine's end moves on") << "ended" << false << true;
        QTest::addRow("an engine error moves on") << "error" << false << true;
        QTest::addRow("the engine's end of the last entry") << "ended" << true << true;
        QTest::addRow("ten seconds without progress move on") << "stall 10" << false << true;
        QTest::addRow("nine seconds without progress play on") << "stall 9" << false << false;
        QTest::addRow("ten seconds in which only the position moves play on")
            << "position moves" << false << false;
        QTest::addRow("an end told once another media is loaded") << "late ended" << false << false;
    }
    void engineEndOrStallEndsTheMedia()
    {
        QFETCH(QString, event);
        QFETCH(bool, last);
        QFETCH(bool, ends);
        // No length is ever known: neither end comes from the count.
        app->add(QStringLiteral("unknown.mp3"));
        if (!last)
            app->add(QStringLiteral("next.mp4"), 10000);
        QVERIFY(app->loadAndPlay(0));
        app->tick(3);
        if (event == "ended" || event == "error") {
            player()->report(event == "ended" ? VLCMediaPlayerState::Ended
                                              : VLCMediaPlayerState::Error);
        } else if (event.startsWith("stall")) {
            app->tick(event.mid(6).toInt(), false);
        } else if (event == "position moves") {
            for (int i = 0; i < 10; ++i) {
                player()->advancePosition(0.01);
                app->tick(1, false);
            }
        } else {
            // The notification was on its way while the next media was loaded: by
            // the time it arrives the engine is playing that one.
            d->clearPlayer();
            QVERIFY(app->loadAndPlay(1));
            player()->delegate()->mediaPlayerStateChanged();
        }
        const QString expected =
            !ends ? (event == "late ended" ? app->pathOf("next.mp4") : app->pathOf("unknown.mp3"))
                  : (last ? QString() : app->pathOf("next.mp4"));
        QCOMPARE(app->currentPath(), expected);
        QCOMPARE(d->isPlaying(), !ends || !last);
    }

    void clearPlayerWhilePausedKeepsTheMedia()
    {
        QVERIFY(play(QStringLiteral("kept.mp4"), 100000));
        app->tick(30);
        d->playPauseButtonClick();
        const QStringList calls = player()->calls;
        d->clearPlayer();
        QCOMPARE(player()->calls, calls);
        QVERIFY(player()->media());
        QCOMPARE(text(d->mediaName()), QStringLiteral("kept"));
        QCOMPARE(text(d->spentTimeLabel()), QStringLiteral("00:00:00"));
        // Neither the count nor the current entry change.
        QCOMPARE(d->timer()->getSpentTimeUint(), 30u);
        QCOMPARE(d->mediaIndex(), 0);
    }

    void drop_data()
    {
        QTest::addColumn<Drop>("drop");
        QTest::addRow("a drop while another plays replaces it")
            << Drop{{"new.mkv"}, "playing", 1, "new.mkv", true};
        QTest::addRow("a drop while paused loads over the paused media")
            << Drop{{"next.wav"}, "paused", 1, "next.wav", true};
        QTest::addRow("a drop of several plays the first supported one")
            << Drop{{"notes.txt", "song.flac", "clip.mp4"}, "", 2, "song.flac", true};
        QTest::addRow("a drop of unsupported files only changes nothing")
            << Drop{{"readme.txt"}, "playing", 0, "alpha.mp4", false};
        QTest::addRow("a dropped file gone before it loads is made current, not played")
            << Drop{{"fleeting.mp4"}, "", 1, "fleeting.mp4", false};
    }
    void drop()
    {
        QFETCH(Drop, drop);
        addEntries({"alpha.mp4", "beta.mp4"}, 60000);
        if (!drop.before.isEmpty())
            QVERIFY(app->loadAndPlay(0));
        if (drop.before == "paused")
            d->playPauseButtonClick();
        d->applyFilter(QStringLiteral("alp"));
        QStringList paths;
        for (const QString &name : drop.dropped) {
            paths << app->pathOf(name);
            QVERIFY(QFile(paths.last()).open(QIODevice::WriteOnly));
        }
        // Gone while the addition waits for its thumbnail.
        if (drop.added > 0 && !drop.plays)
            QTimer::singleShot(0, [path = paths[0]] { QFile::remove(path); });
        player()->calls.clear();

        QCOMPARE(d->mediaDragEvent(paths), drop.added > 0);
        QCOMPARE(d->mediaPlaylist()->size(), 2 + drop.added);
        QCOMPARE(d->mediaPlaylist()->last()->path,
                 drop.added ? paths.last() : app->pathOf("beta.mp4"));
        QCOMPARE(app->currentPath(), app->pathOf(drop.current));
        QCOMPARE(player()->calls, drop.plays
                                      ? switchTo(app->currentPath(), drop.before == "playing")
                                      : QStringList());
        QCOMPARE(d->isPlaying(), drop.plays || drop.before == "playing");
        // The filter is cleared so that the new entry shows.
        QCOMPARE(app->access().visibleMediaPlaylist()->size(), drop.added ? 2 + drop.added : 1);
    }

    void overlayControlsAreHandedToAppDelegate()
    {
        QStringList handedOver;
        for (QWidget *control :
             QWidgetList{d->playPauseButton(), d->muteButton(), d->maxVolumeButton(),
                         d->rewindForwardButton(), d->rewindBackwardButton(), d->spentTimeLabel(),
                         d->remainingTimeLabel(), d->totalTimeLabel(), d->mediaProgressSlider(),
                         d->volumeSlider(), d->showPlaylistButton(), d->mediaName(),
                         d->mediaBackgroundImageView()})
            handedOver << (overlay()->isAncestorOf(control) ? control->objectName() : "");
        QCOMPARE(
            handedOver,
            QStringList({"playPauseButton", "muteButton", "maxVolumeButton", "rewindForwardButton",
                         "rewindBackwardButton", "spentTimeLabel", "remainingTimeLabel",
                         "totalTimeLabel", "mediaProgressSlider", "volumeSlider",
                         "showPlaylistButton", "mediaName", "mediaBackgroundImageView"}));
        // Next and previous are wired, not handed over.
        QVERIFY(!d->nextMediaButton() && !d->prevMediaButton());
        // One of total and remaining time shows.
        QVERIFY(d->totalTimeLabel()->isHidden() != d->remainingTimeLabel()->isHidden());
        // Nothing plays yet: the background image stands in for the picture.
        QVERIFY(!d->mediaBackgroundImageView()->isHidden());
        QVERIFY(!d->mediaBackgroundImageView()->pixmap().isNull());
    }

    void overlayButtonsShowImagesFromTheResources()
    {
        const auto buttons = overlay()->findChildren<NotificateNSButton *>();
        QVERIFY(buttons.size() >= 8);
        for (NotificateNSButton *button : buttons) {
            for (const QString &image : {button->image(), button->alternateImage()})
                QVERIFY2(QFile::exists(QStringLiteral(":/images/%1.svg").arg(image)),
                         qPrintable(button->objectName() + ": " + image));
        }
    }

    void overlayButtonsAndMenuItemsReachTheirActions_data()
    {
        QTest::addColumn<Wire>("wire");
        QTest::addRow("play/pause button pauses") << Wire{"playPauseButton", "pause"};
        QTest::addRow("next button plays the next entry") << Wire{"nextMediaButton", "play", 2};
        QTest::addRow("previous button plays the one before") << Wire{"prevMediaButton", "play", 0};
        QTest::addRow("forward button seeks on") << Wire{"rewindForwardButton", "setTime 25000"};
        QTest::addRow("backward button rewinds") << Wire{"rewindBackwardButton", "setTime 15000"};
        QTest::addRow("mute button silences") << Wire{"muteButton", "play", 1, 0};
        QTest::addRow("maximum volume button turns it up")
            << Wire{"maxVolumeButton", "play", 1, 200};
        QTest::addRow("Play / Pause item pauses") << Wire{"playMenuItem", "pause"};
        QTest::addRow("Next item plays the next entry") << Wire{"nextMenuItem", "play", 2};
        QTest::addRow("Previous item plays the one before") << Wire{"prevMenuItem", "play", 0};
        QTest::addRow("Forward item seeks 5 s on") << Wire{"forwardMenuItem", "setTime 25000"};
        QTest::addRow("Back item seeks 5 s back") << Wire{"rewindMenuItem", "setTime 15000"};
    }
    void overlayButtonsAndMenuItemsReachTheirActions()
    {
        QFETCH(Wire, wire);
        addEntries({"a.mp4", "b.mp4", "c.mp4"}, 60000);
        QVERIFY(app->loadAndPlay(1));
        app->tick(20);
        if (auto *item = app->mainWindow()->findChild<QAction *>(wire.control))
            item->trigger();
        else if (auto *button = overlay()->findChild<NotificateNSButton *>(wire.control))
            button->click();
        else
            QFAIL(wire.control);
        QCOMPARE(player()->calls.last(), wire.lastCall);
        QCOMPARE(d->mediaIndex(), wire.mediaIndex);
        QCOMPARE(player()->audio()->volume(), wire.volume);
    }

    void slidersSendOnlyTheUsersChanges()
    {
        QVERIFY(play(QStringLiteral("a.mp4"), 60000));
        player()->calls.clear();
        // Values set in code, as each tick sets the position, send nothing.
        d->mediaProgressSlider()->setValue(30);
        d->volumeSlider()->setValue(150);
        QVERIFY(player()->calls.isEmpty());
        QCOMPARE(d->curVolume(), int64_t(100));
        // A user's step reaches AppDelegate with the new value already in place.
        d->mediaProgressSlider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(player()->calls, QStringList{"setTime 31000"});
        d->volumeSlider()->triggerAction(QAbstractSlider::SliderPageStepSub);
        QCOMPARE(player()->audio()->volume(), 150 - d->volumeSlider()->pageStep());
    }

    void buttonsPostActivityOnPressAndSlidersOnRelease()
    {
        QList<Notification> seen;
        auto receiver = std::make_unique<QObject>();
        NotificationCenter::defaultCenter().addObserver(
            MOUSE_DOWN_NOTIFICATION, receiver.get(),
            [&](const Notification &n) { seen.append(n); });
        QAbstractButton *mute = d->muteButton();
        QTest::mousePress(mute, Qt::LeftButton);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].name, QStringLiteral("MOUSE_DOWN_NOTIFICATION"));
        QCOMPARE(seen[0].object.data(), mute);
        QTest::mouseRelease(mute, Qt::LeftButton);
        QSlider *volume = d->volumeSlider();
        volume->window()->resize(800, 400);
        QTest::mousePress(volume, Qt::LeftButton, {}, volume->rect().center());
        QCOMPARE(seen.size(), 1);
        QTest::mouseRelease(volume, Qt::LeftButton, {}, volume->rect().center());
        QCOMPARE(seen.size(), 2);
        QCOMPARE(seen[1].object.data(), volume);
        // An observer goes away with its receiver.
        receiver.reset();
        QTest::mouseClick(mute, Qt::LeftButton);
        QCOMPARE(seen.size(), 2);
    }
};

QTEST_MAIN(PlaybackTest)
#include "tst_playback.moc"
