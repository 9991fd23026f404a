// Glaze launched from its interface files on the stand-in engine, driven tick
// by tick: the time read-outs, what each control, menu item and key tells the
// player, the ends of the list and of the media, and text that reads.
#include "PlaybackApp.h"
#include "app/AfterFirstFrame.h"

#include <QAction>
#include <QMainWindow>
#include <QStatusBar>
#include <QWindow>
#include <QtTest>

namespace {

QStringList warnings;
QtMessageHandler defaultHandler = nullptr;

// What the player is told when playback moves on to the media at `path`.
QStringList switchTo(const QString &path, bool wasPlaying = true)
{
    return (wasPlaying ? QStringList{"stop", "setMedia nil"} : QStringList{})
           << "setMedia " + path << "play";
}

// What a reader needs of text over its background: a contrast of 4.5 or more.
double luminance(QRgb rgb)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

// The contrast of the text in `area` of a strip over whatever shows through it
// (the picture, at its whitest or darkest): the most common colour is the
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
        const double background = luminance(std::max_element(counts.cbegin(), counts.cend()).key());
        double best = 1.0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
            const double glyph = luminance(it.key());
            best = std::max(best, (std::max(glyph, background) + 0.05) /
                                      (std::min(glyph, background) + 0.05));
        }
        worst = std::min(worst, best);
    }
    return worst;
}

} // namespace

struct Wire {
    const char *control;
    int fromSecond;
    QString lastCall;
    int64_t mediaIndex = 1;
    int volume = 100;
};
struct Step {
    bool next;
    int entries;
    int from; // -1: nothing current
    int to;
    bool loads;
    QList<int> missing = {};
    QString filter = {};
};
Q_DECLARE_METATYPE(Wire)
Q_DECLARE_METATYPE(Step)

class PlaybackTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PlaybackApp> app;
    AppDelegate *d = nullptr;

    RecordingMediaPlayer *player() const { return app->player(); }
    QStringList addEntries(const QStringList &names, std::optional<int> lengthMs = 100000)
    {
        for (const QString &name : names)
            app->add(name, lengthMs);
        return names;
    }

private slots:
    void initTestCase()
    {
        defaultHandler = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &text) {
                if (type == QtWarningMsg && !text.startsWith(QLatin1String("This plugin does not")))
                    warnings << text;
                if (defaultHandler)
                    defaultHandler(type, context, text);
            });
    }
    void init()
    {
        AppDelegateTestAccess::legthTickCount() = 0;
        app = std::make_unique<PlaybackApp>();
        QVERIFY(app->launch());
        d = app->appDelegate;
    }
    void cleanup() { app.reset(); }

    // Runs first: both interface files are wired whole. The loader warns of a
    // connection it cannot make, the code of an outlet it cannot find.
    void launchWarnsOfNothing() { QCOMPARE(warnings, QStringList()); }

    void timeReadouts_data()
    {
        QTest::addColumn<int>("lengthMs"); // -1: never reported
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("remaining"); // empty: the media ended
        QTest::addRow("the length in seconds") << 61500 << 1 << "00:01:01"
                                               << "00:01:00";
        QTest::addRow("2,500 ms ends on the third tick") << 2500 << 3 << "00:00:02"
                                                         << "";
        QTest::addRow("125,059 ms ends at 125 s") << 125059 << 125 << "00:02:05"
                                                  << "";
        QTest::addRow("125,060 ms plays on at 125 s") << 125060 << 125 << "00:02:05"
                                                      << "00:00:00";
        QTest::addRow("a length never reported is 0 and never ends") << -1 << 30 << "00:00:00"
                                                                     << "00:00:00";
    }
    void timeReadouts()
    {
        QFETCH(int, lengthMs);
        QFETCH(int, ticks);
        QFETCH(QString, total);
        QFETCH(QString, remaining);
        app->add("clip.mp4", lengthMs < 0 ? std::nullopt : std::optional(lengthMs));
        QVERIFY(app->loadAndPlay(0));
        // The length polls run here instead of after their waits; they give up after 12.
        for (int polls = 1; app->access().hasPendingLengthPoll(); ++polls) {
            QVERIFY(polls < 12);
            app->access().runPendingLengthPoll();
        }
        app->tick(ticks);
        QCOMPARE(d->totalTimeLabel()->text(), total);
        QCOMPARE(d->isPlaying(), !remaining.isEmpty());
        if (remaining.isEmpty()) {
            QCOMPARE(d->mediaIndex(), -1);
            QCOMPARE(player()->calls.mid(2), QStringList({"stop", "setMedia nil"}));
        } else {
            QCOMPARE(d->remainingTimeLabel()->text(), remaining);
            QCOMPARE(d->spentTimeLabel()->text(), Timer::getTimeStr(ticks));
        }
    }

    void controlsAndMenuItemsReachThePlayer_data()
    {
        QTest::addColumn<Wire>("wire");
        QTest::addRow("play/pause button pauses") << Wire{"playPauseButton", 20, "pause"};
        QTest::addRow("forward button seeks 5 s on")
            << Wire{"rewindForwardButton", 20, "setTime 25000"};
        QTest::addRow("Forward item at 98 s of 100 ends the media")
            << Wire{"forwardMenuItem", 98, "play", 2};
        QTest::addRow("back button at 3 s stops at the start")
            << Wire{"rewindBackwardButton", 3, "setTime 0"};
        QTest::addRow("Back item seeks 5 s back") << Wire{"rewindMenuItem", 20, "setTime 15000"};
        QTest::addRow("a step of the position slider seeks")
            << Wire{"mediaProgressSlider", 20, "setTime 21000"};
        QTest::addRow("next button plays the last") << Wire{"nextMediaButton", 20, "play", 2};
        QTest::addRow("Next item plays the last") << Wire{"nextMenuItem", 20, "play", 2};
        QTest::addRow("previous button plays the first") << Wire{"prevMediaButton", 20, "play", 0};
        QTest::addRow("Previous item plays the first") << Wire{"prevMenuItem", 20, "play", 0};
        QTest::addRow("mute button silences") << Wire{"muteButton", 20, "play", 1, 0};
        QTest::addRow("maximum volume button") << Wire{"maxVolumeButton", 20, "play", 1, 200};
    }
    void controlsAndMenuItemsReachThePlayer()
    {
        QFETCH(Wire, wire);
        addEntries({"a.mp4", "b.mp4", "c.mp4"});
        QVERIFY(app->loadAndPlay(1));
        app->tick(wire.fromSecond);
        QObject *control = app->mainWindow()->findChild<QAction *>(wire.control);
        if (!control)
            control = d->userInterfaceWindow()->findChild<QWidget *>(wire.control);
        if (auto *item = qobject_cast<QAction *>(control))
            item->trigger();
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            button->click();
        else if (auto *slider = qobject_cast<QAbstractSlider *>(control))
            slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        else
            QFAIL(wire.control);
        QCOMPARE(player()->calls.last(), wire.lastCall);
        QCOMPARE(d->mediaIndex(), wire.mediaIndex);
        QCOMPARE(player()->audio()->volume(), wire.volume);
    }

    void stepping_data()
    {
        QTest::addColumn<Step>("step");
        // The entries are one, two, three, four; "e" hides two and four.
        QTest::addRow("next skips missing files") << Step{true, 4, 0, 3, true, {1, 2}};
        QTest::addRow("next at the last answers no") << Step{true, 2, 1, 1, false};
        QTest::addRow("next from a filtered-out entry plays the first visible")
            << Step{true, 3, 1, 0, true, {}, "e"};
        QTest::addRow("previous, none current, plays the last but one")
            << Step{false, 3, -1, 1, true};
        QTest::addRow("previous at the first does nothing") << Step{false, 2, 0, 0, false};
        QTest::addRow("previous skips missing files") << Step{false, 3, 2, 0, true, {1}};
        QTest::addRow("previous with no visible entry does nothing")
            << Step{false, 2, 1, 1, false, {}, "z"};
    }
    void stepping()
    {
        QFETCH(Step, step);
        const QStringList names = addEntries(
            QStringList{"one.mp4", "two.mp4", "three.mp4", "four.mp4"}.mid(0, step.entries));
        for (int i : step.missing)
            QVERIFY(QFile::remove(app->pathOf(names[i])));
        if (step.from >= 0) {
            QVERIFY(app->loadAndPlay(step.from));
            app->tick(3);
        }
        d->applyFilter(step.filter);
        player()->calls.clear();
        if (step.next)
            QCOMPARE(d->nextMediaButtonClick(), step.loads);
        else
            d->prevMediaButtonClick();
        const bool wasCurrent = step.from >= 0;
        QCOMPARE(d->mediaIndex(), int64_t(step.to));
        QCOMPARE(player()->calls,
                 step.loads ? switchTo(app->pathOf(names[step.to]), wasCurrent) : QStringList());
        QCOMPARE(d->isPlaying(), step.loads || wasCurrent);
        QCOMPARE(d->timer()->getSpentTimeUint(), step.loads || !wasCurrent ? 0u : 3u);
    }

    void engineEndOrStallEndsTheMedia_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("ends");
        QTest::addRow("the engine's end moves on") << "ended" << true;
        QTest::addRow("an engine error moves on") << "error" << true;
        QTest::addRow("ten seconds without progress move on") << "stall 10" << true;
        QTest::addRow("nine seconds without progress play on") << "stall 9" << false;
        QTest::addRow("only the position moving plays on") << "position moves" << false;
        QTest::addRow("an end told once another media is loaded") << "late ended" << false;
    }
    void engineEndOrStallEndsTheMedia()
    {
        QFETCH(QString, event);
        QFETCH(bool, ends);
        // No length is ever known: neither end comes from the count.
        app->add("unknown.mp3");
        app->add("next.mp4", 10000);
        QVERIFY(app->loadAndPlay(0));
        app->tick(3);
        if (event == "ended" || event == "error") {
            player()->report(event == "ended" ? VLCMediaPlayerState::Ended
                                              : VLCMediaPlayerState::Error);
        } else if (event.startsWith("stall")) {
            app->tick(event.mid(6).toInt(), false);
        } else if (event == "position moves") {
            for (int i = 0; i < 10; ++i) {
                player()->advancePosition(0.01);
                app->tick(1, false);
            }
        } else {
            // On its way while the next media was loaded, it arrives once that one plays.
            d->clearPlayer();
            QVERIFY(app->loadAndPlay(1));
            player()->delegate()->mediaPlayerStateChanged();
        }
        const bool onNext = ends || event == "late ended";
        QCOMPARE(app->currentPath(), app->pathOf(onNext ? "next.mp4" : "unknown.mp3"));
        QVERIFY(d->isPlaying());
    }

    // Where the focus is, what a key does, told by what it leaves.
    void keysDriveThePlayerUnlessTyping_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("after");
        QTest::addRow("Space pauses")
            << "video" << int(Qt::Key_Space) << "paused a 5s vol100 full 0 panel 0 filter ''";
        QTest::addRow("Space types into the filter")
            << "filter" << int(Qt::Key_Space) << "playing a 5s vol100 full 0 panel 1 filter ' '";
        QTest::addRow("Right seeks on from the table")
            << "table" << int(Qt::Key_Right) << "playing a 10s vol100 full 0 panel 1 filter ''";
        QTest::addRow("Left moves the filter's cursor")
            << "filter" << int(Qt::Key_Left) << "playing a 5s vol100 full 0 panel 1 filter ''";
        QTest::addRow("Down lowers the volume")
            << "video" << int(Qt::Key_Down) << "playing a 5s vol80 full 0 panel 0 filter ''";
        QTest::addRow("M mutes") << "video" << int(Qt::Key_M)
                                 << "playing a 5s vol0 full 0 panel 0 filter ''";
        QTest::addRow("F enters full screen")
            << "video" << int(Qt::Key_F) << "playing a 5s vol100 full 1 panel 0 filter ''";
        QTest::addRow("Page Down goes to the next")
            << "video" << int(Qt::Key_PageDown) << "playing b 0s vol100 full 0 panel 0 filter ''";
    }
    void keysDriveThePlayerUnlessTyping()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(QString, after);
        addEntries({"a.mp4", "b.mp4"});
        QVERIFY(app->loadAndPlay(0));
        app->tick(5);
        QLineEdit *field = app->access().filterTextField();
        QWidget *target = app->mainWindow();
        if (focus != "video") {
            d->showPlaylistButtonClick();
            target = focus == "table" ? static_cast<QWidget *>(app->access().playlistTableView())
                                      : field;
        }
        QApplication::setActiveWindow(target->window());
        target->setFocus();
        QTest::keyClick(target->window()->windowHandle(), Qt::Key(key));
        const QString state = QStringLiteral("%1 %2 %3s vol%4 full %5 panel %6 filter '%7'")
                                  .arg(d->isPlaying() ? "playing" : "paused",
                                       QFileInfo(app->currentPath()).baseName())
                                  .arg(player()->time().milliseconds() / 1000)
                                  .arg(d->volumeSlider()->value())
                                  .arg(int(app->mainWindow()->isFullScreen()))
                                  .arg(int(d->isPlaylistOpen()))
                                  .arg(field->text());
        QCOMPARE(state, after);
    }

    // Looked up in the icon theme only once the panel shows, but there then.
    void filterHasItsClearButtonOnceShown()
    {
        d->showPlaylistButtonClick();
        QVERIFY(app->access().filterTextField()->isVisible());
        QVERIFY(app->access().filterTextField()->isClearButtonEnabled());
    }

    // The launch waits for the window's first frame, or for a bound without one,
    // and runs once, never after its window.
    void launchRunsOnceAfterTheFirstFrame_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("destroyed");
        QTest::addColumn<int>("runs");
        QTest::newRow("shown") << true << false << 1;
        QTest::newRow("never exposed") << false << false << 1;
        QTest::newRow("window gone first") << true << true << 0;
    }
    void launchRunsOnceAfterTheFirstFrame()
    {
        QFETCH(bool, shown);
        QFETCH(bool, destroyed);
        QFETCH(int, runs);
        auto window = std::make_unique<QWindow>();
        window->create();
        int ran = 0;
        AfterFirstFrame::run(window.get(), [&ran] { ++ran; });
        if (shown)
            window->show();
        if (destroyed)
            window.reset();
        QTest::qWait(2 * AfterFirstFrame::kDeadlineMs);
        QCOMPARE(ran, runs);
    }

    void textReadsAgainstItsBackground_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"additionStatusBar", "spentTimeLabel", "remainingTimeLabel",
                                 "mediaName", "filterTextField", "addMediaButton"})
            QTest::newRow(name) << name;
    }
    void textReadsAgainstItsBackground()
    {
        QFETCH(QString, name);
        app->access().additionStatusBar()->showMessage("Adding 12 of 345");
        d->mediaName()->setText("Holiday");
        QWidget *widget = app->mainWindow()->findChild<QWidget *>(name);
        if (!widget)
            widget = d->userInterfaceWindow()->findChild<QWidget *>(name);
        QVERIFY(widget);
        d->playlistView()->show();
        widget->show();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        // What lies behind the text within the window, as the window draws it.
        QWidget *strip =
            widget->parentWidget()->inherits("CustomView") ? widget->parentWidget() : widget;
        const double contrast =
            textContrast(strip, QRect(widget->mapTo(strip, QPoint(0, 0)), widget->size()));
        QVERIFY2(contrast >= 4.5, QByteArray::number(contrast));
    }
};

QTEST_MAIN(PlaybackTest)
#include "tst_playback.moc"
