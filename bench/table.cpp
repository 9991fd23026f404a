// The playlist table with a long playlist. With ENTRIES entries (put straight
// into the lists, each with a preview as an addition stores it), the main
// thread's time from the action until the table has painted it: one filter
// keystroke, opening the panel (its current row selected and scrolled to), and
// scrolling the table one page. Before that, the resident memory of the whole
// process with VIDEOS generated 320x240 videos added as a drop adds them (one
// clip, hard-linked VIDEOS times), the panel open and painted.
//
//     playlist_table [ENTRIES [VIDEOS]]        (default 10000 1000)
#include "AppDelegateTestAccess.h"
#include "IsolatedSettings.h"
#include "MediaFixtures.h"
#include "app/ApplicationMain.h"
#include "media/LibVlcBackend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

double threadCpuMs()
{
    timespec time = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return double(time.tv_sec) * 1e3 + double(time.tv_nsec) / 1e6;
}

// A line of /proc/self/status, in MiB.
double statusMiB(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

struct PaintCount : QObject {
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

struct Timing {
    double wallMs;
    double cpuMs;
};

// The action and the event loop's work after it, until the table has painted.
Timing untilPainted(QWidget *viewport, const std::function<void()> &action)
{
    PaintCount count;
    viewport->installEventFilter(&count);
    QElapsedTimer wall;
    const double cpuBefore = threadCpuMs();
    wall.start();
    action();
    while (count.paints == 0 && wall.elapsed() < 5000)
        QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const Timing timing{double(wall.nsecsElapsed()) / 1e6, threadCpuMs() - cpuBefore};
    viewport->removeEventFilter(&count);
    if (count.paints == 0)
        qFatal("the table never painted");
    return timing;
}

void report(const char *what, QList<Timing> timings)
{
    std::sort(timings.begin(), timings.end(),
              [](const Timing &a, const Timing &b) { return a.wallMs < b.wallMs; });
    const Timing &median = timings[timings.size() / 2];
    std::printf("%-34s %8.2f %8.2f %8.2f   (%lld runs; goal under 16 ms)\n", what, median.wallMs,
                timings.last().wallMs, median.cpuMs, qint64(timings.size()));
}

void memoryWithVideos(AppDelegate *appDelegate, int count)
{
    const QString clip = MediaFixtures::video(QStringLiteral("bench-table.mp4"), 2000);
    const QString folder = MediaFixtures::folder(QStringLiteral("bench-table-links"));
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths.append(QStringLiteral("%1/clip %2.mp4").arg(folder).arg(i, 4, 10, QChar('0')));
        if (!QFile::exists(paths.last()) &&
            link(QFile::encodeName(clip).constData(), QFile::encodeName(paths.last()).constData()))
            qFatal("cannot link %s", qPrintable(paths.last()));
    }
    const double atLaunch = statusMiB("VmRSS:");
    if (!appDelegate->appendPlaylistWithoutDublicates(paths))
        qFatal("the videos were not added");
    appDelegate->dropFilter();
    QWidget *viewport = AppDelegateTestAccess{appDelegate}.playlistTableView()->viewport();
    untilPainted(viewport, [appDelegate] { appDelegate->showPlaylistButtonClick(); });
    qint64 previewBytes = 0;
    for (const MediaPreview &preview : *appDelegate->mediaPreviews())
        previewBytes += preview ? preview->sizeInBytes() : 0;
    // The last thumbnail's memory goes back to the system as its worker ends.
    QTest::qWait(500);
    const double resident = statusMiB("VmRSS:");
    std::printf("%d videos: resident %.1f MiB (%.1f at launch, peak %.1f), previews %.2f MiB "
                "(goal at most 120 MiB resident)\n",
                count, resident, atLaunch, statusMiB("VmHWM:"), double(previewBytes) / 1048576.0);
    std::fflush(stdout);
    appDelegate->showPlaylistButtonClick();
}

void timeTheTable(AppDelegate *appDelegate, int count)
{
    AppDelegateTestAccess access{appDelegate};
    access.playlist().create();
    access.setMediaIndex(-1);
    QImage image(80, 45, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const auto preview = std::make_shared<const QImage>(image);
    const QStringList words = {"Holiday", "Concert", "Interview", "Lecture", "Trailer", "Song"};
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("/media/Films %1/%2 clip %3.mkv")
                                 .arg(i / 100)
                                 .arg(words[i % words.size()])
                                 .arg(i, 5, 10, QChar('0'));
        access.playlist().append(
            std::make_shared<PlaylistEntry>(PlaylistEntry{path, VLCTime(1000 * (i % 5000))}),
            i % 3 ? preview : nullptr);
    }
    access.setMediaIndex(count / 2);
    access.curMediaPath() = appDelegate->mediaPlaylist()->at(count / 2);
    appDelegate->dropFilter();
    QTableView *table = access.playlistTableView();
    QWidget *viewport = table->viewport();

    QList<Timing> opening;
    for (int run = 0; run < 21; ++run) {
        opening.append(untilPainted(viewport, [&] { appDelegate->showPlaylistButtonClick(); }));
        appDelegate->showPlaylistButtonClick();
        QCoreApplication::processEvents();
    }
    const Timing firstOpening = opening.takeFirst();

    appDelegate->showPlaylistButtonClick();
    QCoreApplication::processEvents();
    QLineEdit *field = access.filterTextField();
    field->setFocus();
    QList<Timing> keystrokes;
    for (const QChar key : QStringLiteral("clip 01234")) {
        keystrokes.append(untilPainted(viewport, [&] { QTest::keyClick(field, key.toLatin1()); }));
    }
    while (!field->text().isEmpty())
        keystrokes.append(
            untilPainted(viewport, [&] { QTest::keyClick(field, Qt::Key_Backspace); }));

    table->scrollToTop();
    QCoreApplication::processEvents();
    QList<Timing> pages;
    for (int page = 0; page < 30; ++page) {
        pages.append(untilPainted(viewport, [&] {
            table->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        }));
    }

    std::printf("%d entries, table %dx%d, platform %s\n", count, viewport->width(),
                viewport->height(), qPrintable(QGuiApplication::platformName()));
    std::printf("%-34s %8s %8s %8s\n", "main thread, ms", "median", "max", "CPU");
    report("filter keystroke", keystrokes);
    report("opening the panel", opening);
    std::printf("%-34s %8.2f %8s %8.2f\n", "opening the panel, first time", firstOpening.wallMs, "",
                firstOpening.cpuMs);
    report("scrolling one page", pages);
}

} // namespace

int main(int argc, char **argv)
{
    prepareProcessForMediaEngine();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("GLAZE_VLC_OPTIONS"))
        qputenv("GLAZE_VLC_OPTIONS", "--vout=dummy --aout=adummy");
    QApplication application(argc, argv);
    const int entries = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    const int videos = argc > 2 ? QByteArray(argv[2]).toInt() : 1000;

    const std::unique_ptr<MediaBackend> backend = createLibVlcBackend();
    AppDelegate *appDelegate = loadMainInterface(backend.get());
    if (!appDelegate)
        qFatal("could not load the main interface");
    QSignalSpy ready(appDelegate, &AppDelegate::mediaPlayerReady);
    appDelegate->applicationDidFinishLaunching();
    if (!appDelegate->mediaPlayer() && !ready.wait(10000))
        qFatal("the player was not made");

    if (videos > 0)
        memoryWithVideos(appDelegate, videos);
    timeTheTable(appDelegate, entries);
    appDelegate->applicationWillTerminate();
    delete appDelegate->window();
    return 0;
}
