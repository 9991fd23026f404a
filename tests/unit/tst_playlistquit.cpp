// Quitting while an addition waits for a thumbnail. Quitting ends every
// running event loop and keeps new ones from running, so this test gets a
// process of its own.
#include "LaunchedApp.h"

#include <QtTest>

class PlaylistQuitTest : public QObject {
    Q_OBJECT
private slots:
    void quittingDuringAWaitEndsTheAddition();
};

void PlaylistQuitTest::quittingDuringAWaitEndsTheAddition()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.backend.setThumbnailsHeld(true);

    bool appended = true;
    qint64 spentMs = -1;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [] { QCoreApplication::quit(); });
        QElapsedTimer clock;
        clock.start();
        // The thumbnail is never answered: only quitting can end this wait.
        appended = d->appendPlaylistWithoutDublicates(
            {"/media/one.mkv", "/media/two.mp3", "/media/three.mkv"});
        spentMs = clock.elapsed();
    });
    // Should quitting not end the wait, the answer comes after all, so that
    // the test fails instead of hanging.
    QTimer::singleShot(5000, [&] {
        app.backend.setThumbnailsHeld(false);
        app.backend.answerHeldThumbnails();
    });
    // Quitting acts on the application's own loop only.
    QCoreApplication::exec();

    QVERIFY(!appended);
    QVERIFY2(spentMs >= 0 && spentMs < 4000, qPrintable(QString::number(spentMs)));
    // It stopped at the first path: nothing appended, nothing else fetched.
    QVERIFY(d->mediaPlaylist()->isEmpty());
    QCOMPARE(app.backend.thumbnailsFetched, QStringList{"/media/one.mkv"});
    QCOMPARE(app.backend.heldThumbnailCount(), 0);
    QCOMPARE(d->thumbSemphore()->available(), 0);
}

QTEST_MAIN(PlaylistQuitTest)
#include "tst_playlistquit.moc"
