// Previews on the real engine: the picture of a readable video, fetches one
// after another when several videos are added, a broken video left out, and
// the event loop turning while a thumbnail is awaited.
#include "EngineApp.h"
#include "MediaFixtures.h"
#include "media/LibVlcBackend.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QMutex>
#include <QThread>
#include <QtTest>

namespace {

// When a fetch started and when its answer came, in milliseconds on one clock.
struct Fetch {
    QString path;
    qint64 startedMs = -1;
    qint64 answeredMs = -1;
    bool picture = false;
};

// The real engine, with each fetch and its answer noted on the way through.
class RecordingBackend : public MediaBackend {
public:
    RecordingBackend()
        : _engine(createLibVlcBackend())
    {
        _clock.start();
    }

    VLCMediaPtr mediaWithPath(const QString &path) override { return _engine->mediaWithPath(path); }
    std::unique_ptr<VLCMediaPlayer> initWithVideoView(VLCVideoView *view) override
    {
        return _engine->initWithVideoView(view);
    }
    std::unique_ptr<VLCMediaThumbnailer>
    thumbnailerWithMediaAndDelegate(VLCMediaPtr media,
                                    VLCMediaThumbnailerDelegate *delegate) override;

    QList<Fetch> fetches() const
    {
        QMutexLocker lock(&_mutex);
        return _fetches;
    }
    qint64 nowMs() const { return _clock.elapsed(); }

private:
    friend class RecordingThumbnailer;

    std::unique_ptr<MediaBackend> _engine;
    QElapsedTimer _clock;
    mutable QMutex _mutex;
    QList<Fetch> _fetches;
};

// Stands between the engine's thumbnailer and its delegate; answers may come
// on any thread.
class RecordingThumbnailer : public VLCMediaThumbnailer, public VLCMediaThumbnailerDelegate {
public:
    RecordingThumbnailer(RecordingBackend *backend, VLCMediaPtr media,
                         VLCMediaThumbnailerDelegate *delegate)
        : _backend(backend)
        , _path(media->path())
        , _delegate(delegate)
        , _inner(backend->_engine->thumbnailerWithMediaAndDelegate(std::move(media), this))
    {
    }

    void fetchThumbnail() override
    {
        {
            QMutexLocker lock(&_backend->_mutex);
            _index = _backend->_fetches.size();
            _backend->_fetches.append({_path, _backend->nowMs()});
        }
        _inner->fetchThumbnail();
    }

    void mediaThumbnailerDidFinishThumbnail(VLCMediaThumbnailer *, const QImage &thumbnail) override
    {
        note(true);
        _delegate->mediaThumbnailerDidFinishThumbnail(this, thumbnail);
    }
    void mediaThumbnailerDidTimeOut(VLCMediaThumbnailer *) override
    {
        note(false);
        _delegate->mediaThumbnailerDidTimeOut(this);
    }

private:
    void note(bool picture)
    {
        QMutexLocker lock(&_backend->_mutex);
        Fetch &fetch = _backend->_fetches[_index];
        fetch.answeredMs = _backend->nowMs();
        fetch.picture = picture;
    }

    RecordingBackend *_backend;
    QString _path;
    VLCMediaThumbnailerDelegate *_delegate;
    qsizetype _index = -1;
    // Last member: destroyed first, so that no answer comes through a half
    // destroyed recorder.
    std::unique_ptr<VLCMediaThumbnailer> _inner;
};

std::unique_ptr<VLCMediaThumbnailer>
RecordingBackend::thumbnailerWithMediaAndDelegate(VLCMediaPtr media,
                                                  VLCMediaThumbnailerDelegate *delegate)
{
    return std::make_unique<RecordingThumbnailer>(this, std::move(media), delegate);
}

QStringList pathsOf(const MediaListRef &list)
{
    QStringList paths;
    for (const MediaEntry &entry : *list)
        paths.append(entry->path);
    return paths;
}

} // namespace

class PreviewsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void readableVideoGivesAPictureOfItsPixelSize();
    void twoVideosAreFetchedOneAfterTheOther();
    void brokenVideoIsLeftOutAndTheRestAppended();
    void timerKeepsFiringWhileAThumbnailIsAwaited();

private:
    std::unique_ptr<RecordingBackend> _backend;
    std::unique_ptr<EngineApp> _app;
    QString _clip;
    QString _wideClip;
};

void PreviewsTest::initTestCase()
{
    _clip = MediaFixtures::video(QStringLiteral("previews-2000.mp4"), 2000);
    _wideClip = MediaFixtures::video(QStringLiteral("previews-wide-2000.mkv"), 2000, 640, 360);
    QVERIFY(!_clip.isEmpty() && !_wideClip.isEmpty());
}

void PreviewsTest::init()
{
    _backend = std::make_unique<RecordingBackend>();
    _app = std::make_unique<EngineApp>();
    QVERIFY(_app->launch(_backend.get()));
}

void PreviewsTest::cleanup()
{
    _app.reset();
    _backend.reset();
}

void PreviewsTest::readableVideoGivesAPictureOfItsPixelSize()
{
    VLCTime length;
    const QImage preview = _app->d->getMediaPreview(_clip, &length);
    QVERIFY(!preview.isNull());
    QCOMPARE(preview.size(), QSize(320, 240));
    // One point per pixel.
    QCOMPARE(preview.deviceIndependentSize(), QSizeF(320, 240));
    // The thumbnailer's parse told the length on the way.
    QVERIFY(length.isKnown());
    QVERIFY2(qAbs(length.intValue() - 2000) <= 100, qPrintable(QString::number(length.intValue())));
    QCOMPARE(_app->d->thumbSemphore()->available(), 0);
}

void PreviewsTest::twoVideosAreFetchedOneAfterTheOther()
{
    QVERIFY(_app->d->appendPlaylistWithoutDublicates({_clip, _wideClip}));

    QCOMPARE(pathsOf(_app->d->mediaPlaylist()), QStringList({_clip, _wideClip}));
    const PreviewList &previews = *_app->d->mediaPreviews();
    QVERIFY(previews[0] && previews[1]);
    QCOMPARE(previews[0]->size(), QSize(320, 240));
    QCOMPARE(previews[1]->size(), QSize(320, 180));
    const QList<Fetch> fetches = _backend->fetches();
    QCOMPARE(fetches.size(), 2);
    QVERIFY(fetches[0].answeredMs >= 0 && fetches[1].answeredMs >= 0);
    QVERIFY2(fetches[1].startedMs >= fetches[0].answeredMs,
             qPrintable(QStringLiteral("second began at %1 ms, first answered at %2 ms")
                            .arg(fetches[1].startedMs)
                            .arg(fetches[0].answeredMs)));
    for (const MediaEntry &entry : *_app->d->mediaPlaylist())
        QVERIFY2(qAbs(entry->length.intValue() - 2000) <= 100, qPrintable(entry->path));
}

void PreviewsTest::brokenVideoIsLeftOutAndTheRestAppended()
{
    const QString broken =
        MediaFixtures::randomBytes(QStringLiteral("previews-random.mp4"), 300000);
    QVERIFY(!broken.isEmpty());
    QVERIFY(_app->d->appendPlaylistWithoutDublicates({_clip, broken, _wideClip}));

    QCOMPARE(pathsOf(_app->d->mediaPlaylist()), QStringList({_clip, _wideClip}));
    QCOMPARE(_app->d->mediaPreviews()->size(), 2);
    const QList<Fetch> fetches = _backend->fetches();
    QCOMPARE(fetches.size(), 3);
    // The thumbnailer gave up on it: its answer was the time-out.
    QCOMPARE(fetches[1].path, broken);
    QVERIFY(fetches[1].answeredMs >= 0);
    QVERIFY(!fetches[1].picture);
    // Left out without a word.
    for (QMessageBox *box : _app->mainWindow()->findChildren<QMessageBox *>())
        QVERIFY(!box->isVisible());
}

void PreviewsTest::timerKeepsFiringWhileAThumbnailIsAwaited()
{
    QList<qint64> ticksMs;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ticksMs.append(_backend->nowMs()); });
    timer.setTimerType(Qt::PreciseTimer);
    timer.start(1);
    QVERIFY(_app->d->appendPlaylistWithoutDublicates({_clip}));
    timer.stop();

    const QList<Fetch> fetches = _backend->fetches();
    QCOMPARE(fetches.size(), 1);
    const qsizetype during = std::count_if(ticksMs.cbegin(), ticksMs.cend(), [&](qint64 atMs) {
        return atMs > fetches[0].startedMs && atMs < fetches[0].answeredMs;
    });
    qInfo("%lld ticks during a wait of %lld ms", qint64(during),
          fetches[0].answeredMs - fetches[0].startedMs);
    QVERIFY2(during >= 3, qPrintable(QString::number(during)));
}

QTEST_MAIN(PreviewsTest)
#include "tst_previews.moc"
