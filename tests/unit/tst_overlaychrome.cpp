// The overlay's chrome on the real interface files: the window buttons and
// what they do, the full-screen observers, the time read-out, the menus and
// their shortcuts without a menu bar, activity from the controls, and the
// names a screen reader says.
#include "PlaybackApp.h"
#include "chrome/FullScreenNotifications.h"
#include "chrome/NoTitleWindow.h"
#include "chrome/TrackingMainView.h"
#include "chrome/TrackingTitlebarView.h"
#include "chrome/UIController.h"

#include <QAccessible>
#include <QMainWindow>
#include <QMenuBar>
#include <QSlider>
#include <QTableView>
#include <QtTest>

class OverlayChromeTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        app = std::make_unique<PlaybackApp>();
        QVERIFY(app->launch());
        QVERIFY(QTest::qWaitForWindowExposed(overlay()));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    void cleanup() { app.reset(); }

    void titleBarHoldsTheWindowButtons()
    {
        // The strip is 45 high: AppKit's y = 15, from the bottom, centres the buttons.
        QCOMPARE(titlebar()->height(), 45);
        const QList<QAbstractButton *> buttons = {
            titlebar()->closeButton(), titlebar()->minimazeButton(), titlebar()->maximazeButton()};
        const QList<QRect> frames = {{5, 15, 15, 15}, {25, 15, 15, 15}, {45, 15, 15, 15}};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(buttons[i]);
            QCOMPARE(buttons[i]->parentWidget(), titlebar());
            QCOMPARE(buttons[i]->geometry(), frames[i]);
        }
        QCOMPARE(view()->views(),
                 QList<QPointer<QWidget>>({widget("titlebarView"), widget("controlsBarView"),
                                           widget("showPlaylistButton")}));
        const auto grey = [](qreal alpha) {
            return QColor::fromRgbF(41 / 255.0, 41 / 255.0, 41 / 255.0, alpha);
        };
        QCOMPARE(titlebar()->BackgroundColor(), grey(0.85));
        QCOMPARE(view()->BackgroundColor(), grey(0.06));
    }
    void windowButtonsActOnTheMainWindow_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<Qt::WindowState>("state");
        QTest::addRow("minimize minimizes the main window") << "Minimize" << Qt::WindowMinimized;
        QTest::addRow("zoom takes it to full screen") << "Full Screen" << Qt::WindowFullScreen;
    }
    void windowButtonsActOnTheMainWindow()
    {
        QFETCH(QString, button);
        QFETCH(Qt::WindowState, state);
        titlebar()->mouseEntered();
        QAbstractButton *pressed = nullptr;
        for (QAbstractButton *b : titlebar()->findChildren<QAbstractButton *>())
            if (b->accessibleName() == button)
                pressed = b;
        QVERIFY(pressed);
        pressed->click();
        QCOMPARE(app->mainWindow()->windowState(), state);
        QCOMPARE(overlay()->windowState(), Qt::WindowNoState);
        QVERIFY(!titlebar()->_mouseInGroup(pressed));
        // Minimized, the overlay goes with the main window.
        QCOMPARE(overlay()->isHidden(), state == Qt::WindowMinimized);
    }
    void fullScreenObserversHearAnyWindow_data()
    {
        QTest::addColumn<bool>("fromMainWindow");
        QTest::addRow("the main window") << true;
        QTest::addRow("another window") << false;
    }
    void fullScreenObserversHearAnyWindow()
    {
        QFETCH(bool, fromMainWindow);
        QWidget other;
        const auto fullScreen = [&](bool enter) {
            if (fromMainWindow)
                toggleFullScreen(app->mainWindow());
            else
                NotificationCenter::defaultCenter().post(
                    enter ? NSWindowDidEnterFullScreenNotification
                          : NSWindowDidExitFullScreenNotification,
                    &other);
        };
        QAction *item = app->appDelegate->fullscreenMenuItem();
        QAbstractButton *zoom = titlebar()->maximazeButton();
        for (bool enter : {true, false}) {
            fullScreen(enter);
            QCOMPARE(item->text(), enter ? "Exit Full Screen" : "Enter Full Screen");
            QCOMPARE(zoom->accessibleName(), enter ? "Exit Full Screen" : "Full Screen");
            QCOMPARE(titlebar()->minimazeButton()->isEnabled(), !enter);
            for (QAbstractButton *button :
                 {titlebar()->closeButton(), titlebar()->minimazeButton(), zoom})
                QCOMPARE(button->isHidden(), enter);
        }
    }
    void showTimeSwapsTheReadouts_data()
    {
        QTest::addColumn<bool>("bothHidden");
        QTest::addColumn<int>("calls");
        QTest::addColumn<bool>("totalShown");
        QTest::addColumn<bool>("remainingShown");
        QTest::addRow("one call swaps them") << false << 1 << true << false;
        QTest::addRow("two calls restore them") << false << 2 << false << true;
        QTest::addRow("both hidden: one call shows both") << true << 1 << true << true;
    }
    void showTimeSwapsTheReadouts()
    {
        QFETCH(bool, bothHidden);
        QFETCH(int, calls);
        QFETCH(bool, totalShown);
        QFETCH(bool, remainingShown);
        QLabel *total = app->appDelegate->totalTimeLabel();
        QLabel *remaining = app->appDelegate->remainingTimeLabel();
        QVERIFY(total->isHidden() && !remaining->isHidden());
        remaining->setHidden(bothHidden);
        // The first swap is a click on the read-out, as a user makes it.
        QTest::mouseClick(remaining->isHidden() ? total : remaining, Qt::LeftButton);
        for (int i = 1; i < calls; ++i)
            controller()->showTime();
        QCOMPARE(!total->isHidden(), totalShown);
        QCOMPARE(!remaining->isHidden(), remainingShown);
    }
    void menusOpenFromTheTitleBarAndThePicture_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addRow("the title bar's button") << "menuButton";
        QTest::addRow("the overlay's background") << "view";
        QTest::addRow("the picture where the overlay lets it through") << "mediaHolderView";
    }
    void menusOpenFromTheTitleBarAndThePicture()
    {
        QFETCH(QString, from);
        QMenu *menu = app->appDelegate->mainMenu();
        QVERIFY(menu);
        // The menu bar's menus, the application menu first.
        const QList<QAction *> barMenus =
            qobject_cast<QMainWindow *>(app->mainWindow())->menuBar()->actions();
        QCOMPARE(menu->actions(), barMenus);
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("Glaze"));
        if (auto *button = widget<QAbstractButton>(qPrintable(from))) {
            button->click();
        } else {
            QWidget *target = from == "view" ? view() : app->appDelegate->mediaHolderView();
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(40, 80),
                                    target->mapToGlobal(QPoint(40, 80)));
            QApplication::sendEvent(target, &event);
        }
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    }
    // Where the focus is, what a key does, told by what it leaves: the state
    // of playback, the volume, the window, the panel, the filter and the list.
    void keysDriveThePlayerUnlessTyping_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("after");
        const int none = Qt::NoModifier;
        const int ctrl = Qt::ControlModifier;
        QTest::addRow("Space pauses") << "video" << int(Qt::Key_Space) << none
                                      << "paused a 5s vol100 window 0 panel 0 filter '' 2 entries";
        QTest::addRow("Space in the overlay, its controls hidden")
            << "overlay hidden" << int(Qt::Key_Space) << none
            << "paused a 5s vol100 window 0 panel 0 filter '' 2 entries";
        QTest::addRow("Space types into the filter")
            << "filter" << int(Qt::Key_Space) << none
            << "playing a 5s vol100 window 0 panel 1 filter ' ' 2 entries";
        QTest::addRow("Right seeks on")
            << "video" << int(Qt::Key_Right) << none
            << "playing a 10s vol100 window 0 panel 0 filter '' 2 entries";
        QTest::addRow("Left seeks back from the table")
            << "table" << int(Qt::Key_Left) << none
            << "playing a 0s vol100 window 0 panel 1 filter '' 2 entries";
        QTest::addRow("Left moves the filter's cursor")
            << "filter" << int(Qt::Key_Left) << none
            << "playing a 5s vol100 window 0 panel 1 filter '' 2 entries";
        QTest::addRow("Up raises the volume")
            << "video" << int(Qt::Key_Up) << none
            << "playing a 5s vol120 window 0 panel 0 filter '' 2 entries";
        QTest::addRow("Down lowers it from the table")
            << "table" << int(Qt::Key_Down) << none
            << "playing a 5s vol80 window 0 panel 1 filter '' 2 entries";
        QTest::addRow("M mutes") << "video" << int(Qt::Key_M) << none
                                 << "playing a 5s vol0 window 0 panel 0 filter '' 2 entries";
        QTest::addRow("M types into the filter")
            << "filter" << int(Qt::Key_M) << none
            << "playing a 5s vol100 window 0 panel 1 filter 'm' 2 entries";
        QTest::addRow("F enters full screen")
            << "video" << int(Qt::Key_F) << none
            << "playing a 5s vol100 window 1 panel 0 filter '' 2 entries";
        QTest::addRow("F11 from the overlay, its controls hidden")
            << "overlay hidden" << int(Qt::Key_F11) << none
            << "playing a 5s vol100 window 1 panel 0 filter '' 2 entries";
        QTest::addRow("Page Down goes to the next")
            << "video" << int(Qt::Key_PageDown) << none
            << "playing b 0s vol100 window 0 panel 0 filter '' 2 entries";
        QTest::addRow("Ctrl+L opens the panel")
            << "video" << int(Qt::Key_L) << ctrl
            << "playing a 5s vol100 window 0 panel 1 filter '' 2 entries";
        QTest::addRow("Ctrl+F opens the panel into the filter")
            << "video" << int(Qt::Key_F) << ctrl
            << "playing a 5s vol100 window 0 panel 1 filter '' 2 entries typing";
        QTest::addRow("Delete removes the selected row")
            << "table" << int(Qt::Key_Delete) << none
            << "playing a 5s vol100 window 0 panel 1 filter '' 1 entries";
    }
    void keysDriveThePlayerUnlessTyping()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, after);
        auto *mainWindow = qobject_cast<QMainWindow *>(app->mainWindow());
        QVERIFY(mainWindow->menuBar()->isHidden());
        app->add("a.mp4", 60000);
        app->add("b.mp4", 60000);
        QVERIFY(app->loadAndPlay(0));
        app->tick(5);
        auto *table = app->mainWindow()->findChild<QTableView *>("playlistTableView");
        auto *field = app->access().filterTextField();
        QWidget *target = mainWindow;
        if (focus == "table" || focus == "filter") {
            app->appDelegate->showPlaylistButtonClick();
            target = focus == "table" ? static_cast<QWidget *>(table) : field;
            // Not the playing row: Delete takes the selected one.
            table->selectRow(1);
        } else if (focus == "overlay hidden") {
            hideGroup();
            target = overlay();
        }
        QApplication::setActiveWindow(target->window());
        target->setFocus();
        QTest::keyClick(target->window()->windowHandle(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
        app->tick(0);

        const auto *d = app->appDelegate;
        QString state = QStringLiteral("%1 %2 %3s vol%4 window %5 panel %6 filter '%7' %8 entries")
                            .arg(d->isPlaying() ? "playing" : "paused",
                                 QFileInfo(app->currentPath()).baseName())
                            .arg(app->player()->time().milliseconds() / 1000)
                            .arg(d->volumeSlider()->value())
                            .arg(int(mainWindow->isFullScreen()))
                            .arg(int(d->isPlaylistOpen()))
                            .arg(field->text())
                            .arg(d->mediaPlaylist()->size());
        if (QApplication::focusWidget() == field && focus != "filter")
            state += QStringLiteral(" typing");
        QCOMPARE(state, after);
    }
    void noKeyDoesTwoThings()
    {
        QHash<QKeySequence, QString> owners;
        for (QAction *action : app->mainWindow()->findChildren<QAction *>()) {
            for (const QKeySequence &key : action->shortcuts()) {
                QVERIFY2(!owners.contains(key), qPrintable(key.toString() + " is " + owners[key] +
                                                           " and " + action->objectName()));
                owners.insert(key, action->objectName());
            }
        }
        // The keys the key monitor reads are no item's.
        for (const auto key : {Qt::Key_Space, Qt::Key_F, Qt::Key_Escape})
            QVERIFY(!owners.contains(QKeySequence(key)));
    }
    void escapeLeavesFullScreenAndTheWheelTurnsTheVolume()
    {
        auto *mainWindow = app->mainWindow();
        QApplication::setActiveWindow(mainWindow);
        QTest::keyClick(mainWindow->windowHandle(), Qt::Key_Escape);
        QVERIFY(!mainWindow->isFullScreen());
        QTest::keyClick(mainWindow->windowHandle(), Qt::Key_F11);
        QVERIFY(mainWindow->isFullScreen());
        QTest::keyClick(mainWindow->windowHandle(), Qt::Key_Escape);
        QVERIFY(!mainWindow->isFullScreen());

        QSlider *volume = app->appDelegate->volumeSlider();
        const int before = volume->value();
        QWheelEvent up(QPointF(10, 10), view()->mapToGlobal(QPointF(10, 10)), {}, {0, 120},
                       Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view(), &up);
        QVERIFY(volume->value() > before);
    }
    void controlsCountAsActivity_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("pointerOnly");
        QTest::addRow("a button pressed") << "muteButton" << false;
        QTest::addRow("a slider released") << "volumeSlider" << false;
        QTest::addRow("the time read-out clicked") << "remainingTimeLabel" << false;
        QTest::addRow("the pointer moving over a button") << "playPauseButton" << true;
    }
    void controlsCountAsActivity()
    {
        QFETCH(QString, control);
        QFETCH(bool, pointerOnly);
        hideGroup();
        QWidget *target = widget(qPrintable(control));
        QVERIFY(target);
        view()->inactivityTimer().stop();
        // Hidden with its strip, the control is reached as if the pointer were there.
        target->parentWidget()->show();
        const QPoint middle = target->rect().center();
        if (pointerOnly) {
            QTest::mouseMove(target, middle);
            QTest::mouseMove(target, middle + QPoint(1, 0));
        } else {
            QTest::mouseClick(target, Qt::LeftButton, {}, middle);
        }
        runFade();
        QVERIFY(view()->inactivityTimer().isActive());
        QVERIFY(!widget("titlebarView")->isHidden());
        QVERIFY(!widget("showPlaylistButton")->isHidden());
    }
    void controlsCarryTheirNames()
    {
        const QList<std::pair<const char *, const char *>> names = {
            {"menuButton", "Menu"},
            {"showPlaylistButton", "Show Playlist"},
            {"prevMediaButton", "Previous"},
            {"rewindBackwardButton", "Back 5 Seconds"},
            {"playPauseButton", "Play"},
            {"rewindForwardButton", "Forward 5 Seconds"},
            {"nextMediaButton", "Next"},
            {"muteButton", "Mute"},
            {"volumeSlider", "Volume"},
            {"maxVolumeButton", "Maximum Volume"},
            {"mediaProgressSlider", "Position"},
        };
        const auto spoken = [](QWidget *w) {
            return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        };
        for (const auto &[name, expected] : names)
            QCOMPARE(spoken(widget(name)), QString::fromUtf8(expected));
        QStringList buttons;
        for (QAbstractButton *b : {titlebar()->closeButton(), titlebar()->minimazeButton(),
                                   titlebar()->maximazeButton()})
            buttons << spoken(b);
        QCOMPARE(buttons, QStringList({"Close", "Minimize", "Full Screen"}));
        // The play button says what a press will do.
        app->add("a.mp4", 60000);
        QVERIFY(app->loadAndPlay(0));
        QCOMPARE(spoken(widget("playPauseButton")), QStringLiteral("Pause"));
        // A hidden group reads as not showing.
        hideGroup();
        QVERIFY(
            QAccessible::queryAccessibleInterface(titlebar()->closeButton())->state().invisible);
    }

private:
    QWidget *overlay() const { return app->appDelegate->userInterfaceWindow(); }
    UIController *controller() const { return app->appDelegate->uiViewController(); }
    TrackingTitlebarView *titlebar() const { return controller()->trackingTitlebarView(); }
    TrackingMainView *view() const { return controller()->transparentView(); }
    template <typename T = QWidget> T *widget(const char *name) const
    {
        return overlay()->findChild<T *>(QLatin1String(name));
    }
    void runFade() const
    {
        if (QAbstractAnimation *fade = view()->fade())
            fade->setCurrentTime(fade->totalDuration());
    }
    void hideGroup() const
    {
        view()->timeLost();
        runFade();
    }

    std::unique_ptr<PlaybackApp> app;
};

QTEST_MAIN(OverlayChromeTest)
#include "tst_overlaychrome.moc"
