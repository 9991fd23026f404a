// The controls overlay as its interface file builds it: the controls handed
// to AppDelegate, their actions, their activity notification, and the overlay
// following the main window into full screen.
#include "PlaybackApp.h"
#include "app/NotificationCenter.h"
#include "chrome/MouseDownNotification.h"
#include "chrome/NotificateNSButton.h"
#include "chrome/NotificateNSSlider.h"
#include "chrome/UIController.h"

#include <QtTest>

namespace {

template <typename T> T *overlayChild(const LaunchedApp &app, const char *name)
{
    return app.appDelegate->userInterfaceWindow()->findChild<T *>(QLatin1String(name));
}

// Records the activity notifications posted while it lives.
struct NotificationRecorder : QObject {
    QList<Notification> seen;
    NotificationRecorder()
    {
        NotificationCenter::defaultCenter().addObserver(
            MOUSE_DOWN_NOTIFICATION, this,
            [this](const Notification &notification) { seen.append(notification); });
    }
};

} // namespace

class OverlayTest : public QObject {
    Q_OBJECT
private slots:
    void controlsAreHandedToAppDelegate();
    void volumeSliderStartsAtTheEngineScale();
    void buttonsShowImagesFromTheResources();
    void timeLabelsShowOneOfTotalAndRemaining();
    void backgroundImageTakesOnlyItsOwnPlace();
    void buttonsReachTheirActions_data();
    void buttonsReachTheirActions();
    void slidersSendOnlyTheUsersChanges();
    void buttonPressPostsActivityAsItBegins();
    void sliderPressPostsActivityWhenReleased();
    void notificationCentreDeliversByNameWhileTheReceiverLives();
    void overlayFollowsTheMainWindowIntoFullScreenAndBack();
};

void OverlayTest::controlsAreHandedToAppDelegate()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    const QList<QPair<const char *, QObject *>> handedOver = {
        {"playPauseButton", d->playPauseButton()},
        {"muteButton", d->muteButton()},
        {"maxVolumeButton", d->maxVolumeButton()},
        {"rewindForwardButton", d->rewindForwardButton()},
        {"rewindBackwardButton", d->rewindBackwardButton()},
        {"spentTimeLabel", d->spentTimeLabel()},
        {"remainingTimeLabel", d->remainingTimeLabel()},
        {"mediaProgressSlider", d->mediaProgressSlider()},
        {"volumeSlider", d->volumeSlider()},
        {"showPlaylistButton", d->showPlaylistButton()},
        {"mediaName", d->mediaName()},
        {"mediaBackgroundImageView", d->mediaBackgroundImageView()},
        {"totalTimeLabel", d->totalTimeLabel()},
    };
    for (const auto &[name, control] : handedOver) {
        QVERIFY2(control, name);
        QCOMPARE(control, overlayChild<QWidget>(app, name));
    }
    QVERIFY(qobject_cast<NotificateNSSlider *>(d->mediaProgressSlider()));
    QVERIFY(qobject_cast<NotificateNSSlider *>(d->volumeSlider()));
    QVERIFY(qobject_cast<NotificateNSButton *>(d->playPauseButton()));
    // Next and previous are wired, not handed over.
    QVERIFY(!d->nextMediaButton());
    QVERIFY(!d->prevMediaButton());
    QVERIFY(overlayChild<NotificateNSButton>(app, "nextMediaButton"));
    QVERIFY(overlayChild<NotificateNSButton>(app, "prevMediaButton"));
    // Nothing plays yet: the background image stands in for the picture.
    QVERIFY(!d->mediaBackgroundImageView()->isHidden());
    QVERIFY(!d->mediaBackgroundImageView()->pixmap().isNull());
    QVERIFY(!d->mediaProgressSlider()->isEnabled());
}

void OverlayTest::volumeSliderStartsAtTheEngineScale()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    QSlider *volume = app.appDelegate->volumeSlider();
    QCOMPARE(volume->minimum(), 0);
    QCOMPARE(volume->maximum(), 200);
    QCOMPARE(volume->value(), 100);
    QCOMPARE(app.appDelegate->curVolume(), int64_t(100));
}

void OverlayTest::buttonsShowImagesFromTheResources()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    const QList<NotificateNSButton *> buttons =
        app.appDelegate->userInterfaceWindow()->findChildren<NotificateNSButton *>();
    QVERIFY(buttons.size() >= 8);
    for (NotificateNSButton *button : buttons) {
        for (const QString &image : {button->image(), button->alternateImage()}) {
            QVERIFY2(QFile::exists(QStringLiteral(":/images/%1.svg").arg(image)),
                     qPrintable(button->objectName() + ": " + image));
        }
    }
    auto *playPause = qobject_cast<ImageButton *>(app.appDelegate->playPauseButton());
    QCOMPARE(playPause->image(), QStringLiteral("play"));
    QCOMPARE(playPause->alternateImage(), QStringLiteral("play-pressed"));
}

void OverlayTest::timeLabelsShowOneOfTotalAndRemaining()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    QVERIFY(d->totalTimeLabel()->isHidden() != d->remainingTimeLabel()->isHidden());
    for (QLabel *label : {d->spentTimeLabel(), d->remainingTimeLabel(), d->totalTimeLabel()})
        QCOMPARE(label->text(), QStringLiteral("00:00:00"));
}

void OverlayTest::backgroundImageTakesOnlyItsOwnPlace()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    QWidget *overlay = app.appDelegate->userInterfaceWindow();
    QLabel *image = app.appDelegate->mediaBackgroundImageView();
    overlay->resize(960, 540);
    QTRY_COMPARE(image->size(), image->pixmap().size());
    // In the middle of the video area, between the strips.
    const QRect place(image->mapTo(overlay, QPoint(0, 0)), image->size());
    QCOMPARE(place.left() + place.width() / 2, overlay->width() / 2);
    QVERIFY(place.top() >= 30 && place.bottom() < overlay->height() - 72);
    // The overlay follows a small window (with the playlist panel open, the
    // smallest leaves it 180 wide); nothing inside holds it open.
    overlay->resize(180, 250);
    QTRY_COMPARE(overlay->size(), QSize(180, 250));
    QVERIFY(image->height() <= 250 - 30 - 72);
}

void OverlayTest::buttonsReachTheirActions_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("lastCall");
    QTest::addColumn<int64_t>("mediaIndex");
    QTest::addColumn<int>("volume");
    QTest::addRow("play/pause pauses") << "playPauseButton"
                                       << "pause" << int64_t(1) << 100;
    QTest::addRow("next plays the next entry") << "nextMediaButton"
                                               << "play" << int64_t(2) << 100;
    QTest::addRow("previous plays the entry before") << "prevMediaButton"
                                                     << "play" << int64_t(0) << 100;
    QTest::addRow("forward seeks 5 s on") << "rewindForwardButton"
                                          << "setTime 25000" << int64_t(1) << 100;
    QTest::addRow("backward seeks 5 s back") << "rewindBackwardButton"
                                             << "setTime 15000" << int64_t(1) << 100;
    QTest::addRow("mute") << "muteButton"
                          << "play" << int64_t(1) << 0;
    QTest::addRow("maximum volume") << "maxVolumeButton"
                                    << "play" << int64_t(1) << 200;
}

void OverlayTest::buttonsReachTheirActions()
{
    QFETCH(QString, button);
    QFETCH(QString, lastCall);
    QFETCH(int64_t, mediaIndex);
    QFETCH(int, volume);
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("a.mp4"), 60000);
    app.add(QStringLiteral("b.mp4"), 60000);
    app.add(QStringLiteral("c.mp4"), 60000);
    QVERIFY(app.loadAndPlay(1));
    app.tick(20);
    auto *control = overlayChild<NotificateNSButton>(app, qPrintable(button));
    QVERIFY(control);
    control->click();
    QCOMPARE(app.player()->calls.last(), lastCall);
    QCOMPARE(d->mediaIndex(), mediaIndex);
    QCOMPARE(app.player()->audio()->volume(), volume);
}

void OverlayTest::slidersSendOnlyTheUsersChanges()
{
    PlaybackApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    app.add(QStringLiteral("a.mp4"), 60000);
    QVERIFY(app.loadAndPlay(0));
    app.player()->calls.clear();

    // Values set in code, as each tick sets the position, send nothing.
    d->mediaProgressSlider()->setValue(30);
    d->volumeSlider()->setValue(150);
    QVERIFY(app.player()->calls.isEmpty());
    QCOMPARE(d->curVolume(), int64_t(100));

    // A user's step reaches AppDelegate with the new value already in place.
    d->mediaProgressSlider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(app.player()->calls, QStringList{"setTime 31000"});
    QCOMPARE(d->timer()->getSpentTimeUint(), 31u);
    d->volumeSlider()->triggerAction(QAbstractSlider::SliderPageStepSub);
    QCOMPARE(d->curVolume(), int64_t(150 - d->volumeSlider()->pageStep()));
    QCOMPARE(app.player()->audio()->volume(), 150 - d->volumeSlider()->pageStep());
}

void OverlayTest::buttonPressPostsActivityAsItBegins()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    NotificationRecorder recorder;
    QAbstractButton *mute = app.appDelegate->muteButton();
    QTest::mousePress(mute, Qt::LeftButton);
    QCOMPARE(recorder.seen.size(), 1);
    QCOMPARE(recorder.seen[0].name, QStringLiteral("MOUSE_DOWN_NOTIFICATION"));
    QCOMPARE(recorder.seen[0].object.data(), mute);
    QTest::mouseRelease(mute, Qt::LeftButton);
    QCOMPARE(recorder.seen.size(), 1);
    // The press went on to the button itself.
    QCOMPARE(app.appDelegate->volumeSlider()->value(), 0);
}

void OverlayTest::sliderPressPostsActivityWhenReleased()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    NotificationRecorder recorder;
    QSlider *volume = app.appDelegate->volumeSlider();
    volume->window()->resize(800, 400);
    QTest::mousePress(volume, Qt::LeftButton, {}, volume->rect().center());
    QVERIFY(recorder.seen.isEmpty());
    QTest::mouseRelease(volume, Qt::LeftButton, {}, volume->rect().center());
    QCOMPARE(recorder.seen.size(), 1);
    QCOMPARE(recorder.seen[0].object.data(), volume);
}

void OverlayTest::notificationCentreDeliversByNameWhileTheReceiverLives()
{
    NotificationCenter center;
    QObject sender;
    auto receiver = std::make_unique<QObject>();
    QStringList heard;
    center.addObserver(QStringLiteral("A"), receiver.get(), [&](const Notification &n) {
        heard.append(n.name + (n.object == &sender ? " from sender" : " from elsewhere"));
    });
    center.addObserver(QStringLiteral("B"), receiver.get(),
                       [&](const Notification &n) { heard.append(n.name); });
    center.post(QStringLiteral("A"), &sender);
    center.post(QStringLiteral("C"), &sender);
    center.post(QStringLiteral("B"), nullptr);
    QCOMPARE(heard, QStringList({"A from sender", "B"}));
    receiver.reset();
    center.post(QStringLiteral("A"), &sender);
    QCOMPARE(heard.size(), 2);
}

void OverlayTest::overlayFollowsTheMainWindowIntoFullScreenAndBack()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    AppDelegate *d = app.appDelegate;
    QWidget *mainWindow = app.mainWindow();
    QWidget *overlay = d->userInterfaceWindow();
    // What the overlay covers: the main window's video area, on the screen.
    const auto videoArea = [d] { return QRect(d->mapToGlobal(QPoint(0, 0)), d->size()); };
    mainWindow->setGeometry(100, 80, 700, 450);
    QTRY_COMPARE(overlay->geometry(), videoArea());

    QAction *item = d->fullscreenMenuItem();
    QVERIFY(item);
    item->trigger();
    QTRY_VERIFY(mainWindow->isFullScreen());
    QTRY_COMPARE(mainWindow->geometry(), mainWindow->screen()->geometry());
    QTRY_COMPARE(overlay->geometry(), videoArea());
    QCOMPARE(overlay->geometry().bottomRight(), mainWindow->screen()->geometry().bottomRight());
    QVERIFY(overlay->isVisible());

    d->toggleWindowFullScreen(nullptr);
    QTRY_VERIFY(!mainWindow->isFullScreen());
    QTRY_COMPARE(mainWindow->geometry(), QRect(100, 80, 700, 450));
    QTRY_COMPARE(overlay->geometry(), videoArea());
    QVERIFY(overlay->isVisible());
}

QTEST_MAIN(OverlayTest)
#include "tst_overlay.moc"
