// The playlist on the stand-in engine: additions with their previews, lengths
// and alerts, the filter, identity of entries, removal of a row, and what
// happens while an addition waits for a thumbnail.
#include "LaunchedApp.h"

#include <QAbstractEventDispatcher>
#include <QMessageBox>
#include <QScopeGuard>
#include <QtTest>

namespace {

QStringList pathsOf(const MediaListRef &list)
{
    QStringList paths;
    if (list) {
        for (const MediaEntry &entry : *list)
            paths.append(entry->path);
    }
    return paths;
}

QList<QMessageBox *> openSheets(QWidget *window)
{
    QList<QMessageBox *> sheets;
    for (QMessageBox *box : window->findChildren<QMessageBox *>()) {
        if (box->isVisible())
            sheets.append(box);
    }
    return sheets;
}

// Clicks through the sheets as they open; their informative texts, in order.
QStringList acknowledgeSheets(QWidget *window)
{
    QStringList texts;
    while (QMessageBox *sheet = openSheets(window).value(0)) {
        texts.append(sheet->informativeText());
        sheet->buttons().first()->click();
    }
    return texts;
}

// Answers the fetches still held after five seconds, so that a fault fails
// the test instead of hanging it.
struct HeldThumbnailsLimit {
    explicit HeldThumbnailsLimit(FakeMediaBackend &backend)
    {
        backend.setThumbnailsHeld(true);
        QTimer::singleShot(5000, &context, [&backend] {
            backend.setThumbnailsHeld(false);
            backend.answerHeldThumbnails();
        });
    }
    QObject context;
};

} // namespace

class PlaylistTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void emptyAdditionAppendsNothing();
    void unsupportedPathIsRefusedAndTheRestAppendedInOrder();
    void threeUnsupportedPathsGiveThreeAlertsInOrder();
    void videoWithoutThumbnailIsLeftOutSilently();
    void nothingAppendedAnswersNo_data();
    void nothingAppendedAnswersNo();
    void lengthsAreKeptWithEachEntry();
    void sameFileTwiceIsTwoEntries();
    void filter_data();
    void filter();
    void filterFollowsOnlyTheUsersEdits();
    void filteredViewIsASnapshotUntilRebuilt();
    void droppingTheFilterShowsEverything();

    void waitTurnsTheEventLoopWithoutSpinning();
    void additionDuringAWaitRunsAfterIt();
    void additionsAskedForBetweenQueuedOnesKeepTheirOrder();
    void progressShowsWhileSeveralFilesAreAdded();
    void progressStaysHiddenForOneFile();
    void userActionsDuringAWaitKeepTheLists();

    void removal_data();
    void removal();
    void removingTheCurrentEntryStopsPlayback();
    void removalWithAFilterKeepsTheFilter();
    void removingOneOfTwoDuplicatesKeepsTheOther();
    void removeWithoutSelectionDoesNothing();

private:
    AppDelegate *d() const { return _app->appDelegate; }
    AppDelegateTestAccess access() const { return _app->access(); }
    // Appends the paths and checks that the addition ended in one answer.
    void append(const QStringList &paths);

    std::unique_ptr<LaunchedApp> _app;
};

void PlaylistTest::init()
{
    _app = std::make_unique<LaunchedApp>();
    QVERIFY(_app->launch());
}

void PlaylistTest::cleanup()
{
    _app.reset();
}

void PlaylistTest::append(const QStringList &paths)
{
    int answers = 0;
    d()->appendPlaylistWithoutDublicates(paths, [&](const MediaEntry &) { ++answers; });
    QCOMPARE(answers, 1);
}

void PlaylistTest::emptyAdditionAppendsNothing()
{
    bool told = false;
    MediaEntry first = std::make_shared<PlaylistEntry>();
    QVERIFY(!d()->appendPlaylistWithoutDublicates({}, [&](const MediaEntry &entry) {
        told = true;
        first = entry;
    }));
    QVERIFY(told);
    QVERIFY(!first);
    QVERIFY(d()->mediaPlaylist()->isEmpty());
    QVERIFY(openSheets(_app->mainWindow()).isEmpty());
}

void PlaylistTest::unsupportedPathIsRefusedAndTheRestAppendedInOrder()
{
    MediaEntry first;
    QVERIFY(d()->appendPlaylistWithoutDublicates(
        {"/media/clip.mkv", "/media/notes.txt", "/media/song.mp3"},
        [&](const MediaEntry &entry) { first = entry; }));

    QCOMPARE(pathsOf(d()->mediaPlaylist()), QStringList({"/media/clip.mkv", "/media/song.mp3"}));
    QCOMPARE(first, d()->mediaPlaylist()->at(0));
    // The video carries its thumbnail, the audio file the null marker and no fetch.
    QCOMPARE(d()->mediaPreviews()->size(), 2);
    QVERIFY(d()->mediaPreviews()->at(0));
    QCOMPARE(d()->mediaPreviews()->at(0)->size(), QSize(320, 180));
    QVERIFY(!d()->mediaPreviews()->at(1));
    QCOMPARE(_app->backend.thumbnailsFetched, QStringList{"/media/clip.mkv"});
    QCOMPARE(acknowledgeSheets(_app->mainWindow()), QStringList{"/media/notes.txt"});
}

void PlaylistTest::threeUnsupportedPathsGiveThreeAlertsInOrder()
{
    const QStringList paths = {"/media/a.txt", "/media/b.pdf", "/media/c.swf"};
    QVERIFY(!d()->appendPlaylistWithoutDublicates(paths));
    QCOMPARE(openSheets(_app->mainWindow()).size(), 1);
    QCOMPARE(acknowledgeSheets(_app->mainWindow()), paths);
    QVERIFY(d()->mediaPlaylist()->isEmpty());
}

void PlaylistTest::videoWithoutThumbnailIsLeftOutSilently()
{
    _app->backend.setThumbnailFails("/media/broken.mp4");
    QVERIFY(d()->appendPlaylistWithoutDublicates(
        {"/media/one.mp4", "/media/broken.mp4", "/media/two.mp4"}));
    QCOMPARE(pathsOf(d()->mediaPlaylist()), QStringList({"/media/one.mp4", "/media/two.mp4"}));
    QCOMPARE(_app->backend.thumbnailsFetched,
             QStringList({"/media/one.mp4", "/media/broken.mp4", "/media/two.mp4"}));
    QVERIFY(openSheets(_app->mainWindow()).isEmpty());
    // The time-out's answer does not linger for the next fetch.
    QCOMPARE(d()->thumbSemphore()->available(), 0);
}

void PlaylistTest::nothingAppendedAnswersNo_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("alerts");
    QTest::addRow("only an unsupported file") << QStringList{"/media/notes.txt"} << 1;
    QTest::addRow("only a video without thumbnail") << QStringList{"/media/broken.mp4"} << 0;
}

void PlaylistTest::nothingAppendedAnswersNo()
{
    QFETCH(QStringList, paths);
    QFETCH(int, alerts);
    _app->backend.setThumbnailFails("/media/broken.mp4");
    MediaEntry first = std::make_shared<PlaylistEntry>();
    QVERIFY(!d()->appendPlaylistWithoutDublicates(paths,
                                                  [&](const MediaEntry &entry) { first = entry; }));
    QVERIFY(!first);
    QVERIFY(d()->mediaPlaylist()->isEmpty());
    QVERIFY(d()->mediaPreviews()->isEmpty());
    QCOMPARE(acknowledgeSheets(_app->mainWindow()).size(), alerts);
}

void PlaylistTest::lengthsAreKeptWithEachEntry()
{
    _app->backend.setLength("/media/clip.mkv", VLCTime(2500));
    _app->backend.setLength("/media/song.mp3", VLCTime(61000));
    append({"/media/clip.mkv", "/media/song.mp3", "/media/silent.wav"});
    const MediaList &entries = *d()->mediaPlaylist();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0]->length.intValue(), 2500);
    QCOMPARE(entries[1]->length.intValue(), 61000);
    QVERIFY(!entries[2]->length.isKnown());
    QCOMPARE(entries[2]->length.stringValue(), QStringLiteral("00:00"));
}

void PlaylistTest::sameFileTwiceIsTwoEntries()
{
    append({"/media/twice.mkv", "/media/other.mp3", "/media/twice.mkv"});
    append({"/media/twice.mkv"});
    const MediaListRef full = d()->mediaPlaylist();
    QCOMPARE(pathsOf(full), QStringList({"/media/twice.mkv", "/media/other.mp3", "/media/twice.mkv",
                                         "/media/twice.mkv"}));
    QVERIFY(full->at(0) != full->at(2));
    QVERIFY(full->at(2) != full->at(3));
    for (qsizetype i = 0; i < full->size(); ++i)
        QCOMPARE(AppDelegate::indexOfObjectInArray(full->at(i), full), i);
    // An equal entry that is not in the list is not found.
    const auto copy = std::make_shared<PlaylistEntry>(*full->at(0));
    QCOMPARE(AppDelegate::indexOfObjectInArray(copy, full), AppDelegate::NSNotFound);

    d()->applyFilter("twice");
    const MediaListRef visible = access().visibleMediaPlaylist();
    QCOMPARE(visible->size(), 3);
    QCOMPARE(AppDelegate::indexOfObjectInArray(visible->at(1), full), 2);
    QCOMPARE(AppDelegate::indexOfObjectInArray(full->at(3), visible), 2);
    QCOMPARE(AppDelegate::indexOfObjectInArray(full->at(1), visible), AppDelegate::NSNotFound);
}

void PlaylistTest::filter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("visible");
    // The playlist of every row.
    const QString abc = "/media/abc/My ABC clip.mkv";
    const QString clip = "/media/abc/clip.mkv";
    const QString demo = "/media/mkv demo.avi";
    const QString song = "/media/NoSpaces.mp3";
    QTest::addRow("lower case finds upper case") << "abc" << QStringList{abc};
    QTest::addRow("upper case gives the same rows") << "ABC" << QStringList{abc};
    QTest::addRow("mixed case too") << "aBc" << QStringList{abc};
    QTest::addRow("the extension is not searched") << "mkv" << QStringList{demo};
    QTest::addRow("the dot before the extension is not searched") << "clip." << QStringList{};
    QTest::addRow("the folder is not searched") << "media" << QStringList{};
    QTest::addRow("a single space finds names with a space") << " " << QStringList{abc, demo};
    QTest::addRow("spaces are part of the text") << "c c" << QStringList{abc};
    QTest::addRow("no match shows nothing") << "zzz" << QStringList{};
    QTest::addRow("empty text shows everything") << "" << QStringList{abc, clip, demo, song};
}

void PlaylistTest::filter()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, visible);
    append({"/media/abc/My ABC clip.mkv", "/media/abc/clip.mkv", "/media/mkv demo.avi",
            "/media/NoSpaces.mp3"});
    QSignalSpy reloaded(d(), &AppDelegate::playlistReloaded);
    d()->applyFilter(filter);
    QCOMPARE(reloaded.size(), 1);
    QCOMPARE(pathsOf(access().visibleMediaPlaylist()), visible);
    // Previews stay paired with their entries.
    const MediaListRef shown = access().visibleMediaPlaylist();
    QCOMPARE(access().visibleMediaPreviews()->size(), shown->size());
    for (qsizetype j = 0; j < shown->size(); ++j) {
        const int64_t i = AppDelegate::indexOfObjectInArray(shown->at(j), d()->mediaPlaylist());
        QCOMPARE(access().visibleMediaPreviews()->at(j), d()->mediaPreviews()->at(i));
    }
    // Only an empty text shares the full lists; any other text makes new ones.
    QCOMPARE(shown == d()->mediaPlaylist(), filter.isEmpty());
    QCOMPARE(access().visibleMediaPreviews() == d()->mediaPreviews(), filter.isEmpty());
}

void PlaylistTest::filterFollowsOnlyTheUsersEdits()
{
    append({"/media/alpha.mkv", "/media/beta.mkv"});
    d()->dropFilter();
    QLineEdit *field = access().filterTextField();
    d()->playlistView()->show();
    QTest::keyClicks(field, "alp");
    QCOMPARE(pathsOf(access().visibleMediaPlaylist()), QStringList{"/media/alpha.mkv"});
    // Text set by the program is no edit of the user's.
    field->setText("beta");
    QCOMPARE(pathsOf(access().visibleMediaPlaylist()), QStringList{"/media/alpha.mkv"});
}

void PlaylistTest::filteredViewIsASnapshotUntilRebuilt()
{
    append({"/media/alpha.mkv"});
    d()->applyFilter("a");
    append({"/media/another.mkv"});
    QCOMPARE(pathsOf(access().visibleMediaPlaylist()), QStringList{"/media/alpha.mkv"});
    d()->applyFilter("a");
    QCOMPARE(pathsOf(access().visibleMediaPlaylist()),
             QStringList({"/media/alpha.mkv", "/media/another.mkv"}));
    // Without a filter the table's lists are the full lists: appends show at once.
    d()->applyFilter("");
    append({"/media/third.mkv"});
    QCOMPARE(access().visibleMediaPlaylist()->size(), 3);
    QCOMPARE(access().visibleMediaPreviews()->size(), 3);
}

void PlaylistTest::droppingTheFilterShowsEverything()
{
    append({"/media/alpha.mkv", "/media/beta.mkv"});
    QLineEdit *field = access().filterTextField();
    d()->playlistView()->show();
    QTest::keyClicks(field, "beta");
    QCOMPARE(access().visibleMediaPlaylist()->size(), 1);
    // What the adding callers do after a successful addition.
    bool appended = d()->appendPlaylistWithoutDublicates({"/media/gamma.mkv"});
    QVERIFY(appended);
    d()->dropFilter();
    QCOMPARE(field->text(), QString());
    QCOMPARE(access().visibleMediaPlaylist(), d()->mediaPlaylist());
    QCOMPARE(access().visibleMediaPreviews(), d()->mediaPreviews());
}

void PlaylistTest::waitTurnsTheEventLoopWithoutSpinning()
{
    HeldThumbnailsLimit limit(_app->backend);
    QTimer ticker;
    int ticks = 0;
    connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    // Counts how often the event loop wakes up: a loop that polls wakes
    // without pause, one that sleeps only for its timers and the answer.
    int wakeUps = 0;
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    const auto counting = connect(dispatcher, &QAbstractEventDispatcher::awake, [&] { ++wakeUps; });
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(300, [&] { _app->backend.answerHeldThumbnails(); });

    QVERIFY(d()->appendPlaylistWithoutDublicates({"/media/slow.mkv"}));
    disconnect(counting);

    QVERIFY(clock.elapsed() >= 300);
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    QVERIFY2(wakeUps < 20 * ticks + 100, qPrintable(QString::number(wakeUps)));
    QCOMPARE(pathsOf(d()->mediaPlaylist()), QStringList{"/media/slow.mkv"});
}

void PlaylistTest::additionDuringAWaitRunsAfterIt()
{
    HeldThumbnailsLimit limit(_app->backend);
    QStringList told;
    bool secondAnswer = true;
    QStringList listDuringWait;
    QTimer::singleShot(0, [&] {
        auto answer = qScopeGuard([&] {
            _app->backend.setThumbnailsHeld(false);
            _app->backend.answerHeldThumbnails();
        });
        // A drop while the first addition waits for its thumbnail.
        secondAnswer = d()->appendPlaylistWithoutDublicates(
            {"/media/third.mp3", "/media/fourth.mkv"},
            [&](const MediaEntry &first) { told.append(first ? first->path : "none"); });
        listDuringWait = pathsOf(d()->mediaPlaylist());
    });

    QVERIFY(d()->appendPlaylistWithoutDublicates(
        {"/media/first.mkv", "/media/second.mkv"},
        [&](const MediaEntry &first) { told.append(first ? first->path : "none"); }));
    // The second was queued: it answered NO at once, appended nothing while
    // the first ran, and has not run when the first returns.
    QVERIFY(!secondAnswer);
    QVERIFY(listDuringWait.isEmpty());
    QCOMPARE(pathsOf(d()->mediaPlaylist()), QStringList({"/media/first.mkv", "/media/second.mkv"}));
    QCOMPARE(told, QStringList{"/media/first.mkv"});

    QTRY_COMPARE(told, QStringList({"/media/first.mkv", "/media/third.mp3"}));
    QCOMPARE(pathsOf(d()->mediaPlaylist()), QStringList({"/media/first.mkv", "/media/second.mkv",
                                                         "/media/third.mp3", "/media/fourth.mkv"}));
    QCOMPARE(d()->mediaPreviews()->size(), 4);
    // One fetch at a time, in order.
    QCOMPARE(_app->backend.thumbnailsFetched,
             QStringList({"/media/first.mkv", "/media/second.mkv", "/media/fourth.mkv"}));
}

void PlaylistTest::additionsAskedForBetweenQueuedOnesKeepTheirOrder()
{
    HeldThumbnailsLimit limit(_app->backend);
    QTimer::singleShot(0, [&] {
        auto answer = qScopeGuard([&] {
            _app->backend.setThumbnailsHeld(false);
            _app->backend.answerHeldThumbnails();
        });
        d()->appendPlaylistWithoutDublicates({"/media/2.mkv"});
    });
    QVERIFY(d()->appendPlaylistWithoutDublicates({"/media/1.mkv"}));
    // Asked for after the first returned, before the queued one ran: it
    // must not overtake it.
    QVERIFY(!d()->appendPlaylistWithoutDublicates({"/media/3.mkv"}));
    QTRY_COMPARE(d()->mediaPlaylist()->size(), 3);
    QCOMPARE(pathsOf(d()->mediaPlaylist()),
             QStringList({"/media/1.mkv", "/media/2.mkv", "/media/3.mkv"}));
}

void PlaylistTest::progressShowsWhileSeveralFilesAreAdded()
{
    QStatusBar *status = access().additionStatusBar();
    QVERIFY(status);
    QVERIFY(!status->isVisible());
    HeldThumbnailsLimit limit(_app->backend);
    QStringList seen;
    // Each time a fetch is held, note the progress and let it go on.
    QTimer answering;
    connect(&answering, &QTimer::timeout, [&] {
        if (_app->backend.heldThumbnailCount() == 0)
            return;
        seen.append(status->isVisible() ? status->currentMessage() : QString("hidden"));
        _app->backend.answerHeldThumbnails();
    });
    answering.start(1);
    QVERIFY(d()->appendPlaylistWithoutDublicates(
        {"/media/1.mkv", "/media/notes.txt", "/media/3.mkv", "/media/4.mkv"}));
    QCOMPARE(seen, QStringList({"Adding 1 of 4", "Adding 3 of 4", "Adding 4 of 4"}));
    QVERIFY(!status->isVisible());
    acknowledgeSheets(_app->mainWindow());
}

void PlaylistTest::progressStaysHiddenForOneFile()
{
    QStatusBar *status = access().additionStatusBar();
    HeldThumbnailsLimit limit(_app->backend);
    bool shownDuringWait = true;
    QTimer::singleShot(0, [&] {
        shownDuringWait = status->isVisible();
        _app->backend.answerHeldThumbnails();
    });
    QVERIFY(d()->appendPlaylistWithoutDublicates({"/media/only.mkv"}));
    QVERIFY(!shownDuringWait);
    QVERIFY(!status->isVisible());
}

void PlaylistTest::userActionsDuringAWaitKeepTheLists()
{
    append({"/media/a.mkv", "/media/b.mkv", "/media/c.mkv"});
    d()->dropFilter();
    const MediaEntry c = d()->mediaPlaylist()->at(2);
    access().mediaIndex() = 2;
    HeldThumbnailsLimit limit(_app->backend);
    QTimer::singleShot(0, [&] {
        auto answer = qScopeGuard([&] {
            _app->backend.setThumbnailsHeld(false);
            _app->backend.answerHeldThumbnails();
        });
        // While the thumbnail of d.mkv is awaited: remove a row before the
        // current entry, then filter.
        access().removeVisibleRow(0);
        QCOMPARE(d()->mediaIndex(), 1);
        d()->applyFilter("c");
    });
    QVERIFY(d()->appendPlaylistWithoutDublicates({"/media/d.mkv", "/media/e.mp3"}));
    QCOMPARE(pathsOf(d()->mediaPlaylist()),
             QStringList({"/media/b.mkv", "/media/c.mkv", "/media/d.mkv", "/media/e.mp3"}));
    QCOMPARE(d()->mediaPreviews()->size(), 4);
    QCOMPARE(d()->mediaPlaylist()->at(d()->mediaIndex()), c);
    QCOMPARE(pathsOf(access().visibleMediaPlaylist()), QStringList{"/media/c.mkv"});
}

void PlaylistTest::removal_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("currentAfter");
    QTest::addRow("before the current entry: the index follows it") << 2 << 0 << 1;
    QTest::addRow("after the current entry: the index stays") << 0 << 2 << 0;
    QTest::addRow("without a current entry") << -1 << 1 << -1;
    QTest::addRow("a row that does not exist") << 1 << 3 << 1;
}

void PlaylistTest::removal()
{
    QFETCH(int, current);
    QFETCH(int, row);
    QFETCH(int, currentAfter);
    append({"/media/a.mkv", "/media/b.mp3", "/media/c.mkv"});
    d()->dropFilter();
    const MediaListRef before = std::make_shared<MediaList>(*d()->mediaPlaylist());
    access().mediaIndex() = current;
    access().removeVisibleRow(row);

    MediaList expected = *before;
    if (row < expected.size())
        expected.removeAt(row);
    QCOMPARE(*d()->mediaPlaylist(), expected);
    QCOMPARE(d()->mediaPreviews()->size(), expected.size());
    QCOMPARE(d()->mediaIndex(), currentAfter);
    if (current >= 0 && currentAfter >= 0)
        QCOMPARE(d()->mediaPlaylist()->at(currentAfter), before->at(current));
    QVERIFY(_app->player()->calls.isEmpty());
}

void PlaylistTest::removingTheCurrentEntryStopsPlayback()
{
    append({"/media/a.mkv", "/media/b.mkv"});
    d()->dropFilter();
    access().mediaIndex() = 1;
    access().isPlaying() = true;
    d()->mediaBackgroundImageView()->setHidden(true);
    d()->mediaName()->setText("b");
    access().removeVisibleRow(1);

    QCOMPARE(d()->mediaIndex(), -1);
    QCOMPARE(pathsOf(d()->mediaPlaylist()), QStringList{"/media/a.mkv"});
    QCOMPARE(_app->player()->calls.mid(0, 2), QStringList({"stop", "setMedia nil"}));
    QVERIFY(!d()->isPlaying());
    QVERIFY(!d()->mediaBackgroundImageView()->isHidden());
    QVERIFY(!d()->mediaProgressSlider()->isEnabled());
    QCOMPARE(d()->mediaName()->text(), QString());
    QCOMPARE(d()->timer()->getSpentTimeUint(), 0u);
}

void PlaylistTest::removalWithAFilterKeepsTheFilter()
{
    append({"/media/clip one.mkv", "/media/clip two.mkv", "/media/other.mkv"});
    d()->dropFilter();
    d()->playlistView()->show();
    QTest::keyClicks(access().filterTextField(), "clip");
    QCOMPARE(access().visibleMediaPlaylist()->size(), 2);
    access().removeVisibleRow(0);
    QCOMPARE(access().filterTextField()->text(), QStringLiteral("clip"));
    QCOMPARE(pathsOf(access().visibleMediaPlaylist()), QStringList{"/media/clip two.mkv"});
    QCOMPARE(pathsOf(d()->mediaPlaylist()),
             QStringList({"/media/clip two.mkv", "/media/other.mkv"}));
}

void PlaylistTest::removingOneOfTwoDuplicatesKeepsTheOther()
{
    append({"/media/same.mkv", "/media/same.mkv"});
    d()->dropFilter();
    const MediaEntry second = d()->mediaPlaylist()->at(1);
    const MediaPreview secondPreview = d()->mediaPreviews()->at(1);
    access().mediaIndex() = 1;
    access().removeVisibleRow(0);
    QCOMPARE(d()->mediaPlaylist()->size(), 1);
    QCOMPARE(d()->mediaPlaylist()->at(0), second);
    QCOMPARE(d()->mediaPreviews()->at(0), secondPreview);
    QCOMPARE(d()->mediaIndex(), 0);
}

void PlaylistTest::removeWithoutSelectionDoesNothing()
{
    append({"/media/a.mkv"});
    d()->dropFilter();
    d()->removeMediaButtonClick();
    QCOMPARE(d()->mediaPlaylist()->size(), 1);
}

QTEST_MAIN(PlaylistTest)
#include "tst_playlist.moc"
