// Quitting while an addition waits for a thumbnail. Quitting ends every running
// event loop and keeps new ones from running, hence a process of its own.
#include "LaunchedApp.h"

#include <QtTest>

class PlaylistQuitTest : public QObject {
    Q_OBJECT
private slots:
    void quittingDuringAWaitEndsTheAddition()
    {
        LaunchedApp app;
        QVERIFY(app.launch());
        app.backend.setThumbnailsHeld(true);
        bool appended = true;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [] { QCoreApplication::quit(); });
            appended = app.appDelegate->appendPlaylistWithoutDublicates(
                {"/media/one.mkv", "/media/two.mp3", "/media/three.mkv"});
        });
        // Should quitting not end the wait, the answer comes after all: a failure, not a hang.
        QTimer::singleShot(5000, [&] {
            app.backend.setThumbnailsHeld(false);
            app.backend.answerHeldThumbnails();
        });
        QCoreApplication::exec();

        QVERIFY(!appended);
        // It stopped at the first path, leaving no answer behind; the late answer would
        // have fetched the third.
        QCOMPARE(app.backend.thumbnailsFetched, QStringList{"/media/one.mkv"});
        QCOMPARE(app.backend.heldThumbnailCount(), 0);
        QCOMPARE(app.appDelegate->thumbSemphore()->available(), 0);
    }
};

QTEST_MAIN(PlaylistQuitTest)
#include "tst_playlistquit.moc"
