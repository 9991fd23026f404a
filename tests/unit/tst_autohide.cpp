// The overlay's view on its own: auto-hide through its state table, the exit
// test, fades that cross, dragging and double-clicks; the title bar's hover
// and the window's edges. The inactivity timer and the fades are run to their
// end by hand.
#include "chrome/MouseDownNotification.h"
#include "chrome/NoTitleWindow.h"
#include "chrome/TrackingMainView.h"
#include "chrome/TrackingTitlebarView.h"
#include "chrome/WindowEdges.h"

#include <QGraphicsEffect>
#include <QtTest>

namespace {

// The view as the overlay holds it: a window at the main window's origin with
// the three members of its group, the third inside the first.
struct Overlay {
    QWidget mainWindow;
    TrackingMainView view;
    QWidget *titlebar = new QWidget(&view);
    QWidget *controlsBar = new QWidget(&view);
    QWidget *showPlaylistButton = new QWidget(titlebar);

    Overlay()
    {
        // Placed by their frames, as the view drags the window.
        for (QWidget *window : {&mainWindow, static_cast<QWidget *>(&view)}) {
            window->move(200, 150);
            window->resize(400, 300);
            window->show();
        }
        view.setMainWindow(&mainWindow);
        view.setViews({titlebar, controlsBar, showPlaylistButton});
    }
    // Runs the fade under way to the given share of it; all of it runs its completion.
    void runFade(qreal share = 1)
    {
        if (QAbstractAnimation *fade = view.fade())
            fade->setCurrentTime(int(fade->totalDuration() * share));
    }
    // Steps, one letter each: a tracking area installed, e enter, m move, x
    // exit outside, i exit inside, d mouse down, c a control pressed, o another
    // notification, t the timer fires, g dragged, u mouse up, h half the fade
    // under way, f full screen toggled.
    void run(const QString &steps)
    {
        for (const QChar step : steps) {
            switch (step.toLatin1()) {
            // clang-format off
            case 'a': view.updateTrackingAreas(); break;
            case 'e': view.mouseEntered(); break;
            case 'm': view.mouseMoved(); break;
            case 'x': view.mouseExited(view.mapToGlobal(QPointF(-0.5, 50))); break;
            case 'i': view.mouseExited(view.mapToGlobal(QPointF(399.9, 299.9))); break;
            case 'd': view.mouseDown(QPointF(300, 300)); break;
            case 'c': view.controlElementClicked({MOUSE_DOWN_NOTIFICATION, controlsBar}); break;
            case 'o': view.controlElementClicked({QStringLiteral("OTHER"), controlsBar}); break;
            case 't': view.timeLost(); break;
            case 'g': view.mouseDragged(QPointF(300, 300)); break;
            case 'u': view.mouseUp(1); break;
            case 'h': runFade(0.5); break;
            case 'f': toggleFullScreen(&mainWindow); break;
                // clang-format on
            }
        }
    }
    // Settled: every member in the same state, drawn without any fade's effect.
    bool settledHidden(bool hidden) const
    {
        const QList<QWidget *> group = {titlebar, controlsBar, showPlaylistButton};
        return !view.fade() && std::all_of(group.cbegin(), group.cend(), [&](QWidget *m) {
            return m->isHidden() == hidden && !m->graphicsEffect();
        });
    }
};

} // namespace

class AutoHideTest : public QObject {
    Q_OBJECT
private slots:
    void stateTable_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("hoverBefore");
        QTest::addColumn<bool>("hiddenBefore");
        QTest::addColumn<bool>("hoverAfter");
        QTest::addColumn<bool>("hiddenAfter");
        // r restarted, u unchanged, e ended.
        QTest::addColumn<char>("timer");
        QTest::addRow("tracking area installed") << "a" << true << false << true << false << 'r';
        QTest::addRow("enter, flag NO: shown") << "e" << false << true << true << false << 'u';
        QTest::addRow("enter, flag YES: nothing") << "e" << true << true << true << true << 'u';
        QTest::addRow("move while hidden: shown") << "m" << false << true << true << false << 'r';
        QTest::addRow("move while shown") << "m" << true << false << true << false << 'r';
        QTest::addRow("exit outside: hidden") << "x" << true << false << false << true << 'u';
        QTest::addRow("exit outside, flag NO") << "x" << false << false << false << false << 'u';
        QTest::addRow("exit inside: nothing") << "i" << true << false << true << false << 'u';
        QTest::addRow("mouse down: shown") << "d" << true << true << true << false << 'r';
        QTest::addRow("a control pressed: shown") << "c" << false << true << false << false << 'r';
        QTest::addRow("another notification") << "o" << false << true << false << true << 'u';
        QTest::addRow("timer fires: hidden, flag kept")
            << "t" << true << false << true << true << 'e';
        QTest::addRow("dragged: nothing") << "g" << true << true << true << true << 'u';
        QTest::addRow("mouse up: nothing") << "u" << true << true << true << true << 'u';
    }
    void stateTable()
    {
        QFETCH(QString, event);
        QFETCH(bool, hoverBefore);
        QFETCH(bool, hiddenBefore);
        QFETCH(bool, hoverAfter);
        QFETCH(bool, hiddenAfter);
        QFETCH(char, timer);
        Overlay o;
        o.run(hoverBefore ? "e" : "");
        o.runFade();
        for (QWidget *member : {o.titlebar, o.controlsBar, o.showPlaylistButton})
            member->setHidden(hiddenBefore);
        QTimer &inactivity = o.view.inactivityTimer();
        timer == 'r' ? inactivity.stop() : inactivity.start();
        o.run(event);
        o.runFade();
        QCOMPARE(o.view.isMouseInside(), hoverAfter);
        QVERIFY(o.settledHidden(hiddenAfter));
        QCOMPARE(inactivity.isActive(), timer != 'e');
        // Restarted, it has its three seconds to run again.
        QVERIFY(timer != 'r' || inactivity.remainingTime() > 2000);
        QVERIFY(!o.mainWindow.isFullScreen());
    }

    void exitTestTruncates_data()
    {
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<bool>("inside");
        const QRectF r(100, 100, 400, 300);
        QTest::addRow("on the left edge") << r << QPointF(100, 250) << true;
        QTest::addRow("a fraction left of it") << r << QPointF(99.9, 250) << false;
        QTest::addRow("a fraction short of the far corner") << r << QPointF(499.9, 399.9) << true;
        QTest::addRow("on the right edge") << r << QPointF(500, 250) << false;
        QTest::addRow("on the bottom edge") << r << QPointF(300, 400) << false;
        QTest::addRow("toward zero, not down")
            << QRectF(-50, -50, 100, 100) << QPointF(-50.7, 0) << true;
        QTest::addRow("a fractional edge")
            << QRectF(100.9, 100, 50, 50) << QPointF(100.2, 120) << true;
    }
    void exitTestTruncates()
    {
        QFETCH(QRectF, rect);
        QFETCH(QPointF, point);
        QFETCH(bool, inside);
        QCOMPARE(TrackingMainView::containsTruncated(rect, point), inside);
    }

    void crossingFadesNeverStick_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("hiddenAfter");
        QTest::addRow("a show asked during a fade-out") << "thm" << false;
        QTest::addRow("a hide asked during a show") << "thmhx" << true;
        QTest::addRow("leaving and coming back within the fade") << "mxhe" << false;
        QTest::addRow("out, back and out again within the fade") << "mxhehx" << true;
        QTest::addRow("a press during a fade-out") << "thd" << false;
        QTest::addRow("moves all through a show") << "thmhmhm" << false;
        QTest::addRow("full screen toggled during a fade-out") << "thf" << true;
    }
    void crossingFadesNeverStick()
    {
        QFETCH(QString, steps);
        QFETCH(bool, hiddenAfter);
        Overlay o;
        o.run(steps);
        // One fade at a time: an earlier one cannot end after a later began.
        const auto fades = o.view.findChildren<QAbstractAnimation *>(Qt::FindDirectChildrenOnly);
        QVERIFY(std::count_if(fades.cbegin(), fades.cend(), [](QAbstractAnimation *fade) {
                    return fade->state() == QAbstractAnimation::Running;
                }) <= 1);
        o.runFade();
        QVERIFY(o.settledHidden(hiddenAfter));
        // Neither stuck hidden nor stuck shown: activity and the timer still act.
        o.run("m");
        o.runFade();
        QVERIFY(o.settledHidden(false));
        o.run("t");
        o.runFade();
        QVERIFY(o.settledHidden(true));
    }

    void draggingMovesTheMainWindow_data()
    {
        QTest::addColumn<QPoint>("travel");
        QTest::addColumn<bool>("fullScreen");
        QTest::addColumn<QPoint>("origin");
        QTest::addRow("by the pointer's travel") << QPoint(60, 40) << false << QPoint(260, 190);
        QTest::addRow("the top edge stays on the screen")
            << QPoint(0, -500) << false << QPoint(200, 0);
        QTest::addRow("off at the left") << QPoint(-600, 0) << false << QPoint(-400, 150);
        QTest::addRow("off at the right and bottom")
            << QPoint(900, 700) << false << QPoint(1100, 850);
        QTest::addRow("not in full screen") << QPoint(60, 40) << true << QPoint();
    }
    void draggingMovesTheMainWindow()
    {
        QFETCH(QPoint, travel);
        QFETCH(bool, fullScreen);
        QFETCH(QPoint, origin);
        Overlay o;
        if (fullScreen) {
            o.mainWindow.showFullScreen();
            origin = o.mainWindow.pos();
        }
        const QPointF press(320, 210);
        o.view.mouseDown(press);
        o.view.mouseDragged(press + travel / 2);
        o.view.mouseDragged(press + travel);
        QCOMPARE(o.mainWindow.pos(), origin);
        // Dragged back, from off the screen too, the window is where it was.
        o.view.mouseDragged(press);
        QCOMPARE(o.mainWindow.pos(), fullScreen ? origin : QPoint(200, 150));
    }

    void onlyADoubleClickTogglesFullScreen()
    {
        Overlay o;
        const QPoint at(100, 100);
        // QTest spaces single clicks out beyond the double-click interval.
        QTest::mouseClick(&o.view, Qt::LeftButton, {}, at);
        QTest::mouseClick(&o.view, Qt::LeftButton, {}, at);
        QVERIFY(!o.mainWindow.isFullScreen());
        // A double-click as Qt delivers it: press, release, double-click, release.
        QTest::mouseClick(&o.view, Qt::LeftButton, {}, at);
        QTest::mouseDClick(&o.view, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&o.view, Qt::LeftButton, {}, at);
        QVERIFY(o.mainWindow.isFullScreen());
        // Its third click does nothing.
        QTest::mouseClick(&o.view, Qt::LeftButton, {}, at);
        QVERIFY(o.mainWindow.isFullScreen());
        // Right after a drag, whose window the overlay follows, a click at the
        // same spot of it is far from the last on the screen: no double-click.
        o.mainWindow.showNormal();
        QTest::mousePress(&o.view, Qt::LeftButton, {}, at);
        o.view.move(o.view.pos() + QPoint(60, 0));
        QTest::mouseRelease(&o.view, Qt::LeftButton, {}, at);
        QTest::mouseDClick(&o.view, Qt::LeftButton, {}, at);
        QTest::mouseRelease(&o.view, Qt::LeftButton, {}, at);
        QVERIFY(!o.mainWindow.isFullScreen());
    }

    void pointerHidesWithTheGroupInFullScreen()
    {
        Overlay o;
        o.run("t");
        o.runFade();
        QVERIFY(!o.view.isPointerHidden());
        o.mainWindow.showFullScreen();
        o.run("mth");
        QVERIFY(!o.view.isPointerHidden());
        o.runFade();
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
        // Back with the group, and when full screen ends.
        o.run("m");
        QVERIFY(!o.view.isPointerHidden());
        o.run("t");
        o.runFade();
        QVERIFY(o.view.isPointerHidden());
        o.mainWindow.showNormal();
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void titlebarLightsItsButtonsTogether_data()
    {
        // e enter, x exit, c a button's action done.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("lit");
        QTest::addRow("pointer over the strip") << "e" << true;
        QTest::addRow("pointer gone") << "ex" << false;
        QTest::addRow("after a click, still over it") << "ec" << false;
        QTest::addRow("back after a click") << "ecxe" << true;
        QTest::addRow("entered twice") << "ee" << true;
    }
    void titlebarLightsItsButtonsTogether()
    {
        QFETCH(QString, steps);
        QFETCH(bool, lit);
        TrackingTitlebarView strip;
        using Kind = StandardWindowButton::Kind;
        const QList<QAbstractButton *> buttons = {
            StandardWindowButton::standardWindowButton(Kind::Close),
            StandardWindowButton::standardWindowButton(Kind::Miniaturize),
            StandardWindowButton::standardWindowButton(Kind::Zoom)};
        for (QAbstractButton *button : buttons)
            button->setParent(&strip);
        strip.setCloseButton(buttons[0]);
        strip.setMinimazeButton(buttons[1]);
        strip.setMaximazeButton(buttons[2]);
        strip.show();
        QList<QImage> dark;
        for (QAbstractButton *button : buttons)
            dark.append(button->grab().toImage());
        for (const QChar step : steps)
            step == 'e' ? strip.mouseEntered()
                        : (step == 'x' ? strip.mouseExited() : strip.controlClicked());
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(strip._mouseInGroup(buttons[i]), lit);
            // The symbol is drawn in the circle, or not.
            QCOMPARE(buttons[i]->grab().toImage() != dark[i], lit);
        }
        strip.showButtons(false);
        QVERIFY(buttons[0]->isHidden() && buttons[1]->isHidden() && buttons[2]->isHidden());
        strip.showButtons(true);
        QVERIFY(!buttons[0]->isHidden() && !buttons[1]->isHidden() && !buttons[2]->isHidden());
    }

    void edgesTakeThePointer_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("edges");
        QTest::addColumn<int>("cursor");
        QTest::addRow("the middle") << QPoint(300, 250) << 0 << int(Qt::ArrowCursor);
        QTest::addRow("the left edge")
            << QPoint(101, 250) << int(Qt::LeftEdge) << int(Qt::SizeHorCursor);
        QTest::addRow("the bottom edge")
            << QPoint(300, 399) << int(Qt::BottomEdge) << int(Qt::SizeVerCursor);
        QTest::addRow("the top-left corner")
            << QPoint(100, 100) << int(Qt::LeftEdge | Qt::TopEdge) << int(Qt::SizeFDiagCursor);
        QTest::addRow("the right edge near the top")
            << QPoint(498, 110) << int(Qt::RightEdge | Qt::TopEdge) << int(Qt::SizeBDiagCursor);
        QTest::addRow("just outside") << QPoint(99, 250) << 0 << int(Qt::ArrowCursor);
    }
    void edgesTakeThePointer()
    {
        QFETCH(QPoint, point);
        QFETCH(int, edges);
        QFETCH(int, cursor);
        const Qt::Edges found = WindowEdges::edgesAt(QRect(100, 100, 400, 300), point);
        QCOMPARE(int(found), edges);
        QCOMPARE(int(WindowEdges::cursorShape(found)), cursor);
    }

    void coversLeaveTheEdgesToTheWindow()
    {
        const QRect window(100, 100, 400, 300);
        const QRegion whole = WindowEdges::coverInputRegion(window, window);
        QVERIFY(whole.contains(QPoint(200, 150)));
        for (const QPoint edge : {QPoint(2, 150), QPoint(397, 150), QPoint(200, 1)})
            QVERIFY(!whole.contains(edge));
        // Beside the playlist panel, the cover's right side lies inside the window.
        const QRegion left = WindowEdges::coverInputRegion(window, QRect(100, 100, 100, 300));
        QVERIFY(left.contains(QPoint(98, 150)) && !left.contains(QPoint(2, 150)));
    }

    void aWindowManagerThatCannotResizeChangesNothing()
    {
        // The offscreen platform, like X without a window manager, cannot
        // resize: the press is left to the window, which keeps its size.
        NoTitleWindow window;
        window.setGeometry(100, 100, 400, 300);
        window.show();
        QVERIFY(window.edges()->isResizable());
        window.edges()->pointerAt(QPoint(101, 250));
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::SizeHorCursor);
        QVERIFY(!window.edges()->pressAt(QPoint(101, 250)));
        QCOMPARE(window.geometry(), QRect(100, 100, 400, 300));
        window.edges()->pointerAt(QPoint(300, 250));
        QVERIFY(!QGuiApplication::overrideCursor());
        window.showFullScreen();
        QVERIFY(!window.edges()->isResizable());
    }
};

QTEST_MAIN(AutoHideTest)
#include "tst_autohide.moc"
