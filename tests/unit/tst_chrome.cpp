// The overlay's view and the custom-drawn controls on their own: auto-hide and
// its fades, dragging, the overlay's shape without a compositor, the slider's
// bar and the text cell's centring. Timers and fades are run by hand.
#include "chrome/MouseDownNotification.h"
#include "chrome/OverlayMask.h"
#include "chrome/TrackingMainView.h"
#include "controls/CellSlider.h"
#include "controls/CustomSliderCell.h"
#include "controls/VACell.h"

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
        for (QWidget *window : {&mainWindow, static_cast<QWidget *>(&view)}) {
            window->move(200, 150); // placed by their frames, as dragging moves them
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
    // One letter a step: a tracking area installed, e enter, m move, x exit
    // outside, i exit inside, d mouse down, c a control pressed, t the timer
    // fires, h half the fade under way.
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
            case 't': view.timeLost(); break;
            case 'h': runFade(0.5); break;
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

class ChromeTest : public QObject {
    Q_OBJECT
private slots:
    void autoHide_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("hoverBefore");
        QTest::addColumn<bool>("hiddenBefore");
        QTest::addColumn<bool>("hoverAfter");
        QTest::addColumn<bool>("hiddenAfter");
        QTest::addColumn<char>("timer"); // r restarted, u unchanged, e ended
        QTest::addRow("tracking area installed") << "a" << true << false << true << false << 'r';
        QTest::addRow("enter while hidden: shown") << "e" << false << true << true << false << 'u';
        QTest::addRow("move while hidden: shown") << "m" << false << true << true << false << 'r';
        QTest::addRow("exit outside: hidden") << "x" << true << false << false << true << 'u';
        QTest::addRow("exit inside: nothing") << "i" << true << false << true << false << 'u';
        QTest::addRow("mouse down: shown") << "d" << true << true << true << false << 'r';
        QTest::addRow("a control pressed: shown") << "c" << false << true << false << false << 'r';
        QTest::addRow("timer fires: hidden") << "t" << true << false << true << true << 'e';
    }
    void autoHide()
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
    }

    void crossingFadesNeverStick_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("hiddenAfter");
        QTest::addRow("a show asked during a fade-out") << "thm" << false;
        QTest::addRow("a hide asked during a show") << "thmhx" << true;
        QTest::addRow("out, back and out again within the fade") << "mxhehx" << true;
        QTest::addRow("a press during a fade-out") << "thd" << false;
    }
    void crossingFadesNeverStick()
    {
        QFETCH(QString, steps);
        QFETCH(bool, hiddenAfter);
        Overlay o;
        o.run(steps);
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

    void draggingMovesTheMainWindow()
    {
        Overlay o;
        const QPointF press(320, 210);
        o.view.mouseDown(press);
        o.view.mouseDragged(press + QPointF(60, 40));
        QCOMPARE(o.mainWindow.pos(), QPoint(260, 190));
        // The top edge stays on the screen.
        o.view.mouseDragged(press + QPointF(0, -500));
        QCOMPARE(o.mainWindow.pos(), QPoint(200, 0));
    }

    void overlayMaskFollowsTheStrips()
    {
        QWidget window;
        window.resize(400, 300);
        auto *top = new QWidget(&window);
        top->setGeometry(0, 0, 400, 30);
        auto *bottom = new QWidget(&window);
        bottom->setGeometry(0, 230, 400, 70);
        window.show();
        OverlayMask mask(&window, {top, bottom, nullptr});
        QCOMPARE(window.mask(), QRegion(0, 0, 400, 30) + QRegion(0, 230, 400, 70));
        bottom->hide();
        QCOMPARE(window.mask(), QRegion(0, 0, 400, 30));
        top->hide();
        QCOMPARE(window.mask(), QRegion(0, 0, 1, 1));
        top->show();
        top->resize(400, 40);
        QCOMPARE(window.mask(), QRegion(0, 0, 400, 40));
    }

    void sliderBarShowsTheValue_data()
    {
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::addColumn<qreal>("activeLength"); // -1: no bar at all
        // The slider is 208 wide: the active part runs over at most 200.
        QTest::addRow("at its minimum, empty") << 0 << 100 << 0 << 0.0;
        QTest::addRow("at its maximum, the width less 8") << 0 << 100 << 100 << 200.0;
        QTest::addRow("a range not from 0") << 100 << 300 << 150 << 50.0;
        QTest::addRow("maximum 0, no bar") << 0 << 0 << 0 << -1.0;
    }
    void sliderBarShowsTheValue()
    {
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, value);
        QFETCH(qreal, activeLength);
        CellSlider slider;
        slider.resize(208, 24);
        slider.setRange(minimum, maximum);
        slider.setValue(value);
        const auto bar = slider.cell()->barInside(QRectF(4, 10, 200, 7));
        QCOMPARE(bar.has_value(), activeLength >= 0);
        if (bar) {
            QCOMPARE(bar->track, QRectF(4, 10, 200, 5));
            QCOMPARE(bar->active, QRectF(4, 10, activeLength, 5));
        }
    }

    void textCellCentresByFontExtent_data()
    {
        QTest::addColumn<qreal>("beyondExtent");
        QTest::addColumn<qreal>("offset");
        QTest::addRow("5 taller: 2 from the top") << 5.0 << 2.0;
        QTest::addRow("1 taller: not moved") << 1.0 << 0.0;
        QTest::addRow("3 shorter: grows by 2 each way") << -3.0 << -2.0;
    }
    void textCellCentresByFontExtent()
    {
        QFETCH(qreal, beyondExtent);
        QFETCH(qreal, offset);
        VACell cell;
        const QFontMetricsF metrics(cell.font());
        const QRectF frame(3, 10, 80, metrics.ascent() + metrics.descent() + beyondExtent);
        QCOMPARE(cell.adjustedFrameToVerticallyCenterText(frame),
                 frame.adjusted(0, offset, 0, -offset));
    }
};

QTEST_MAIN(ChromeTest)
#include "tst_chrome.moc"
