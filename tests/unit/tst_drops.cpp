// What a drop does, on the stand-in engine: files dropped on the video area
// replace what plays and close the playlist panel; dropped on the table they
// only join the playlist; a drop that names no file changes nothing. Folders
// chosen from the File menu add the media inside them.
#include "PlaybackApp.h"

#include <QDir>
#include <QFileDialog>
#include <QMimeData>
#include <QtTest>

struct Drop {
    const char *target; // the object name of the view it is released over
    QByteArray format;
    QByteArray data;     // none: the dropped files' addresses
    QStringList dropped; // files made in the app's folder
    bool accepted;
    QString playing; // what plays afterwards
    int added;
    bool panelOpen; // afterwards; it is open before
};
Q_DECLARE_METATYPE(Drop)

class DropsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PlaybackApp> app;
    AppDelegate *d = nullptr;

    // The view of either window with that object name; the table's own drops
    // land on its viewport.
    QWidget *target(const char *name) const
    {
        for (QWidget *window : {d->window(), d->userInterfaceWindow()}) {
            if (auto *table = window->findChild<QAbstractItemView *>(name))
                return table->viewport();
            if (auto *view = window->findChild<QWidget *>(name))
                return view;
        }
        return nullptr;
    }

    // Enters, moves and releases the drag over the middle of the view, as the
    // window system does; whether the drop was taken.
    static bool release(QWidget *view, const QMimeData &data)
    {
        const QPoint middle = view->rect().center();
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(middle, actions, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(view, &enter);
        QDragMoveEvent move(middle, actions, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(view, &move);
        QDropEvent drop(middle, actions, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(view, &drop);
        return enter.isAccepted() && move.isAccepted() && drop.isAccepted() &&
               drop.dropAction() == Qt::CopyAction;
    }

private slots:
    void init()
    {
        app = std::make_unique<PlaybackApp>();
        QVERIFY(app->launch());
        d = app->appDelegate;
    }
    void cleanup() { app.reset(); }

    void dropOnTheVideoOrTheTable_data()
    {
        QTest::addColumn<Drop>("drop");
        const QByteArray list = "text/uri-list";
        QTest::addRow("on the video area: replaces what plays, closes the panel")
            << Drop{"view", list, {}, {"new.mkv", "next.mp4"}, true, "new.mkv", 2, false};
        QTest::addRow("on the picture's holder, bare without a compositor: the same")
            << Drop{"mediaHolderView", list, {}, {"new.mkv"}, true, "new.mkv", 1, false};
        QTest::addRow("on the table: joins the playlist, what plays plays on") << Drop{
            "playlistTableView", list, {}, {"new.mkv", "next.mp4"}, true, "old.mp4", 2, true};
        QTest::addRow("an image on the background image: refused, the image stays")
            << Drop{"mediaBackgroundImageView", list, {}, {"cover.png"}, false, "old.mp4", 0, true};
        QTest::addRow("plain text: taken, nothing changes")
            << Drop{"view", "text/plain", "new.mkv", {"new.mkv"}, true, "old.mp4", 0, true};
        QTest::addRow("a web address: taken, nothing changes") << Drop{
            "view", list, "https://example.org/new.mkv\r\n", {"new.mkv"}, true, "old.mp4", 0, true};
    }
    void dropOnTheVideoOrTheTable()
    {
        QFETCH(Drop, drop);
        app->add(QStringLiteral("old.mp4"), 60000);
        QVERIFY(app->loadAndPlay(0));
        d->showPlaylistButtonClick(d->showPlaylistButton());
        QVERIFY(d->isPlaylistOpen());
        QByteArray uris;
        for (const QString &name : drop.dropped) {
            QVERIFY(QFile(app->pathOf(name)).open(QIODevice::WriteOnly));
            uris += NativePath::fileUrl(app->pathOf(name)).toEncoded() + "\r\n";
        }
        QMimeData data;
        data.setData(QString::fromLatin1(drop.format), drop.data.isEmpty() ? uris : drop.data);
        QWidget *view = target(drop.target);
        // Registered as it came from the interface file.
        QVERIFY(view && view->acceptDrops());
        const QPixmap image = d->mediaBackgroundImageView()->pixmap();
        QCOMPARE(release(view, data), drop.accepted);
        // The files are added on the event loop's next turns.
        QTRY_COMPARE(d->mediaPlaylist()->size(), 1 + drop.added);
        QCOMPARE(app->currentPath(), app->pathOf(drop.playing));
        QVERIFY(d->isPlaying());
        QCOMPARE(d->mediaPlaylist()->size(), 1 + drop.added);
        QCOMPARE(d->mediaPlaylist()->last()->path,
                 app->pathOf(drop.added ? drop.dropped.last() : "old.mp4"));
        QCOMPARE(d->isPlaylistOpen(), drop.panelOpen);
        QCOMPARE(d->playlistView()->isHidden(), !drop.panelOpen);
        QCOMPARE(d->mediaBackgroundImageView()->pixmap().cacheKey(), image.cacheKey());
    }

    void addFolderItemAddsTheMediaInsideAndPlaysTheFirst()
    {
        QVERIFY(QDir(app->folder.path()).mkpath("show/season 1"));
        for (const char *name :
             {"show/10.mp4", "show/2.mp4", "show/notes.txt", "show/season 1/1.mkv"})
            QVERIFY(QFile(app->pathOf(name)).open(QIODevice::WriteOnly));
        // The dialog is chosen in as soon as it shows; should it not show, the
        // test fails instead of waiting.
        QTimer choose;
        choose.callOnTimeout([&] {
            if (auto *panel = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                panel->setDirectory(app->pathOf("show"));
                static_cast<QDialog *>(panel)->accept(); // as the Choose button does
            }
        });
        choose.start(10);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        giveUp.callOnTimeout([] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        giveUp.start(5000);
        app->mainWindow()->findChild<QAction *>("addFolderMenuItem")->trigger();
        QStringList added;
        for (const MediaEntry &entry : *d->mediaPlaylist())
            added.append(QDir(app->folder.path()).relativeFilePath(entry->path));
        QCOMPARE(added, QStringList({"show/2.mp4", "show/10.mp4", "show/season 1/1.mkv"}));
        QCOMPARE(app->currentPath(), app->pathOf("show/2.mp4"));
        QVERIFY(d->isPlaying());
    }
};

QTEST_MAIN(DropsTest)
#include "tst_drops.moc"
