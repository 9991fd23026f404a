// The current media on the stand-in engine: loading it, polling its length,
// the time read-outs and the end of a media, driven tick by tick.
#include "PlaybackApp.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {

FakeMedia *fakeMedia(AppDelegate *d)
{
    return dynamic_cast<FakeMedia *>(d->curMedia().get());
}

} // namespace

class PlaybackMediaTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void loadingHoldsTheMediaWithoutStartingIt();
    void loadingAMissingFileAnswersNo();
    void mediaOf2500MsEndsOnTheThirdTick();
    void endComesAtTheFirstTickPastTheLength_data();
    void endComesAtTheFirstTickPastTheLength();
    void endOfTheLastVisibleEntryLeavesNoCurrentEntry();
    void endMovesOnToTheNextVisibleEntry();
    void lengthNeverReportedIsDeliveredAsZeroAfter12Polls();
    void lengthArrivingDuringThePollsIsDelivered();
    void pollsRunByThemselvesEveryFifthOfASecond();
    void newerMediaTakesOverAPendingPoll();
    void deliveryAfterTheEntryIsGoneShowsNothing();
    void deliveryForAnEntryFilteredOutOfView();
    void remainingTimeNeverGoesBelowZero();
    void pauseAndResumeContinueTheCount();
    void loadingAnotherMediaCountsFromZero();
};

void PlaybackMediaTest::init()
{
    AppDelegateTestAccess::legthTickCount() = 0;
}

void PlaybackMediaTest::loadingHoldsTheMediaWithoutStartingIt()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    const MediaEntry entry = app.add(QStringLiteral("holiday.clip.mp4"), 2500);
    QVERIFY(d->mediaBackgroundImageView()->isVisibleTo(d->userInterfaceWindow()));

    QVERIFY(app.load(0));
    QCOMPARE(app.player()->calls, QStringList{"setMedia " + entry->path});
    QVERIFY(!d->isPlaying());
    QVERIFY(!d->timer()->isCounting());
    // The entry object itself is current, not a copy of its path.
    QCOMPARE(app.access().curMediaPath().get(), entry.get());
    QCOMPARE(d->curMedia()->path(), entry->path);
    // A known length is delivered at once.
    QVERIFY(!app.access().hasPendingLengthPoll());
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:00:02"));
    QCOMPARE(d->mediaProgressSlider()->maximum(), 2);
    QVERIFY(d->mediaProgressSlider()->isEnabled());
    QCOMPARE(app.text(d->mediaName()), QStringLiteral("holiday.clip"));
    QCOMPARE(app.access().curMediaLength().intValue(), 2500);
    QVERIFY(d->mediaBackgroundImageView()->isHidden());
    QCOMPARE(app.player()->audio()->volume(), d->volumeSlider()->value());
}

void PlaybackMediaTest::loadingAMissingFileAnswersNo()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    const MediaEntry entry = app.add(QStringLiteral("gone.mp4"), 4000);
    QVERIFY(QFile::remove(entry->path));
    d->spentTimeLabel()->setText(QStringLiteral("00:00:07"));
    d->totalTimeLabel()->setText(QStringLiteral("00:01:00"));
    d->remainingTimeLabel()->setText(QStringLiteral("00:00:53"));

    QVERIFY(!app.load(0));
    QVERIFY(app.player()->calls.isEmpty());
    QVERIFY(!d->curMedia());
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:00:00"));
    QCOMPARE(app.text(d->remainingTimeLabel()), QStringLiteral("00:00:00"));
    QCOMPARE(app.text(d->spentTimeLabel()), QStringLiteral("00:00:07"));
}

void PlaybackMediaTest::mediaOf2500MsEndsOnTheThirdTick()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("short.mp4"), 2500);
    QVERIFY(app.loadAndPlay(0));

    app.tick();
    QCOMPARE(app.text(d->spentTimeLabel()), QStringLiteral("00:00:01"));
    QCOMPARE(app.text(d->remainingTimeLabel()), QStringLiteral("00:00:01"));
    QCOMPARE(d->mediaProgressSlider()->value(), 1);
    app.tick();
    // 500 ms are left: more than the 60 ms that count as the end.
    QVERIFY(d->isPlaying());
    QCOMPARE(app.text(d->remainingTimeLabel()), QStringLiteral("00:00:00"));
    QCOMPARE(d->mediaProgressSlider()->value(), 2);

    app.tick();
    QVERIFY(!d->isPlaying());
    QCOMPARE(d->mediaIndex(), -1);
    QCOMPARE(d->timer()->getSpentTimeUint(), 0u);
    QVERIFY(!d->timer()->isCounting());
    QCOMPARE(app.player()->calls.mid(2), QStringList({"stop", "setMedia nil"}));
}

void PlaybackMediaTest::endComesAtTheFirstTickPastTheLength_data()
{
    QTest::addColumn<int>("lengthMs");
    QTest::addColumn<uint>("endSeconds");
    QTest::addRow("125,000 ms ends at 125 s") << 125000 << 125u;
    QTest::addRow("125,400 ms ends at 126 s") << 125400 << 126u;
    QTest::addRow("125,059 ms ends at 125 s, 59 ms before its end") << 125059 << 125u;
    QTest::addRow("125,060 ms plays on at 125 s, 60 ms before its end") << 125060 << 126u;
}

void PlaybackMediaTest::endComesAtTheFirstTickPastTheLength()
{
    QFETCH(int, lengthMs);
    QFETCH(uint, endSeconds);
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("long.mkv"), lengthMs);
    QVERIFY(app.loadAndPlay(0));
    d->timer()->setTime(endSeconds - 2);
    app.tick();
    QVERIFY(d->isPlaying());
    QCOMPARE(d->mediaProgressSlider()->value(), int(endSeconds - 1));
    app.tick();
    QVERIFY(!d->isPlaying());
    QCOMPARE(d->mediaIndex(), -1);
}

void PlaybackMediaTest::endOfTheLastVisibleEntryLeavesNoCurrentEntry()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("a.mp4"), 1000);
    QVERIFY(app.loadAndPlay(0));
    app.tick();
    QCOMPARE(d->mediaIndex(), -1);
    QVERIFY(d->mediaBackgroundImageView()->isVisibleTo(d->userInterfaceWindow()));
    QVERIFY(!d->mediaProgressSlider()->isEnabled());
    QCOMPARE(app.text(d->mediaName()), QString());
    QCOMPARE(app.text(d->spentTimeLabel()), QStringLiteral("00:00:00"));
    QCOMPARE(d->mediaPlaylist()->size(), 1);
    // The controls are inactive again.
    d->playPauseButtonClick(nullptr);
    QVERIFY(!d->isPlaying());
}

void PlaybackMediaTest::endMovesOnToTheNextVisibleEntry()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("first.mp4"), 1000);
    const MediaEntry second = app.add(QStringLiteral("second.mp4"), 3000);
    QVERIFY(app.loadAndPlay(0));
    app.tick();
    QCOMPARE(d->mediaIndex(), 1);
    QVERIFY(d->isPlaying());
    QCOMPARE(app.player()->calls.mid(2),
             QStringList({"stop", "setMedia nil", "setMedia " + second->path, "play"}));
    // The new media counts from zero.
    QCOMPARE(d->timer()->getSpentTimeUint(), 0u);
    QVERIFY(d->timer()->isCounting());
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:00:03"));
}

void PlaybackMediaTest::lengthNeverReportedIsDeliveredAsZeroAfter12Polls()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("mystery.mp4"));
    d->totalTimeLabel()->setText(QStringLiteral("09:09:09"));
    QVERIFY(app.loadAndPlay(0));

    // The first poll ran at load; eleven more follow, one every 0.2 s.
    int polls = 1;
    while (app.access().hasPendingLengthPoll() && polls < 20) {
        QCOMPARE(AppDelegateTestAccess::legthTickCount(), int64_t(polls));
        app.access().runPendingLengthPoll();
        ++polls;
    }
    QCOMPARE(polls, 12);
    QCOMPARE(AppDelegateTestAccess::legthTickCount(), int64_t(0));
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:00:00"));
    QCOMPARE(d->mediaProgressSlider()->maximum(), 0);
    QCOMPARE(app.text(d->mediaName()), QStringLiteral("mystery"));

    // It never ends by itself: the count goes on until the user acts.
    app.tick(30);
    QVERIFY(d->isPlaying());
    QCOMPARE(d->mediaIndex(), 0);
    QCOMPARE(app.text(d->spentTimeLabel()), QStringLiteral("00:00:30"));
    QCOMPARE(app.text(d->remainingTimeLabel()), QStringLiteral("00:00:00"));
}

void PlaybackMediaTest::lengthArrivingDuringThePollsIsDelivered()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("slow.mp4"));
    QVERIFY(app.load(0));
    app.access().runPendingLengthPoll();
    app.access().runPendingLengthPoll();
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:00:00"));
    fakeMedia(d)->setLength(VLCTime(61500));
    app.access().runPendingLengthPoll();
    QVERIFY(!app.access().hasPendingLengthPoll());
    QCOMPARE(AppDelegateTestAccess::legthTickCount(), int64_t(0));
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:01:01"));
    QCOMPARE(d->mediaProgressSlider()->maximum(), 61);
    QCOMPARE(app.access().curMediaLength().intValue(), 61500);
}

void PlaybackMediaTest::pollsRunByThemselvesEveryFifthOfASecond()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("unknown.mp4"));
    d->totalTimeLabel()->setText(QStringLiteral("09:09:09"));
    QElapsedTimer elapsed;
    elapsed.start();
    QVERIFY(app.load(0));
    QTRY_VERIFY_WITH_TIMEOUT(!app.access().hasPendingLengthPoll(), 5000);
    // Eleven waits of 0.2 s between twelve polls.
    QVERIFY2(elapsed.elapsed() >= 2100 && elapsed.elapsed() < 4000,
             qPrintable(QString::number(elapsed.elapsed())));
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:00:00"));
}

void PlaybackMediaTest::newerMediaTakesOverAPendingPoll()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("unknown.mp4"));
    app.add(QStringLiteral("known.mp4"), 7000);
    QVERIFY(app.load(0));
    app.access().runPendingLengthPoll();
    QVERIFY(app.access().hasPendingLengthPoll());

    QVERIFY(app.load(1));
    // Delivered at once for the newer media, and no older poll is left to
    // deliver it again or to go on counting.
    QVERIFY(!app.access().hasPendingLengthPoll());
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:00:07"));
    QCOMPARE(AppDelegateTestAccess::legthTickCount(), int64_t(0));
    d->totalTimeLabel()->setText(QStringLiteral("changed"));
    QTest::qWait(500);
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("changed"));
}

void PlaybackMediaTest::deliveryAfterTheEntryIsGoneShowsNothing()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("removed.mp4"));
    QVERIFY(app.load(0));
    // The entry stops being current while its length is still polled.
    app.access().mediaIndex() = -1;
    d->mediaProgressSlider()->setEnabled(false);
    fakeMedia(d)->setLength(VLCTime(90000));
    app.access().runPendingLengthPoll();
    QVERIFY(!app.access().hasPendingLengthPoll());
    QCOMPARE(AppDelegateTestAccess::legthTickCount(), int64_t(0));
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:00:00"));
    QCOMPARE(app.text(d->mediaName()), QString());
    QVERIFY(!d->mediaProgressSlider()->isEnabled());
    QCOMPARE(d->mediaIndex(), -1);
}

void PlaybackMediaTest::deliveryForAnEntryFilteredOutOfView()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("alpha.mp4"));
    app.add(QStringLiteral("beta.mp4"));
    QVERIFY(app.load(1));
    d->applyFilter(QStringLiteral("alp"));
    QCOMPARE(app.access().visibleMediaPlaylist()->size(), 1);
    fakeMedia(d)->setLength(VLCTime(5000));
    app.access().runPendingLengthPoll();
    // No row to select, and the rest of the delivery still applies.
    QCOMPARE(app.text(d->totalTimeLabel()), QStringLiteral("00:00:05"));
    QCOMPARE(app.text(d->mediaName()), QStringLiteral("beta"));
    QCOMPARE(d->mediaProgressSlider()->maximum(), 5);
    QCOMPARE(app.access().visibleMediaPlaylist()->size(), 1);
}

void PlaybackMediaTest::remainingTimeNeverGoesBelowZero()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("three.mp4"), 3000);
    QVERIFY(app.load(0));
    d->timer()->setTime(2);
    d->refreshLabels();
    QCOMPARE(app.text(d->remainingTimeLabel()), QStringLiteral("00:00:01"));
    d->timer()->setTime(10);
    d->refreshLabels();
    QCOMPARE(app.text(d->spentTimeLabel()), QStringLiteral("00:00:10"));
    QCOMPARE(app.text(d->remainingTimeLabel()), QStringLiteral("00:00:00"));
}

void PlaybackMediaTest::pauseAndResumeContinueTheCount()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("movie.mp4"), 60000);
    QVERIFY(app.loadAndPlay(0));
    app.tick(2);
    d->playPauseButtonClick(nullptr);
    QVERIFY(!d->isPlaying());
    QVERIFY(!d->timer()->isCounting());
    QCOMPARE(d->timer()->getSpentTimeUint(), 2u);
    d->playPauseButtonClick(nullptr);
    QVERIFY(d->timer()->isCounting());
    app.tick();
    QCOMPARE(app.text(d->spentTimeLabel()), QStringLiteral("00:00:03"));
    QCOMPARE(app.text(d->remainingTimeLabel()), QStringLiteral("00:00:57"));
    QCOMPARE(app.player()->calls.mid(1), QStringList({"play", "pause", "play"}));
}

void PlaybackMediaTest::loadingAnotherMediaCountsFromZero()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("one.mp4"), 60000);
    app.add(QStringLiteral("two.mp4"), 60000);
    QVERIFY(app.loadAndPlay(0));
    app.tick(5);
    d->clearPlayer();
    QVERIFY(app.load(1));
    QCOMPARE(d->timer()->getSpentTimeUint(), 0u);
    QVERIFY(!d->timer()->isCounting());
}

QTEST_MAIN(PlaybackMediaTest)
#include "tst_playbackmedia.moc"
