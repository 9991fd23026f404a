#include "EngineApp.h"
#include "MediaFixtures.h"
#include "media/LibVlcBackend.h"
#include "playlist/PlaylistCell.h"

#include <QtTest>

namespace {

// The real engine, noting when each thumbnailer is made and when it is let go:
// Glaze lets it go once it has the answer. All on the main thread.
struct RecordingBackend : MediaBackend {
    struct Noted : VLCMediaThumbnailer {
        std::unique_ptr<VLCMediaThumbnailer> inner;
        std::function<void()> onRelease;
        void fetchThumbnail() override { inner->fetchThumbnail(); }
        ~Noted() override { onRelease(); }
    };

    VLCMediaPtr mediaWithPath(const QString &path) override { return engine->mediaWithPath(path); }
    std::unique_ptr<VLCMediaPlayer> initWithVideoView(VLCVideoView *view) override
    {
        return engine->initWithVideoView(view);
    }
    std::unique_ptr<VLCMediaThumbnailer>
    thumbnailerWithMediaAndDelegate(VLCMediaPtr media,
                                    VLCMediaThumbnailerDelegate *delegate) override
    {
        auto noted = std::make_unique<Noted>();
        noted->inner = engine->thumbnailerWithMediaAndDelegate(std::move(media), delegate);
        noted->onRelease = [this, index = lifetimesMs.size()] {
            lifetimesMs[index].second = clock.elapsed();
        };
        lifetimesMs.append({clock.elapsed(), -1});
        return noted;
    }

    std::unique_ptr<MediaBackend> engine = createLibVlcBackend();
    QElapsedTimer clock;
    QList<QPair<qint64, qint64>> lifetimesMs;
};

} // namespace

// A broken video left out among good ones: tst_append.
class PreviewsTest : public QObject {
    Q_OBJECT
private slots:
    void twoVideosAreFetchedOneAfterTheOtherWhileTimersFire()
    {
        const QString clip = MediaFixtures::video("previews-2000.mp4", 2000);
        const QString wideClip = MediaFixtures::video("previews-wide-2000.mkv", 2000, 640, 360);
        RecordingBackend backend;
        backend.clock.start();
        EngineApp app;
        QVERIFY(app.launch(&backend));
        QList<qint64> ticksMs;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ticksMs.append(backend.clock.elapsed()); });
        timer.start(1);
        QVERIFY(app.d->appendPlaylistWithoutDublicates({clip, wideClip}));
        timer.stop();

        QCOMPARE(app.d->mediaPlaylist()->size(), 2);
        QCOMPARE(app.d->mediaPlaylist()->at(1)->path, wideClip);
        const PreviewList &previews = *app.d->mediaPreviews();
        QVERIFY(previews[0] && previews[1]);
        // Kept at the size the rows draw them, each in its own shape.
        app.d->dropFilter();
        const QSize box =
            app.d->tableViewViewForTableColumnRow(app.access().playlistTableView(), 0, 0)
                ->preview()
                ->size();
        QCOMPARE(previews[0]->deviceIndependentSize(),
                 QSizeF(QSize(4, 3).scaled(box, Qt::KeepAspectRatio)));
        QCOMPARE(previews[1]->deviceIndependentSize(),
                 QSizeF(QSize(16, 9).scaled(box, Qt::KeepAspectRatio)));
        // The thumbnailer's parse told the length on the way.
        for (const MediaEntry &entry : *app.d->mediaPlaylist())
            QVERIFY2(qAbs(entry->length.intValue() - 2000) <= 100, qPrintable(entry->path));
        QCOMPARE(app.d->thumbSemphore()->available(), 0);

        const auto fetches = backend.lifetimesMs;
        QCOMPARE(fetches.size(), 2);
        QVERIFY2(fetches[0].second >= 0 && fetches[1].first >= fetches[0].second,
                 qPrintable(QStringLiteral("second made at %1 ms, first let go at %2 ms")
                                .arg(fetches[1].first)
                                .arg(fetches[0].second)));
        const auto during = std::count_if(ticksMs.cbegin(), ticksMs.cend(), [&](qint64 atMs) {
            return atMs > fetches[0].first && atMs < fetches[0].second;
        });
        QVERIFY2(during >= 3, QByteArray::number(during));
    }
};

QTEST_MAIN(PreviewsTest)
#include "tst_previews.moc"
