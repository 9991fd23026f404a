#include "MediaFixtures.h"
#include "media/LibVlcBackend.h"

#include <QtTest>

namespace {

struct Answer {
    VLCMediaThumbnailer *thumbnailer = nullptr;
    QImage image; // null for the time-out
};

// Records every answer, from whatever thread it comes on.
struct AnswerRecorder : VLCMediaThumbnailerDelegate {
    void mediaThumbnailerDidFinishThumbnail(VLCMediaThumbnailer *from, const QImage &image) override
    {
        QMutexLocker lock(&mutex);
        answers.append({from, image});
    }
    void mediaThumbnailerDidTimeOut(VLCMediaThumbnailer *from) override
    {
        mediaThumbnailerDidFinishThumbnail(from, {});
    }
    QList<Answer> all()
    {
        QMutexLocker lock(&mutex);
        return answers;
    }
    QMutex mutex;
    QList<Answer> answers;
};

// Green: a picture whose middle is green rather than red.
enum class Expect { Picture, Green, TimeOut, Either };

} // namespace

class TestMediaThumbnailer : public QObject {
    Q_OBJECT

    std::unique_ptr<MediaBackend> _backend = createLibVlcBackend();
    QString _sparse = MediaFixtures::sparseZeros("thumb-zeros-4g.mp4", 4LL << 30);
    QString _clip = MediaFixtures::video("thumb-640x360.mp4", 2000, 640, 360);

    // The first answer; none (null thumbnailer) when it came late, was not its
    // own, or the fetch itself waited for the engine.
    Answer fetchOne(const QString &path, int withinMs = 10000)
    {
        AnswerRecorder recorder;
        QElapsedTimer clock;
        clock.start();
        auto thumbnailer =
            _backend->thumbnailerWithMediaAndDelegate(_backend->mediaWithPath(path), &recorder);
        thumbnailer->fetchThumbnail();
        const bool prompt = clock.elapsed() < 200;
        const bool answered = QTest::qWaitFor([&] { return !recorder.all().isEmpty(); }, withinMs);
        const Answer first = answered ? recorder.all().first() : Answer{};
        return prompt && first.thumbnailer == thumbnailer.get() ? first : Answer{};
    }

private slots:
    void initTestCase() { QVERIFY(!_sparse.isEmpty() && !_clip.isEmpty()); }
    void cleanupTestCase() { QFile::remove(_sparse); }

    void answersPromptly_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<Expect>("expect");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("withinMs");
        const auto row = [](const char *behaviour, const QString &path, Expect expect,
                            QSize size = {}, int withinMs = 3000) {
            QTest::addRow("%s", behaviour) << path << expect << size << withinMs;
        };
        const auto clip = [](int width, int height) {
            const QString name = QStringLiteral("thumb-%1x%2.mp4").arg(width).arg(height);
            return MediaFixtures::video(name, 2000, width, height);
        };
        const auto oneFrame = [](const char *name, const char *source, const char *codec) {
            return MediaFixtures::generate(
                name,
                QStringLiteral("-f lavfi -i %1 -frames:v 1 %2").arg(source, codec).split(' '));
        };
        row("wide 640x360 is 320x180", _clip, Expect::Picture, {320, 180});
        // Red for the first fifth, green after: a frame from 30 % in is green.
        row("taken 30 % into the clip",
            MediaFixtures::generate("thumb-red-then-green.mp4",
                                    "-f lavfi -i color=red:size=320x240:duration=0.4 -f lavfi -i "
                                    "color=lime:size=320x240:duration=1.6 -filter_complex concat "
                                    "-pix_fmt yuv420p -c:v libx264 -preset ultrafast -g 5"),
            Expect::Green, {320, 240});
        row("4:3 640x480 is 320x240", clip(640, 480), Expect::Picture, {320, 240});
        row("portrait 360x640 is 135x240", clip(360, 640), Expect::Picture, {135, 240});
        row("small 160x90 grows to 320x180", clip(160, 90), Expect::Picture, {320, 180});
        // Players show this wide picture turned a quarter, so it is tall.
        row("640x360 turned a quarter is 135x240",
            MediaFixtures::generate("thumb-turned.mp4",
                                    {"-i", _clip, "-c", "copy", "-metadata:s:v:0", "rotate=90"}),
            Expect::Picture, {135, 240});
        // Taken when decoded: a one-frame clip ends before its frame is displayed.
        row("one-frame clip",
            oneFrame("thumb-one-frame.mp4", "testsrc2",
                     "-pix_fmt yuv420p -c:v libx264 -preset ultrafast"),
            Expect::Picture, {320, 240}, 1500);
        // Reordering holds the only frame until the stream ends; the engine may drop it.
        row("one-frame clip with frame reordering",
            oneFrame("thumb-one-frame-reordered.mp4", "testsrc2",
                     "-pix_fmt yuv420p -c:v libx264 -preset medium"),
            Expect::Either, {320, 240}, 1500);
        // Never a buffer of the declared size.
        row("16000 x 16000 frame",
            oneFrame("thumb-huge.mkv", "color=gray:size=16000x16000",
                     "-c:v mjpeg -pix_fmt yuvj420p"),
            Expect::Either, {240, 240}, 12000);
        // None gives a picture, and each says so well before the thumbnailer's ten seconds.
        row("random bytes named .mp4", MediaFixtures::randomBytes("thumb-random.mp4", 200000),
            Expect::TimeOut);
        row("audio-only .mp4", MediaFixtures::audio("thumb-audio.mp4", 2000), Expect::TimeOut);
        row("empty file", MediaFixtures::file("thumb-empty.mp4", {}), Expect::TimeOut);
        row("text named .mp3",
            MediaFixtures::file("thumb-text.mp3", QByteArray("not a song\n").repeated(300)),
            Expect::TimeOut);
        row("missing file", MediaFixtures::directory() + "/missing.mkv", Expect::TimeOut);
        row("directory named .mkv", MediaFixtures::folder("thumb-folder.mkv"), Expect::TimeOut);
        row("FIFO named .mp4", MediaFixtures::fifo("thumb-fifo.mp4"), Expect::TimeOut);
        row("4 GB of zeros named .mp4", _sparse, Expect::TimeOut);
    }

    void answersPromptly()
    {
        QFETCH(QString, path);
        QFETCH(Expect, expect);
        QFETCH(QSize, size);
        QFETCH(int, withinMs);
        QVERIFY(!path.isEmpty());
        const Answer answer = fetchOne(path, withinMs);
        QVERIFY2(answer.thumbnailer, "no answer of its own in time");
        const QImage &image = answer.image;
        if (expect != Expect::Either)
            QCOMPARE(!image.isNull(), expect != Expect::TimeOut);
        if (image.isNull())
            return;
        QCOMPARE(image.size(), size);
        QCOMPARE(image.deviceIndependentSize(), QSizeF(size));
        QImage flat(size, image.format());
        flat.fill(image.pixel(0, 0));
        QVERIFY2(expect != Expect::Picture || image != flat, "the picture is blank");
        const QColor middle = image.pixelColor(image.rect().center());
        QVERIFY2(expect != Expect::Green || middle.green() > 2 * middle.red(), "not green");
    }

    void fiftyFetchesGetOneAnswerEach()
    {
        AnswerRecorder recorder;
        std::vector<std::unique_ptr<VLCMediaThumbnailer>> thumbnailers;
        const VLCMediaPtr media = _backend->mediaWithPath(_clip);
        for (int i = 0; i < 50; ++i)
            thumbnailers.emplace_back(_backend->thumbnailerWithMediaAndDelegate(media, &recorder))
                ->fetchThumbnail();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.all().size() >= 50, 30000);
        // A second answer to any fetch would come soon after the first.
        QTest::qWait(500);
        QSet<VLCMediaThumbnailer *> answered;
        for (const Answer &answer : recorder.all()) {
            QVERIFY(!answered.contains(answer.thumbnailer));
            answered.insert(answer.thumbnailer);
            QCOMPARE(answer.image.size(), QSize(320, 180));
        }
        QCOMPARE(answered.size(), 50);
    }

    void destroyedThumbnailerIsNeverAnswered()
    {
        AnswerRecorder gone;
        _backend->thumbnailerWithMediaAndDelegate(_backend->mediaWithPath(_clip), &gone)
            ->fetchThumbnail();
        // A later fetch of the same file is answered after the first would have been.
        QVERIFY(!fetchOne(_clip).image.isNull());
        QTest::qWait(200);
        QVERIFY(gone.all().isEmpty());
    }
};

QTEST_MAIN(TestMediaThumbnailer)
#include "tst_mediathumbnailer.moc"
