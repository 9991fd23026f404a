// The Playback menu's audio and subtitle items on the stand-in engine: what they list, which
// one is checked, what choosing one tells the player, and that a new media empties them.
#include "PlaybackApp.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

namespace {

const QList<VLCTrack> kAudio = {{1, "Track 1 - [English]"}, {2, "Track 2 - [French]"}};
const QList<VLCTrack> kSubtitles = {{3, "Track 1"}};

// "title" for each item, "*title" for the checked one; "off" when the submenu cannot open.
QString itemsOf(QMenu *menu)
{
    QStringList items;
    for (const QAction *item : menu->actions())
        items << (item->isChecked() ? "*" : "") + item->text();
    return menu->menuAction()->isEnabled() ? items.join('|') : "off " + items.join('|');
}

} // namespace

class TracksMenuTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void itemsFollowTheEngine_data();
    void itemsFollowTheEngine();
    void choosingAnItemSelectsTheTrack_data();
    void choosingAnItemSelectsTheTrack();
    void newMediaEmptiesTheItems();
    void addSubtitleFileHandsTheChosenFileToThePlayer();

private:
    QMenu *menu(const char *name) const { return _app->mainWindow()->findChild<QMenu *>(name); }
    QString audioItems() const { return itemsOf(menu("audioTrackMenu")); }
    QString subtitleItems() const { return itemsOf(menu("subtitlesMenu")); }
    QAction *addSubtitleItem() const
    {
        return _app->mainWindow()->findChild<QAction *>("addSubtitleMenuItem");
    }
    // Loads and plays a new entry; the engine reports the given tracks.
    void play(const QString &name, int audio = VLCNoTrack, int subtitle = VLCNoTrack)
    {
        _app->add(name, 4000);
        QVERIFY(_app->loadAndPlay(_app->appDelegate->mediaPlaylist()->size() - 1));
        _app->player()->reportTracks(VLCTrackKind::Audio, kAudio, audio);
        _app->player()->reportTracks(VLCTrackKind::Subtitle, kSubtitles, subtitle);
    }

    std::unique_ptr<PlaybackApp> _app;
};

void TracksMenuTest::init()
{
    _app = std::make_unique<PlaybackApp>();
    QVERIFY(_app->launch());
}

void TracksMenuTest::itemsFollowTheEngine_data()
{
    QTest::addColumn<bool>("playing");
    QTest::addColumn<int>("audio");
    QTest::addColumn<int>("subtitle");
    QTest::addColumn<QString>("audioItems");
    QTest::addColumn<QString>("subtitleItems");
    QTest::addRow("nothing plays: both submenus empty and off") << false << 0 << 0 << "off "
                                                                << "off ";
    QTest::addRow("the second audio track plays, subtitles off")
        << true << 2 << VLCNoTrack << "Track 1 - [English]|*Track 2 - [French]"
        << "*Off|Track 1";
    QTest::addRow("the first audio track plays, subtitles shown")
        << true << 1 << 3 << "*Track 1 - [English]|Track 2 - [French]"
        << "Off|*Track 1";
}

void TracksMenuTest::itemsFollowTheEngine()
{
    QFETCH(bool, playing);
    QFETCH(int, audio);
    QFETCH(int, subtitle);
    QFETCH(QString, audioItems);
    QFETCH(QString, subtitleItems);
    if (playing)
        play("movie.mkv", audio, subtitle);
    QCOMPARE(this->audioItems(), audioItems);
    QCOMPARE(this->subtitleItems(), subtitleItems);
    QCOMPARE(addSubtitleItem()->isEnabled(), playing);
}

void TracksMenuTest::choosingAnItemSelectsTheTrack_data()
{
    QTest::addColumn<QString>("menuName");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("items");
    QTest::addRow("another audio track") << "audioTrackMenu" << 1 << "setCurrentTrack 0 2"
                                         << "Track 1 - [English]|*Track 2 - [French]";
    QTest::addRow("Off turns the subtitles off") << "subtitlesMenu" << 0 << "setCurrentTrack 1 -1"
                                                 << "*Off|Track 1";
}

void TracksMenuTest::choosingAnItemSelectsTheTrack()
{
    QFETCH(QString, menuName);
    QFETCH(int, item);
    QFETCH(QString, call);
    QFETCH(QString, items);
    play("movie.mkv", 1, 3);
    QMenu *submenu = menu(menuName.toLatin1());
    submenu->actions().at(item)->trigger();
    QCOMPARE(_app->player()->calls.last(), call);
    QCOMPARE(itemsOf(submenu), items);
}

void TracksMenuTest::newMediaEmptiesTheItems()
{
    play("first.mkv", 1, 3);
    _app->add("second.mkv", 4000);
    // The next media has reported nothing yet: nothing of the last one stays.
    QVERIFY(_app->appDelegate->nextMediaButtonClick());
    QCOMPARE(audioItems(), QStringLiteral("off "));
    QCOMPARE(subtitleItems(), QStringLiteral("off "));
    _app->player()->reportTracks(VLCTrackKind::Audio, kAudio, 2);
    QCOMPARE(audioItems(), QStringLiteral("Track 1 - [English]|*Track 2 - [French]"));
    // Played to its end with nothing after it: the player is emptied.
    _app->player()->report(VLCMediaPlayerState::Ended);
    QCOMPARE(audioItems(), QStringLiteral("off "));
    QVERIFY(!addSubtitleItem()->isEnabled());
}

void TracksMenuTest::addSubtitleFileHandsTheChosenFileToThePlayer()
{
    play("movie.mkv");
    const QString subtitle = _app->pathOf("movie.en.srt");
    QFile file(subtitle);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    // Chooses the file in the dialog until it is gone: a choice made while it
    // was still being shown would not end it. Gives up after two seconds.
    int attempts = 0;
    QTimer chooser;
    connect(&chooser, &QTimer::timeout, this, [&] {
        auto *panel = _app->mainWindow()->findChild<QFileDialog *>();
        QDialog *dialog = panel;
        if (!panel)
            return;
        if (++attempts > 200) {
            dialog->done(QDialog::Rejected);
            return;
        }
        // Typed, as selectFile() leaves a focused name field alone.
        panel->findChild<QLineEdit *>("fileNameEdit")->setText(subtitle);
        dialog->accept();
    });
    chooser.start(10);
    addSubtitleItem()->trigger();
    chooser.stop();
    QCOMPARE(_app->player()->calls.last(), "addSubtitleFile " + subtitle);
}

QTEST_MAIN(TracksMenuTest)
#include "tst_tracksmenu.moc"
