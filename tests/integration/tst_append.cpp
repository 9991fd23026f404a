// Additions on the real engine of files that are broken, hostile or oddly
// named: each is appended or left out, never a crash, a hang, an alert or a
// lost neighbour.
#include "EngineApp.h"
#include "MediaFixtures.h"
#include "Slowdown.h"
#include "media/LibVlcBackend.h"
#include "media/NativePath.h"

#include <QMessageBox>
#include <QtTest>
#include <optional>
#include <unistd.h>

namespace {

enum class Outcome { Appended, LeftOut, EitherWay };

QStringList pathsOf(const MediaListRef &list)
{
    QStringList paths;
    for (const MediaEntry &entry : *list)
        paths.append(entry->path);
    return paths;
}

bool hardLink(const QString &target, const QByteArray &link)
{
    return ::link(QFile::encodeName(target).constData(), link.constData()) == 0;
}

} // namespace

class AppendTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MediaBackend> _backend = createLibVlcBackend();
    std::optional<EngineApp> _app;
    QTemporaryDir _folder;
    QString _clip = MediaFixtures::video("append-clip-2000.mp4", 2000);
    QString _otherClip = MediaFixtures::video("append-other-2000.mkv", 2000);
    QString _sparse;
    QByteArray _notUtf8;

    void appendBetweenClips(const QString &path, Outcome outcome)
    {
        QVERIFY(!path.isEmpty());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(_app->d->appendPlaylistWithoutDublicates({_clip, path, _otherClip}));
        // Within the thumbnailer's own bound for each of the three, with room.
        QVERIFY2(clock.elapsed() < 35000, QByteArray::number(clock.elapsed()));
        const QStringList paths = pathsOf(_app->d->mediaPlaylist());
        if (outcome != Outcome::EitherWay)
            QCOMPARE(paths.size() == 3, outcome == Outcome::Appended);
        QCOMPARE(paths, paths.size() == 3 ? QStringList({_clip, path, _otherClip})
                                          : QStringList({_clip, _otherClip}));
        QCOMPARE(_app->d->mediaPreviews()->size(), paths.size());
        for (QMessageBox *box : _app->mainWindow()->findChildren<QMessageBox *>())
            QVERIFY(!box->isVisible());
    }

private slots:
    void initTestCase() { QVERIFY(_folder.isValid() && !_clip.isEmpty() && !_otherClip.isEmpty()); }
    void init() { QVERIFY(_app.emplace().launch(_backend.get())); }
    void cleanup() { _app.reset(); }
    void cleanupTestCase()
    {
        QFile::remove(_sparse);
        ::unlink(_notUtf8.constData()); // the temporary folder cannot name it
    }

    void badFileAmongGoodOnes_data()
    {
        using enum Outcome;
        QTest::addColumn<QString>("path");
        QTest::addColumn<Outcome>("outcome");
        const auto row = [](Outcome outcome, const char *behaviour, const QString &path) {
            QTest::addRow("%s", behaviour) << path << outcome;
        };
        row(LeftOut, "zero-byte file", MediaFixtures::file("append-empty.mp4", {}));
        row(LeftOut, "random bytes named .mkv",
            MediaFixtures::randomBytes("append-random.mkv", 200000));
        // Audio by its name: no thumbnail is asked for; kept when the engine finds a track in it.
        row(EitherWay, "text named .mp3",
            MediaFixtures::file("append-text.mp3", QByteArray("not a song\n").repeated(300)));
        row(Appended, "audio-only file named .mp4", MediaFixtures::audio("append-audio.mp4", 2000));
        // Whether the single frame reaches the thumbnailer before the end is the decoder's affair.
        row(EitherWay, "one-frame clip",
            MediaFixtures::generate("append-one-frame.mp4", "-f lavfi -i testsrc2 -frames:v 1 "
                                                            "-pix_fmt yuv420p -c:v libx264"));
        // Cut in the middle, after its only keyframe, at a 188-byte packet.
        QFile whole(MediaFixtures::generate("append-whole.ts", "-f lavfi -i testsrc2 -t 4 -g 250 "
                                                               "-pix_fmt yuv420p -c:v libx264"));
        const QByteArray stream = whole.open(QIODevice::ReadOnly) ? whole.readAll() : QByteArray();
        row(EitherWay, "transport stream starting without a keyframe",
            MediaFixtures::file("append-no-keyframe.ts",
                                stream.mid(stream.size() / 2 / 188 * 188)));
        row(EitherWay, "16000 x 16000 frame",
            MediaFixtures::generate("append-huge.mkv", "-f lavfi -i color=gray:size=16000x16000 "
                                                       "-frames:v 1 -c:v mjpeg -pix_fmt yuvj420p"));
        _sparse = MediaFixtures::sparseZeros("append-zeros-4g.mp4", 4LL << 30);
        row(LeftOut, "4 GB sparse file of zeros", _sparse);
        row(LeftOut, "directory named x.mkv", MediaFixtures::folder("append-x.mkv"));
        row(LeftOut, "FIFO named x.mp4", MediaFixtures::fifo("append-x.mp4"));
        QFile::link(_folder.filePath("loop.mp4"), _folder.filePath("loop.mp4"));
        row(LeftOut, "symlink loop", _folder.filePath("loop.mp4"));
        QFile::link(_folder.filePath("nowhere.mkv"), _folder.filePath("dangling.mkv"));
        row(LeftOut, "dangling symlink", _folder.filePath("dangling.mkv"));
        const auto oddName = [&](const char *behaviour, const QString &name) {
            const QByteArray path = QFile::encodeName(_folder.filePath(name));
            row(Appended, behaviour, hardLink(_clip, path) ? QFile::decodeName(path) : QString());
        };
        oddName("spaces", "a clip with  spaces .mp4");
        oddName("percent sign", "100% done %20.mp4");
        oddName("hash sign", "take #2.mp4");
        oddName("non-ASCII characters", "ünïcødé 映画.mp4");
        oddName("newline", "first line\nsecond line.mp4");
        oddName("leading dash", "-rf.mp4");
        oddName("255-byte name", QString(251, 'x') + ".mp4");
        _notUtf8 = QFile::encodeName(_folder.path()) + "/clip-\xff\xfe.mp4";
        QVERIFY(hardLink(_clip, _notUtf8));
        row(Appended, "not UTF-8", NativePath::fromNative(_notUtf8));
    }

    void badFileAmongGoodOnes()
    {
        QFETCH(QString, path);
        QFETCH(Outcome, outcome);
        appendBetweenClips(path, outcome);
    }

    void unreadableVideoIsLeftOut()
    {
        if (::geteuid() == 0) {
            // Root reads every file: this runs again as nobody.
            QCOMPARE(
                QProcess::execute("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                              QCoreApplication::applicationFilePath(),
                                              "unreadableVideoIsLeftOut"}),
                0);
            return;
        }
        const QString locked = _folder.filePath("locked.mp4");
        QVERIFY(QFile::copy(_clip, locked) && QFile::setPermissions(locked, {}));
        QVERIFY2(!QFile(locked).open(QIODevice::ReadOnly), "the locked file can be read");
        appendBetweenClips(locked, Outcome::LeftOut);
    }

    void tenThousandAudioFilesInOrderWhileTheWindowResponds()
    {
        const QString tone = MediaFixtures::audio("append-tone-1000.mp3", 1000);
        // What the engine says of the one file behind every link.
        const VLCTime length =
            _backend->mediaWithPath(tone)->lengthWaitUntilDate(QDeadlineTimer(5000));
        QVERIFY(length.isKnown());
        QStringList paths;
        for (int i = 0; i < 10000; ++i) {
            paths.append(_folder.filePath(QStringLiteral("tone %1.mp3").arg(i, 5, 10, QChar('0'))));
            QVERIFY(hardLink(tone, QFile::encodeName(paths.last())));
        }
        // A timer stands for the window: it must keep firing all along.
        qint64 longestGapMs = 0;
        QString progress;
        QStatusBar *status = _app->access().additionStatusBar();
        QElapsedTimer sinceTick;
        sinceTick.start();
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] {
            longestGapMs = std::max(longestGapMs, sinceTick.restart());
            progress = status->isVisible() ? status->currentMessage() : progress;
        });
        timer.start(20);
        QVERIFY(_app->d->appendPlaylistWithoutDublicates(paths));
        timer.stop();

        QCOMPARE(pathsOf(_app->d->mediaPlaylist()), paths);
        QCOMPARE(_app->d->mediaPreviews()->count(nullptr), paths.size());
        for (const MediaEntry &entry : *_app->d->mediaPlaylist())
            QVERIFY2(entry->length.intValue() == length.intValue(), qPrintable(entry->path));
        QVERIFY2(longestGapMs < 1000 * TestSlowdown, QByteArray::number(longestGapMs));
        QVERIFY2(progress.startsWith("Adding ") && progress.endsWith(" of 10000"),
                 qPrintable(progress));
        QVERIFY(!status->isVisible());
    }
};

QTEST_MAIN(AppendTest)
#include "tst_append.moc"
