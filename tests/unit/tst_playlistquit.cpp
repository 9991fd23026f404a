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
        // Quits as soon as the first fetch is held: the files are known to be
        // files by then.
        QTimer quitting;
        quitting.callOnTimeout([&] {
            if (app.backend.heldThumbnailCount() > 0)
                QCoreApplication::quit();
        });
        QTimer::singleShot(0, [&] {
            quitting.start(0);
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
