// Additions on the real engine with files that are broken, hostile or oddly
// named, and with ten thousand audio files at once. Each bad file is either
// appended as the classification by name says or left out once the
// thumbnailer gives up; never a crash, a hang, a frozen window or a lost
// neighbour.
#include "EngineApp.h"
#include "MediaFixtures.h"
#include "media/LibVlcBackend.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

namespace {

enum class Outcome { Appended, LeftOut, EitherWay };

// Set in the environment of the copy of this test that runs unprivileged.
const char UnreadableFolderVariable[] = "GLAZE_UNREADABLE_FOLDER";

QStringList pathsOf(const MediaListRef &list)
{
    QStringList paths;
    for (const MediaEntry &entry : *list)
        paths.append(entry->path);
    return paths;
}

bool hardLink(const QString &target, const QString &link)
{
    return ::link(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0;
}

bool anySheetOpen(QWidget *window)
{
    const QList<QMessageBox *> boxes = window->findChildren<QMessageBox *>();
    return std::any_of(boxes.cbegin(), boxes.cend(),
                       [](QMessageBox *box) { return box->isVisible(); });
}

// A transport stream cut so that it starts after its only keyframe.
QString streamWithoutKeyframe(const QString &name)
{
    const QString whole = MediaFixtures::generate(
        QStringLiteral("append-whole.ts"),
        {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25", "-t", "4", "-pix_fmt", "yuv420p",
         "-c:v", "libx264", "-preset", "ultrafast", "-g", "250"});
    QFile in(whole);
    if (whole.isEmpty() || !in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = in.readAll();
    // Whole 188-byte packets from the middle on.
    const qsizetype start = bytes.size() / 2 / 188 * 188;
    return MediaFixtures::file(name, bytes.mid(start));
}

} // namespace

class AppendTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void badFileAmongGoodOnes_data();
    void badFileAmongGoodOnes();
    void oddNamesAreAppended_data();
    void oddNamesAreAppended();
    void nameThatIsNotUtf8();
    void unreadableVideoIsLeftOut();
    void tenThousandAudioFilesInOrderWhileTheWindowResponds();

private:
    // Appends the paths; fails the test if that takes longer than `limitMs`.
    bool appendWithin(const QStringList &paths, qint64 limitMs);

    std::unique_ptr<MediaBackend> _backend;
    std::unique_ptr<EngineApp> _app;
    std::unique_ptr<QTemporaryDir> _folder;
    QString _clip;
    QString _otherClip;
    QString _sparse;
};

void AppendTest::initTestCase()
{
    _backend = createLibVlcBackend();
    // The unprivileged copy may write nowhere but its own folder.
    if (qEnvironmentVariableIsSet(UnreadableFolderVariable))
        return;
    _folder = std::make_unique<QTemporaryDir>();
    QVERIFY(_folder->isValid());
    _clip = MediaFixtures::video(QStringLiteral("append-clip-2000.mp4"), 2000);
    _otherClip = MediaFixtures::video(QStringLiteral("append-other-2000.mkv"), 2000);
    QVERIFY(!_clip.isEmpty() && !_otherClip.isEmpty());
}

void AppendTest::cleanupTestCase()
{
    if (!_sparse.isEmpty())
        QFile::remove(_sparse);
}

void AppendTest::init()
{
    _app = std::make_unique<EngineApp>();
    QVERIFY(_app->launch(_backend.get()));
}

void AppendTest::cleanup()
{
    _app.reset();
}

bool AppendTest::appendWithin(const QStringList &paths, qint64 limitMs)
{
    QElapsedTimer clock;
    clock.start();
    const bool appended = _app->d->appendPlaylistWithoutDublicates(paths);
    const qint64 spentMs = clock.elapsed();
    if (spentMs > limitMs)
        QTest::qFail(qPrintable(QStringLiteral("the addition took %1 ms").arg(spentMs)), __FILE__,
                     __LINE__);
    return appended;
}

void AppendTest::badFileAmongGoodOnes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Outcome>("outcome");
    const QString folder = _folder->path();

    QTest::addRow("zero-byte file")
        << MediaFixtures::file(QStringLiteral("append-empty.mp4"), {}) << Outcome::LeftOut;
    QTest::addRow("random bytes with a video extension")
        << MediaFixtures::randomBytes(QStringLiteral("append-random.mkv"), 200000)
        << Outcome::LeftOut;
    // Audio by its name: no thumbnail is asked for, and the engine even
    // finds an audio track in it.
    QTest::addRow("text file named .mp3")
        << MediaFixtures::file(QStringLiteral("append-text.mp3"),
                               QByteArray("not a song at all\n").repeated(200))
        << Outcome::Appended;
    QTest::addRow("audio-only file named .mp4")
        << MediaFixtures::audio(QStringLiteral("append-audio-only.mp4"), 2000) << Outcome::LeftOut;
    // Whether the single frame reaches the thumbnailer before the end is the
    // decoder's affair.
    QTest::addRow("one-frame clip")
        << MediaFixtures::generate(QStringLiteral("append-one-frame.mp4"),
                                   {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25",
                                    "-frames:v", "1", "-pix_fmt", "yuv420p", "-c:v", "libx264",
                                    "-preset", "ultrafast"})
        << Outcome::EitherWay;
    QTest::addRow("transport stream starting without a keyframe")
        << streamWithoutKeyframe(QStringLiteral("append-no-keyframe.ts")) << Outcome::EitherWay;
    QTest::addRow("16000 x 16000 frame")
        << MediaFixtures::generate(QStringLiteral("append-16000x16000.mkv"),
                                   {"-f", "lavfi", "-i", "color=c=gray:size=16000x16000:rate=25",
                                    "-frames:v", "1", "-c:v", "mjpeg", "-pix_fmt", "yuvj420p"})
        << Outcome::EitherWay;
    _sparse = MediaFixtures::sparseZeros(QStringLiteral("append-zeros-4g.mp4"), 4LL << 30);
    QTest::addRow("4 GB sparse file of zeros") << _sparse << Outcome::LeftOut;
    QTest::addRow("directory named x.mkv")
        << MediaFixtures::folder(QStringLiteral("append-x.mkv")) << Outcome::LeftOut;
    QTest::addRow("FIFO named x.mp4")
        << MediaFixtures::fifo(QStringLiteral("append-x.mp4")) << Outcome::LeftOut;
    const QString loop = folder + QStringLiteral("/loop.mp4");
    QFile::link(loop, loop);
    QTest::addRow("symlink loop") << loop << Outcome::LeftOut;
    const QString dangling = folder + QStringLiteral("/dangling.mkv");
    QFile::link(folder + QStringLiteral("/nowhere.mkv"), dangling);
    QTest::addRow("dangling symlink") << dangling << Outcome::LeftOut;
}

void AppendTest::badFileAmongGoodOnes()
{
    QFETCH(QString, path);
    QFETCH(Outcome, outcome);
    QVERIFY(!path.isEmpty());
    // Within the thumbnailer's own bound for each of the three, with room.
    QVERIFY(appendWithin({_clip, path, _otherClip}, 35000));

    const QStringList paths = pathsOf(_app->d->mediaPlaylist());
    const bool appended = paths.size() == 3;
    if (outcome != Outcome::EitherWay)
        QCOMPARE(appended, outcome == Outcome::Appended);
    QCOMPARE(paths.first(), _clip);
    QCOMPARE(paths.last(), _otherClip);
    if (appended)
        QCOMPARE(paths.at(1), path);
    QCOMPARE(_app->d->mediaPreviews()->size(), paths.size());
    QVERIFY(!anySheetOpen(_app->mainWindow()));
    qInfo("%s", appended ? "appended" : "left out");
}

void AppendTest::oddNamesAreAppended_data()
{
    QTest::addColumn<QString>("name");
    QTest::addRow("spaces") << "a clip with  spaces .mp4";
    QTest::addRow("percent sign") << "100% done %20.mp4";
    QTest::addRow("hash sign") << "take #2.mp4";
    QTest::addRow("non-ASCII characters") << "ünïcødé 映画.mp4";
    QTest::addRow("newline") << "first line\nsecond line.mp4";
    QTest::addRow("leading dash") << "-rf.mp4";
    QTest::addRow("255-byte name") << QString(251, QLatin1Char('x')) + ".mp4";
}

void AppendTest::oddNamesAreAppended()
{
    QFETCH(QString, name);
    const QString path = _folder->filePath(name);
    QCOMPARE(QFile::encodeName(QFileInfo(path).fileName()).size() <= 255, true);
    QVERIFY(hardLink(_clip, path));
    QVERIFY(appendWithin({path}, 12000));
    QCOMPARE(pathsOf(_app->d->mediaPlaylist()), QStringList{path});
    QVERIFY(_app->d->mediaPreviews()->at(0));
    QVERIFY(_app->d->mediaPlaylist()->at(0)->length.isKnown());
}

void AppendTest::nameThatIsNotUtf8()
{
    const QByteArray raw = QFile::encodeName(_folder->path()) + "/clip-\xff\xfe.mp4";
    QVERIFY(::link(QFile::encodeName(_clip).constData(), raw.constData()) == 0);
    // The temporary folder cannot name it either when it cleans up.
    const auto removeLink = qScopeGuard([&raw] { ::unlink(raw.constData()); });
    // What a drop or the open panel hands over for that file.
    const QString path = QFile::decodeName(raw);
    const bool namable = QFile::encodeName(path) == raw;
    qInfo("the name %s through QFile::decodeName", namable ? "survives" : "does not survive");
    QVERIFY(appendWithin({path, _otherClip}, 12000));
    // Appended when the name leads back to the file; otherwise the file
    // cannot be reached, and the thumbnailer gives up on it.
    const QStringList expected =
        namable ? QStringList({path, _otherClip}) : QStringList({_otherClip});
    QCOMPARE(pathsOf(_app->d->mediaPlaylist()), expected);
    QVERIFY(!anySheetOpen(_app->mainWindow()));
}

void AppendTest::unreadableVideoIsLeftOut()
{
    const QString given = qEnvironmentVariable(UnreadableFolderVariable);
    if (given.isEmpty() && ::geteuid() == 0) {
        // Root reads every file: this test runs again as nobody.
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty())
            QSKIP("running as root, which reads every file, and setpriv is missing");
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString readable = folder.filePath(QStringLiteral("readable.mp4"));
        const QString locked = folder.filePath(QStringLiteral("locked.mp4"));
        QVERIFY(QFile::copy(_clip, readable) && QFile::copy(_clip, locked));
        const auto everyoneEnters = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(folder.path(), everyoneEnters));
        QVERIFY(QFile::setPermissions(readable, QFile::ReadOwner | QFile::ReadOther));
        QVERIFY(QFile::setPermissions(locked, {}));

        QProcess unprivileged;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(UnreadableFolderVariable, folder.path());
        unprivileged.setProcessEnvironment(environment);
        unprivileged.setProcessChannelMode(QProcess::MergedChannels);
        unprivileged.start(setpriv,
                           {"--reuid=65534", "--regid=65534", "--clear-groups",
                            QCoreApplication::applicationFilePath(), "unreadableVideoIsLeftOut"});
        QVERIFY(unprivileged.waitForFinished(60000));
        const QByteArray output = unprivileged.readAll();
        QVERIFY2(unprivileged.exitStatus() == QProcess::NormalExit && unprivileged.exitCode() == 0,
                 output.constData());
        QVERIFY2(output.contains("PASS   : AppendTest::unreadableVideoIsLeftOut()"),
                 output.constData());
        return;
    }

    QString folder = given;
    QTemporaryDir own;
    if (folder.isEmpty()) {
        // An unprivileged user of its own accord.
        folder = own.path();
        QVERIFY(QFile::copy(_clip, own.filePath("readable.mp4")));
        QVERIFY(QFile::copy(_clip, own.filePath("locked.mp4")));
        QVERIFY(QFile::setPermissions(own.filePath("locked.mp4"), {}));
    }
    const QString readable = folder + QStringLiteral("/readable.mp4");
    const QString locked = folder + QStringLiteral("/locked.mp4");
    QFile probe(locked);
    QVERIFY2(!probe.open(QIODevice::ReadOnly), "the locked file can be read");
    QVERIFY(appendWithin({readable, locked, readable}, 25000));
    const QStringList paths = pathsOf(_app->d->mediaPlaylist());
    QCOMPARE(paths, QStringList({readable, readable}));
    QVERIFY(!anySheetOpen(_app->mainWindow()));
}

void AppendTest::tenThousandAudioFilesInOrderWhileTheWindowResponds()
{
    constexpr int FileCount = 10000;
    const QString tone = MediaFixtures::audio(QStringLiteral("append-tone-1000.mp3"), 1000);
    QVERIFY(!tone.isEmpty());
    // What the engine says of the one file behind every link.
    const VLCTime toneLength =
        _backend->mediaWithPath(tone)->lengthWaitUntilDate(QDeadlineTimer(5000));
    QVERIFY(toneLength.isKnown());
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QStringList paths;
    paths.reserve(FileCount);
    for (int i = 0; i < FileCount; ++i) {
        paths.append(
            folder.filePath(QStringLiteral("tone %1.mp3").arg(i, 5, 10, QLatin1Char('0'))));
        QVERIFY(hardLink(tone, paths.last()));
    }

    // A timer stands for the window: it must keep firing all along.
    QElapsedTimer clock;
    clock.start();
    qint64 lastTickMs = 0;
    qint64 longestGapMs = 0;
    int ticks = 0;
    QStringList progress;
    QStatusBar *status = _app->access().additionStatusBar();
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] {
        const qint64 nowMs = clock.elapsed();
        longestGapMs = std::max(longestGapMs, nowMs - lastTickMs);
        lastTickMs = nowMs;
        ++ticks;
        if (status && status->isVisible())
            progress.append(status->currentMessage());
    });
    timer.start(20);
    QVERIFY(_app->d->appendPlaylistWithoutDublicates(paths));
    timer.stop();
    const qint64 spentMs = clock.elapsed();
    qInfo("%d audio files in %lld ms; the timer fired %d times, at most %lld ms apart", FileCount,
          spentMs, ticks, longestGapMs);

    QCOMPARE(pathsOf(_app->d->mediaPlaylist()), paths);
    QCOMPARE(_app->d->mediaPreviews()->count(nullptr), FileCount);
    for (const MediaEntry &entry : *_app->d->mediaPlaylist())
        QVERIFY2(entry->length.intValue() == toneLength.intValue(), qPrintable(entry->path));
    QVERIFY2(longestGapMs < 1000, qPrintable(QString::number(longestGapMs)));
    QVERIFY(!progress.isEmpty());
    QVERIFY(progress.last().endsWith(QStringLiteral(" of 10000")));
    QVERIFY(!status->isVisible());
}

QTEST_MAIN(AppendTest)
#include "tst_append.moc"
