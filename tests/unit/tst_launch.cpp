// Start-up and window assembly on the real interface files, with a stand-in
// engine: what launching builds, the relayout on resize, the space bar and
// termination.
#include "LaunchedApp.h"
#include "app/Application.h"
#include "app/WindowLevel.h"
#include "chrome/UIController.h"
#include "controls/CustomView.h"
#include "playlist/PlaylistCell.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTemporaryFile>
#include <QtTest>

class LaunchTest : public QObject {
    Q_OBJECT
private slots:
    void launchBuildsWindowsAndLists();
    void playerIsHandedOverFromTheBackgroundThread();
    void quittingWhileThePlayerIsBeingCreated();
    void missingOutletsLeaveFieldsEmpty();
    void relayoutFollowsThePanel_data();
    void relayoutFollowsThePanel();
    void resizeOfAnotherWindowChangesNothing();
    void overlayFollowsTheMainWindow();
    void spaceTogglesPlaybackOutsideTheFilter();
    void spaceWithoutCurrentEntryChangesNothing();
    void terminationClosesOverlayAndStopsPlayer();
    void textReadsAgainstItsBackground_data();
    void textReadsAgainstItsBackground();
};

namespace {
QStringList launchWarnings;
}

void LaunchTest::launchBuildsWindowsAndLists()
{
    // Both interface files are wired whole: the loader warns of a connection
    // it cannot make, the code of an outlet it cannot find.
    launchWarnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtWarningMsg && !text.startsWith(QLatin1String("This plugin does not")))
                launchWarnings << text;
        });
    LaunchedApp app;
    const bool launched = app.launch();
    qInstallMessageHandler(previous);
    QVERIFY(launched);
    QCOMPARE(launchWarnings, QStringList());
    AppDelegate *d = app.appDelegate;

    QCOMPARE(applicationDelegate(), d);
    QVERIFY(d->mediaHolderView());
    QVERIFY(d->playlistView());
    QVERIFY(d->playlistView()->isHidden());
    QCOMPARE(d->playlistView()->BackgroundColor(),
             QColor::fromRgbF(41 / 255.0, 41 / 255.0, 41 / 255.0, 1.0));
    QVERIFY(!d->isPlaylistOpen());
    QVERIFY(!d->isPlaying());
    QCOMPARE(d->supportedVideoFormats(),
             QStringList({"avi", "mkv", "mp4", "mov", "webm", "wmv", "ogv"}));
    QCOMPARE(d->supportedAudioFormats(), QStringList({"wav", "mp3", "m4a", "ogg", "flac", "oga"}));

    // The video view sits in the holder with its frame and follows its size.
    QVERIFY(d->mediaView());
    QCOMPARE(d->mediaView()->parentWidget(), d->mediaHolderView());
    QCOMPARE(d->mediaView()->geometry(), d->mediaHolderView()->geometry());
    QVERIFY(d->mediaView()->fillScreen());
    QCOMPARE(d->mediaView()->autoresizingMask(), 18);

    QVERIFY(d->mediaPlaylist() && d->mediaPlaylist()->isEmpty());
    QVERIFY(d->mediaPreviews() && d->mediaPreviews()->isEmpty());
    QVERIFY(!app.access().visibleMediaPlaylist());
    QVERIFY(d->thumbSemphore());
    QCOMPARE(d->thumbSemphore()->available(), 0);

    // The level is raised during launch and back to normal at its end.
    QCOMPARE(windowLevel(app.mainWindow()), WindowLevel::Normal);

    // The overlay: a translucent tool window over the main window, placed on
    // the holder's screen rectangle.
    QWidget *overlay = d->userInterfaceWindow();
    QVERIFY(overlay);
    QCOMPARE(d->mediaInterfaceWindow(), app.mainWindow());
    QCOMPARE(overlay->parentWidget(), app.mainWindow());
    QVERIFY(overlay->isWindow());
    QVERIFY(overlay->windowFlags().testFlag(Qt::Tool));
    QVERIFY(overlay->testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(overlay, d->uiViewController()->view()->window());
    QCOMPARE(overlay->geometry(),
             QRect(d->mediaHolderView()->mapToGlobal(QPoint(0, 0)), d->mediaHolderView()->size()));
    QVERIFY(overlay->isVisible());
}

void LaunchTest::playerIsHandedOverFromTheBackgroundThread()
{
    FakeMediaBackend backend;
    AppDelegate *d = loadMainInterface(&backend);
    QVERIFY(d);
    std::unique_ptr<QWidget> window(d->window());
    QSignalSpy ready(d, &AppDelegate::mediaPlayerReady);
    d->applicationDidFinishLaunching();
    // Until the handover, no command finds a player and there is no current entry.
    QVERIFY(!d->mediaPlayer());
    QCOMPARE(d->mediaIndex(), -1);
    QVERIFY(ready.wait(5000));
    QCOMPARE(d->mediaPlayer(), backend.player());
    QCOMPARE(backend.player()->delegate(), static_cast<VLCMediaPlayerDelegate *>(d));
    QCOMPARE(d->mediaIndex(), -1);
    QCOMPARE(backend.playersMade(), 1);
}

void LaunchTest::quittingWhileThePlayerIsBeingCreated()
{
    FakeMediaBackend backend;
    backend.setPlayerCreationDelay(300);
    AppDelegate *d = loadMainInterface(&backend);
    QVERIFY(d);
    d->applicationDidFinishLaunching();
    d->applicationWillTerminate();
    QVERIFY(!d->mediaPlayer());
    delete d->window();
    // The player made after the window went is released, once.
    QCOMPARE(backend.playersMade(), 1);
    QCOMPARE(backend.playersReleased(), 1);
}

void LaunchTest::missingOutletsLeaveFieldsEmpty()
{
    // A main window without any of the expected views: launching still ends,
    // leaving every outlet empty.
    FakeMediaBackend backend;
    QMainWindow window;
    auto *d = new AppDelegate(&window);
    window.setCentralWidget(d);
    d->setMediaBackend(&backend);
    d->connectOutlets(&window);
    window.show();
    d->applicationDidFinishLaunching();
    QVERIFY(!d->playlistView());
    QVERIFY(!d->mediaHolderView());
    QVERIFY(!d->mediaView());
    // Without a video view there is nothing for a player to draw into.
    QVERIFY(!d->mediaPlayer());
    QVERIFY(d->mediaPlaylist());
    QVERIFY(d->userInterfaceWindow());
}

void LaunchTest::relayoutFollowsThePanel_data()
{
    QTest::addColumn<bool>("panelOpen");
    QTest::addColumn<QRect>("overlay");
    QTest::addColumn<QRect>("video");
    QTest::addRow("panel open, 300 wide")
        << true << QRect(100, 100, 700, 600) << QRect(0, 0, 700, 600);
    QTest::addRow("panel closed") << false << QRect(100, 100, 1000, 600) << QRect(0, 0, 1000, 600);
    QTest::addRow("status line shown, then gone")
        << false << QRect(100, 100, 1000, 600) << QRect(0, 0, 1000, 600);
}

void LaunchTest::relayoutFollowsThePanel()
{
    QFETCH(bool, panelOpen);
    QFETCH(QRect, overlay);
    QFETCH(QRect, video);
    LaunchedApp app;
    QVERIFY(app.launch());
    QCOMPARE(app.appDelegate->playlistView()->width(), 300);
    app.access().isPlaylistOpen() = panelOpen;
    // The window's content (below its menu bar) is the frame the overlay covers.
    const int menuHeight = app.appDelegate->mapTo(app.mainWindow(), QPoint(0, 0)).y();
    app.mainWindow()->setGeometry(100, 100 - menuHeight, 1000, 600 + menuHeight);
    QTRY_COMPARE(app.appDelegate->mainWindowFrame(), QRect(100, 100, 1000, 600));
    if (QTest::currentDataTag() == QByteArray("status line shown, then gone")) {
        // The window keeps its size; only its content changes.
        QStatusBar *status = app.access().additionStatusBar();
        status->show();
        QTRY_VERIFY(app.appDelegate->mainWindowFrame().height() < 600);
        QCOMPARE(app.appDelegate->userInterfaceWindow()->geometry().height(),
                 app.appDelegate->mainWindowFrame().height());
        status->hide();
        QTRY_COMPARE(app.appDelegate->mainWindowFrame(), QRect(100, 100, 1000, 600));
    }
    QCOMPARE(app.appDelegate->userInterfaceWindow()->geometry(), overlay);
    QCOMPARE(app.appDelegate->mediaView()->geometry(), video);
}

void LaunchTest::resizeOfAnotherWindowChangesNothing()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    QWidget *overlay = app.appDelegate->userInterfaceWindow();
    const QRect before = overlay->geometry();
    QWidget other;
    other.setGeometry(10, 10, 333, 222);
    app.appDelegate->windowDidResize(&other);
    app.appDelegate->windowDidResize(overlay);
    QCOMPARE(overlay->geometry(), before);
}

void LaunchTest::overlayFollowsTheMainWindow()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    QWidget *overlay = app.appDelegate->userInterfaceWindow();
    const QPoint offset = overlay->pos() - app.mainWindow()->geometry().topLeft();
    app.mainWindow()->move(app.mainWindow()->pos() + QPoint(40, 25));
    QTRY_COMPARE(overlay->pos() - app.mainWindow()->geometry().topLeft(), offset);

    app.mainWindow()->hide();
    QVERIFY(overlay->isHidden());
    app.mainWindow()->show();
    QVERIFY(overlay->isVisible());
}

void LaunchTest::spaceTogglesPlaybackOutsideTheFilter()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    QTemporaryFile file;
    QVERIFY(file.open());
    auto entry = std::make_shared<PlaylistEntry>(PlaylistEntry{file.fileName(), VLCTime(1000)});
    app.access().setMediaIndex(0);
    app.access().curMediaPath() = entry;

    QLineEdit *field = app.access().filterTextField();
    QVERIFY(field);
    app.appDelegate->playlistView()->show();
    QApplication::setActiveWindow(app.mainWindow());
    field->setFocus();
    QWindow *window = app.mainWindow()->windowHandle();

    // Typed into the filter, a space is text.
    QTest::keyClick(window, Qt::Key_Space);
    QVERIFY(app.player()->calls.isEmpty());
    QCOMPARE(field->text(), QStringLiteral(" "));

    app.access().playlistTableView()->setFocus();
    QTest::qWait(20);
    QTest::keyClick(window, Qt::Key_Space);
    QCOMPARE(app.player()->calls, QStringList{"play"});
    QVERIFY(app.appDelegate->isPlaying());

    // A new press comes later than the last release, as a hand makes it.
    QTest::qWait(20);
    QTest::keyClick(window, Qt::Key_Space, Qt::ShiftModifier);
    QCOMPARE(app.player()->calls, QStringList({"play", "pause"}));
    QVERIFY(!app.appDelegate->isPlaying());

    // A held key repeats its press; only the first press toggles.
    QTest::qWait(20);
    QTest::sendKeyEvent(QTest::Press, window, Qt::Key_Space, QStringLiteral(" "), Qt::NoModifier);
    QTest::simulateEvent(window, true, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QTest::simulateEvent(window, true, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QCOMPARE(app.player()->calls, QStringList({"play", "pause", "play"}));

    // X11 also sends a held key as a release and a press with one timestamp,
    // which Qt does not always mark as a repeat.
    const auto sendSpace = [window](QEvent::Type type, quint64 timestamp) {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        event.setTimestamp(timestamp);
        QCoreApplication::sendEvent(window, &event);
    };
    sendSpace(QEvent::KeyRelease, 5000);
    sendSpace(QEvent::KeyPress, 5000);
    QCOMPARE(app.player()->calls, QStringList({"play", "pause", "play"}));
    sendSpace(QEvent::KeyRelease, 5040);
    sendSpace(QEvent::KeyPress, 5300);
    QCOMPARE(app.player()->calls, QStringList({"play", "pause", "play", "pause"}));
}

void LaunchTest::spaceWithoutCurrentEntryChangesNothing()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    QApplication::setActiveWindow(app.mainWindow());
    QTest::keyClick(app.mainWindow()->windowHandle(), Qt::Key_Space);
    QVERIFY(app.player()->calls.isEmpty());
    QVERIFY(!app.appDelegate->isPlaying());
}

void LaunchTest::terminationClosesOverlayAndStopsPlayer()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    app.appDelegate->applicationWillTerminate();
    QVERIFY(!app.appDelegate->userInterfaceWindow()->isVisible());
    QCOMPARE(app.player()->calls, QStringList{"stop"});
}

QTEST_MAIN(LaunchTest)
#include "tst_launch.moc"

namespace {

double relativeLuminance(QRgb rgb)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

double contrastRatio(QRgb a, QRgb b)
{
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of the text in `area` of a strip over whatever shows through
// it (the picture, at its whitest or darkest): the most common colour is the
// background, the pixel furthest from it the core of a glyph.
double textContrast(QWidget *strip, const QRect &area)
{
    double worst = 21.0;
    for (const QColor &beneath : {QColor(Qt::white), QColor(Qt::black)}) {
        QImage image(strip->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(beneath);
        strip->render(&image);
        image = image.copy(area);
        QHash<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ++counts[image.pixel(x, y)];
        const QRgb background = std::max_element(counts.cbegin(), counts.cend()).key();
        double best = 1.0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            best = std::max(best, contrastRatio(background, it.key()));
        worst = std::min(worst, best);
    }
    return worst;
}

} // namespace

void LaunchTest::textReadsAgainstItsBackground_data()
{
    QTest::addColumn<QString>("name");
    // For a label of the playlist's cell, the table row it is drawn in (row 0
    // selected); -1 for the window's own widgets.
    QTest::addColumn<int>("row");
    QTest::addRow("the status line") << "additionStatusBar" << -1;
    QTest::addRow("the spent time over the picture") << "spentTimeLabel" << -1;
    QTest::addRow("the remaining time over the picture") << "remainingTimeLabel" << -1;
    QTest::addRow("the media name over the picture") << "mediaName" << -1;
    QTest::addRow("the filter field's placeholder") << "filterTextField" << -1;
    QTest::addRow("the add button") << "addMediaButton" << -1;
    QTest::addRow("the remove button") << "removeMediaButton" << -1;
    QTest::addRow("a row's name") << "mediaName" << 1;
    QTest::addRow("a row's location") << "location" << 1;
    QTest::addRow("a selected row's details") << "details" << 0;
    QTest::addRow("a selected row's location") << "location" << 0;
}

void LaunchTest::textReadsAgainstItsBackground()
{
    QFETCH(QString, name);
    QFETCH(int, row);
    LaunchedApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.access().additionStatusBar()->showMessage(QStringLiteral("Adding 12 of 345"));
    d->mediaName()->setText(QStringLiteral("Holiday"));
    QWidget *strip = nullptr;
    QRect area;
    if (row >= 0) {
        for (const char *path : {"/Media/My Films/Holiday.mp4", "/Media/Music/Song.mp3"})
            app.access().playlist().append(
                std::make_shared<PlaylistEntry>(PlaylistEntry{path, VLCTime(62000)}), nullptr);
        app.access().setMediaIndex(0);
        d->dropFilter();
        d->showPlaylistButtonClick();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        // The cell as it is laid out and filled for that row, placed where the row is.
        QTableView *table = app.access().playlistTableView();
        PlaylistCell *cell = d->tableViewViewForTableColumnRow(table, 0, row);
        QVERIFY(cell);
        QWidget *label = cell->findChild<QWidget *>(name);
        QVERIFY(label);
        strip = d->playlistView();
        const QPoint rowOrigin = table->viewport()->mapTo(
            strip, table->visualRect(table->model()->index(row, 0)).topLeft());
        area = QRect(rowOrigin + label->mapTo(cell, QPoint(0, 0)), label->size());
    } else {
        QWidget *widget = app.mainWindow()->findChild<QWidget *>(name);
        if (!widget)
            widget = d->userInterfaceWindow()->findChild<QWidget *>(name);
        QVERIFY(widget);
        d->playlistView()->show();
        widget->show();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        // What lies behind the text within the window, as the window draws it.
        strip = widget->parentWidget() && widget->parentWidget()->inherits("CustomView")
                    ? widget->parentWidget()
                    : widget;
        area = QRect(widget->mapTo(strip, QPoint(0, 0)), widget->size());
    }
    const double contrast = textContrast(strip, area);
    QVERIFY2(contrast >= 4.5, QByteArray::number(contrast));
}
