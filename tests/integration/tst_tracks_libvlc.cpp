// The Playback menu's tracks on the real engine, with media made by ffmpeg: what it lists,
// switching through it, a subtitle file found beside the video, and one added by hand.
#include "EngineApp.h"
#include "MediaFixtures.h"
#include "media/LibVlcBackend.h"

#include <QMenu>
#include <QtTest>
#include <fstream>
#include <optional>

namespace {

const QByteArray kCues = "1\n00:00:00,000 --> 00:00:20,000\nHello\n";

// "title" for each item, "*title" for the checked one.
QString itemsOf(QMenu *menu)
{
    QStringList items;
    for (const QAction *item : menu->actions())
        items << (item->isChecked() ? "*" : "") + item->text();
    return items.join('|');
}

} // namespace

class TracksEngineTest : public QObject {
    Q_OBJECT

    AppDelegate *d() const { return _app->d; }
    QMenu *menu(const char *name) const { return _app->mainWindow()->findChild<QMenu *>(name); }
    QString audioItems() const { return itemsOf(menu("audioTrackMenu")); }
    QString subtitleItems() const { return itemsOf(menu("subtitlesMenu")); }
    // As a drop on the video area does.
    bool play(const QString &path) { return d()->mediaDragEvent({path}) && d()->isPlaying(); }

    std::unique_ptr<MediaBackend> _backend = createLibVlcBackend();
    std::optional<EngineApp> _app;

private slots:
    void init() { QVERIFY(_app.emplace().launch(_backend.get())); }
    void cleanup() { _app.reset(); }

    void listsAndSwitchesTheMuxedTracks()
    {
        const QString cues = MediaFixtures::file("tracks-cues.srt", kCues);
        const QString movie =
            MediaFixtures::generate("tracks-two-audio.mkv", QStringList{"-f",
                                                                        "lavfi",
                                                                        "-i",
                                                                        "testsrc2=size=160x120",
                                                                        "-f",
                                                                        "lavfi",
                                                                        "-i",
                                                                        "sine=frequency=440",
                                                                        "-f",
                                                                        "lavfi",
                                                                        "-i",
                                                                        "sine=frequency=660",
                                                                        "-i",
                                                                        cues,
                                                                        "-t",
                                                                        "20",
                                                                        "-map",
                                                                        "0",
                                                                        "-map",
                                                                        "1",
                                                                        "-map",
                                                                        "2",
                                                                        "-map",
                                                                        "3",
                                                                        "-pix_fmt",
                                                                        "yuv420p",
                                                                        "-c:v",
                                                                        "libx264",
                                                                        "-preset",
                                                                        "ultrafast",
                                                                        "-c:a",
                                                                        "aac",
                                                                        "-c:s",
                                                                        "srt",
                                                                        "-metadata:s:a:0",
                                                                        "language=eng",
                                                                        "-metadata:s:a:1",
                                                                        "language=fra"});
        QVERIFY(!movie.isEmpty());
        QVERIFY(play(movie));
        QTRY_COMPARE_WITH_TIMEOUT(audioItems(), "*Track 1 - [English]|Track 2 - [French]", 5000);
        QTRY_COMPARE_WITH_TIMEOUT(subtitleItems().count('|'), 1, 2000);

        // Each check moves once the engine has made the change.
        menu("audioTrackMenu")->actions().at(1)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(audioItems(), "Track 1 - [English]|*Track 2 - [French]", 2000);
        menu("subtitlesMenu")->actions().at(1)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(subtitleItems(), "Off|*Track 1", 2000);
        menu("subtitlesMenu")->actions().at(0)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(subtitleItems(), "*Off|Track 1", 2000);
    }

    void picksUpSubtitlesBesideTheVideoAndAddedOnes()
    {
        const QString movie = MediaFixtures::video("tracks-beside.mp4", 20000, 160, 120);
        QVERIFY(!movie.isEmpty());
        QVERIFY(!MediaFixtures::file("tracks-beside.srt", kCues).isEmpty());
        QVERIFY(play(movie));
        // The engine shows a subtitle file of the same name at once.
        QTRY_COMPARE_WITH_TIMEOUT(subtitleItems(), "Off|*Track 1", 5000);

        // A name that is not UTF-8 still reaches the file.
        const QString added = NativePath::fromNative(QFile::encodeName(MediaFixtures::directory()) +
                                                     "/tracks lat\xe9in.srt");
        if (!NativePath::exists(added))
            std::ofstream(NativePath::toNative(added).constData()) << kCues.constData();
        QVERIFY(NativePath::exists(added));
        d()->mediaPlayer()->addSubtitleFile(added);
        QTRY_COMPARE_WITH_TIMEOUT(subtitleItems(), "Off|Track 1|*Track 2", 5000);
    }
};

QTEST_MAIN(TracksEngineTest)
#include "tst_tracks_libvlc.moc"
