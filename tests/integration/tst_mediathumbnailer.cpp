#include "MediaFixtures.h"
#include "media/LibVlcBackend.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QTest>

namespace {

// Records every answer, from whatever thread it comes on.
class AnswerRecorder : public VLCMediaThumbnailerDelegate {
public:
    struct Answer {
        VLCMediaThumbnailer *thumbnailer = nullptr;
        QImage image; // null for a time-out
        qint64 atMs = 0;
    };

    AnswerRecorder() { _clock.start(); }

    void mediaThumbnailerDidFinishThumbnail(VLCMediaThumbnailer *thumbnailer,
                                            const QImage &thumbnail) override
    {
        QMutexLocker locker(&_mutex);
        _answers.append({thumbnailer, thumbnail, _clock.elapsed()});
    }

    void mediaThumbnailerDidTimeOut(VLCMediaThumbnailer *thumbnailer) override
    {
        QMutexLocker locker(&_mutex);
        _answers.append({thumbnailer, QImage(), _clock.elapsed()});
    }

    QList<Answer> answers() const
    {
        QMutexLocker locker(&_mutex);
        return _answers;
    }
    int count() const { return answers().size(); }
    qint64 nowMs() const { return _clock.elapsed(); }

private:
    mutable QMutex _mutex;
    QList<Answer> _answers;
    QElapsedTimer _clock;
};

// How many distinct colours a picture shows: a test pattern has many, a
// blank or black frame one.
int colourCount(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    return colours.size();
}

} // namespace

// The thumbnailer on real media: picture size and place, broken and hostile
// files, and exactly one answer per fetch.
class TestMediaThumbnailer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void thumbnailFitsTheBox_data();
    void thumbnailFitsTheBox();
    void thumbnailIsTakenAboutThirtyPercentIn();
    void brokenMediaTimesOutPromptly_data();
    void brokenMediaTimesOutPromptly();
    void oneFrameClipAnswersPromptly_data();
    void oneFrameClipAnswersPromptly();
    void hugeFrameAnswersWithinTheTimeOut();
    void fiftyFetchesGetOneAnswerEach();
    void destroyedThumbnailerIsNeverAnswered();

private:
    // Fetches once and waits for the answer; fails if none comes in time.
    AnswerRecorder::Answer fetchOne(const QString &path, int waitMs);

    std::unique_ptr<MediaBackend> _backend;
    QString _sparse;
};

void TestMediaThumbnailer::initTestCase()
{
    _backend = createLibVlcBackend();
    _sparse = MediaFixtures::sparseZeros(QStringLiteral("thumb-zeros-4g.mp4"), 4LL << 30);
    QVERIFY(!_sparse.isEmpty());
}

void TestMediaThumbnailer::cleanupTestCase()
{
    QFile::remove(_sparse);
}

AnswerRecorder::Answer TestMediaThumbnailer::fetchOne(const QString &path, int waitMs)
{
    AnswerRecorder recorder;
    auto thumbnailer =
        _backend->thumbnailerWithMediaAndDelegate(_backend->mediaWithPath(path), &recorder);
    thumbnailer->fetchThumbnail();
    // The fetch itself never waits for the engine.
    [&] { QVERIFY(recorder.nowMs() < 200); }();
    [&] { QTRY_VERIFY_WITH_TIMEOUT(recorder.count() > 0, waitMs); }();
    if (recorder.count() == 0)
        return {};
    const AnswerRecorder::Answer answer = recorder.answers().first();
    [&] { QCOMPARE(answer.thumbnailer, thumbnailer.get()); }();
    return answer;
}

void TestMediaThumbnailer::thumbnailFitsTheBox_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("thumbnail");
    const auto clip = [](int width, int height) {
        return MediaFixtures::video(QStringLiteral("thumb-%1x%2.mp4").arg(width).arg(height), 2000,
                                    width, height);
    };
    QTest::addRow("wide 640x360 is 320x180") << clip(640, 360) << QSize(320, 180);
    QTest::addRow("4:3 640x480 is 320x240") << clip(640, 480) << QSize(320, 240);
    QTest::addRow("portrait 360x640 is 135x240") << clip(360, 640) << QSize(135, 240);
    QTest::addRow("small 160x90 grows to 320x180") << clip(160, 90) << QSize(320, 180);
    // Players show this wide picture turned a quarter, so it is tall.
    QTest::addRow("640x360 turned a quarter is 135x240")
        << MediaFixtures::generate(QStringLiteral("thumb-640x360-turned.mp4"),
                                   {QStringLiteral("-i"), clip(640, 360), QStringLiteral("-c"),
                                    QStringLiteral("copy"), QStringLiteral("-metadata:s:v:0"),
                                    QStringLiteral("rotate=90")})
        << QSize(135, 240);
}

void TestMediaThumbnailer::thumbnailFitsTheBox()
{
    QFETCH(QString, path);
    QFETCH(QSize, thumbnail);
    QVERIFY(!path.isEmpty());
    const AnswerRecorder::Answer answer = fetchOne(path, 10000);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(!answer.image.isNull(), "timed out on a readable video");
    QCOMPARE(answer.image.size(), thumbnail);
    QVERIFY(answer.image.format() == QImage::Format_RGB32 ||
            answer.image.format() == QImage::Format_ARGB32);
    QVERIFY2(colourCount(answer.image) > 20, "the picture is blank");
    qInfo("thumbnail after %lld ms", answer.atMs);
}

void TestMediaThumbnailer::thumbnailIsTakenAboutThirtyPercentIn()
{
    // Red for the first second, lime for the next, blue for the last two: 30 %
    // of four seconds falls in the lime part.
    const QString path = MediaFixtures::colourSequence(QStringLiteral("thumb-red-lime-blue.mp4"),
                                                       {{QStringLiteral("red"), 1000},
                                                        {QStringLiteral("lime"), 1000},
                                                        {QStringLiteral("blue"), 2000}});
    QVERIFY(!path.isEmpty());
    const AnswerRecorder::Answer answer = fetchOne(path, 10000);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!answer.image.isNull());
    const QColor centre = answer.image.pixelColor(answer.image.rect().center());
    QVERIFY2(centre.green() > 200 && centre.red() < 60 && centre.blue() < 60,
             qPrintable(centre.name()));
}

void TestMediaThumbnailer::brokenMediaTimesOutPromptly_data()
{
    QTest::addColumn<QString>("path");
    QTest::addRow("random bytes named .mp4")
        << MediaFixtures::randomBytes(QStringLiteral("thumb-random.mp4"), 200000);
    QTest::addRow("audio only .mp4")
        << MediaFixtures::audio(QStringLiteral("thumb-audio.mp4"), 2000);
    QTest::addRow("empty file") << MediaFixtures::file(QStringLiteral("thumb-empty.mp4"), {});
    QTest::addRow("text named .mp3") << MediaFixtures::file(
        QStringLiteral("thumb-text.mp3"), QByteArray("not a song at all\n").repeated(200));
    QTest::addRow("missing file") << MediaFixtures::directory() + QStringLiteral("/missing.mkv");
    QTest::addRow("directory named .mkv")
        << MediaFixtures::folder(QStringLiteral("thumb-folder.mkv"));
    QTest::addRow("FIFO named .mp4") << MediaFixtures::fifo(QStringLiteral("thumb-fifo.mp4"));
    QTest::addRow("4 GB of zeros named .mp4") << _sparse;
}

void TestMediaThumbnailer::brokenMediaTimesOutPromptly()
{
    QFETCH(QString, path);
    QVERIFY(!path.isEmpty());
    // Nothing here can give a picture, and each says so well before the
    // thumbnailer's own ten seconds.
    const AnswerRecorder::Answer answer = fetchOne(path, 3000);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(answer.image.isNull());
    qInfo("time-out answer after %lld ms", answer.atMs);
}

void TestMediaThumbnailer::oneFrameClipAnswersPromptly_data()
{
    QTest::addColumn<QString>("preset");
    QTest::addColumn<bool>("pictureExpected");
    // Without reordering the decoder hands the frame over at once.
    QTest::addRow("without frame reordering") << QStringLiteral("ultrafast") << true;
    // With it, the decoder holds the frame until the end of the stream, and
    // the engine drops it as the clip ends: a prompt time-out is the answer.
    QTest::addRow("with frame reordering") << QStringLiteral("medium") << false;
}

void TestMediaThumbnailer::oneFrameClipAnswersPromptly()
{
    QFETCH(QString, preset);
    QFETCH(bool, pictureExpected);
    const QString path = MediaFixtures::generate(
        QStringLiteral("thumb-one-frame-%1.mp4").arg(preset),
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("testsrc2=size=320x240:rate=25"), QStringLiteral("-frames:v"),
         QStringLiteral("1"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
         QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-preset"), preset});
    QVERIFY(!path.isEmpty());
    int pictures = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const AnswerRecorder::Answer answer = fetchOne(path, 3000);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(answer.atMs < 1500, qPrintable(QStringLiteral("%1 ms").arg(answer.atMs)));
        if (!answer.image.isNull()) {
            ++pictures;
            QCOMPARE(answer.image.size(), QSize(320, 240));
            QVERIFY(colourCount(answer.image) > 20);
        }
        qInfo("%s after %lld ms", answer.image.isNull() ? "time-out" : "thumbnail", answer.atMs);
    }
    if (pictureExpected)
        QVERIFY2(pictures >= 2, qPrintable(QStringLiteral("%1 of 3").arg(pictures)));
}

void TestMediaThumbnailer::hugeFrameAnswersWithinTheTimeOut()
{
    const QString path = MediaFixtures::generate(
        QStringLiteral("thumb-16000x16000.mkv"),
        {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
         QStringLiteral("color=c=gray:size=16000x16000:rate=25"), QStringLiteral("-frames:v"),
         QStringLiteral("1"), QStringLiteral("-c:v"), QStringLiteral("mjpeg"),
         QStringLiteral("-pix_fmt"), QStringLiteral("yuvj420p")});
    QVERIFY(!path.isEmpty());
    const AnswerRecorder::Answer answer = fetchOne(path, 12000);
    if (QTest::currentTestFailed())
        return;
    if (!answer.image.isNull()) {
        QCOMPARE(answer.image.size(), QSize(240, 240));
    }
    qInfo("%s after %lld ms", answer.image.isNull() ? "time-out" : "thumbnail", answer.atMs);
}

void TestMediaThumbnailer::fiftyFetchesGetOneAnswerEach()
{
    const QString path = MediaFixtures::video(QStringLiteral("thumb-640x360.mp4"), 2000, 640, 360);
    QVERIFY(!path.isEmpty());
    AnswerRecorder recorder;
    std::vector<std::unique_ptr<VLCMediaThumbnailer>> thumbnailers;
    const VLCMediaPtr media = _backend->mediaWithPath(path);
    for (int i = 0; i < 50; ++i) {
        thumbnailers.push_back(_backend->thumbnailerWithMediaAndDelegate(media, &recorder));
        thumbnailers.back()->fetchThumbnail();
    }
    QTRY_VERIFY_WITH_TIMEOUT(recorder.count() >= 50, 30000);
    const qint64 lastMs = recorder.nowMs();
    // A second answer to any fetch would come soon after the first.
    QTest::qWait(500);
    const QList<AnswerRecorder::Answer> answers = recorder.answers();
    QCOMPARE(answers.size(), 50);
    QHash<VLCMediaThumbnailer *, int> perThumbnailer;
    int pictures = 0;
    for (const AnswerRecorder::Answer &answer : answers) {
        ++perThumbnailer[answer.thumbnailer];
        pictures += answer.image.isNull() ? 0 : 1;
        if (!answer.image.isNull())
            QCOMPARE(answer.image.size(), QSize(320, 180));
    }
    for (const auto &thumbnailer : thumbnailers)
        QCOMPARE(perThumbnailer.value(thumbnailer.get()), 1);
    QCOMPARE(pictures, 50);
    qInfo("50 thumbnails in %lld ms", lastMs);
}

void TestMediaThumbnailer::destroyedThumbnailerIsNeverAnswered()
{
    const QString path = MediaFixtures::video(QStringLiteral("thumb-640x360.mp4"), 2000, 640, 360);
    QVERIFY(!path.isEmpty());
    AnswerRecorder gone;
    auto thumbnailer =
        _backend->thumbnailerWithMediaAndDelegate(_backend->mediaWithPath(path), &gone);
    thumbnailer->fetchThumbnail();
    thumbnailer.reset();
    // A later fetch of the same file is answered after the first would have been.
    const AnswerRecorder::Answer later = fetchOne(path, 10000);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!later.image.isNull());
    QTest::qWait(200);
    QCOMPARE(gone.count(), 0);
}

QTEST_MAIN(TestMediaThumbnailer)
#include "tst_mediathumbnailer.moc"
