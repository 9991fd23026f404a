// Adding videos: wall and CPU time for Glaze to append N generated 2-second
// 320x240 videos (one thumbnail each), as a drop on the video does, beside the
// time ffmpeg takes to pull one scaled frame out of each of the same files (the
// floor). Also the main thread's own CPU time over the addition (it waits for
// the thumbnailer most of the time and should sleep meanwhile), and how soon the
// engine plays the first file while the others are still being added.
//
//     add_videos [COUNT]        (default 100)
#include "IsolatedSettings.h"
#include "MediaFixtures.h"
#include "app/AppDelegate.h"
#include "app/ApplicationMain.h"
#include "media/LibVlcBackend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {

double secondsOf(const timeval &time)
{
    return double(time.tv_sec) + double(time.tv_usec) / 1e6;
}

double cpuSeconds(int who)
{
    rusage usage = {};
    getrusage(who, &usage);
    return secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
}

double threadCpuSeconds()
{
    timespec time = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return double(time.tv_sec) + double(time.tv_nsec) / 1e9;
}

struct Measure {
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double mainThreadCpuSeconds = -1;
    double firstPlayingSeconds = -1;
};

// ffmpeg seeks 30 % in, as the thumbnailer does, and scales one frame to fit
// the same box.
Measure extractWithFfmpeg(const QStringList &paths)
{
    QElapsedTimer wall;
    const double cpuBefore = cpuSeconds(RUSAGE_CHILDREN);
    wall.start();
    for (const QString &path : paths) {
        QProcess ffmpeg;
        ffmpeg.setStandardOutputFile(QProcess::nullDevice());
        ffmpeg.start(QStringLiteral("ffmpeg"),
                     {"-v", "error", "-ss", "0.6", "-i", path, "-frames:v", "1", "-vf",
                      "scale=320:240:force_original_aspect_ratio=decrease", "-f", "rawvideo",
                      "-pix_fmt", "bgra", "-y", "/dev/null"});
        if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
            qFatal("ffmpeg failed on %s", qPrintable(path));
    }
    return {double(wall.nsecsElapsed()) / 1e9, cpuSeconds(RUSAGE_CHILDREN) - cpuBefore};
}

// The same work in one ffmpeg process: the floor without its start-up.
Measure extractWithOneFfmpeg(const QStringList &paths)
{
    QStringList arguments = {"-v", "error"};
    for (const QString &path : paths)
        arguments += {"-ss", "0.6", "-i", path};
    for (qsizetype i = 0; i < paths.size(); ++i) {
        arguments += {"-map",      QStringLiteral("%1:v").arg(i),
                      "-frames:v", "1",
                      "-vf",       "scale=320:240:force_original_aspect_ratio=decrease",
                      "-f",        "rawvideo",
                      "-pix_fmt",  "bgra",
                      "-y",        "/dev/null"};
    }
    QElapsedTimer wall;
    const double cpuBefore = cpuSeconds(RUSAGE_CHILDREN);
    wall.start();
    QProcess ffmpeg;
    ffmpeg.setStandardOutputFile(QProcess::nullDevice());
    ffmpeg.start(QStringLiteral("ffmpeg"), arguments);
    if (!ffmpeg.waitForFinished(300000) || ffmpeg.exitCode() != 0)
        qFatal("ffmpeg failed: %s", ffmpeg.readAllStandardError().constData());
    return {double(wall.nsecsElapsed()) / 1e9, cpuSeconds(RUSAGE_CHILDREN) - cpuBefore};
}

Measure appendWithGlaze(AppDelegate *appDelegate, const QStringList &paths)
{
    QElapsedTimer wall;
    const double cpuBefore = cpuSeconds(RUSAGE_SELF);
    const double mainBefore = threadCpuSeconds();
    wall.start();
    // Looks often enough to see the first file start, rarely enough to cost nothing.
    double firstPlaying = -1;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (appDelegate->mediaPlayer()->state() == VLCMediaPlayerState::Playing) {
            firstPlaying = double(wall.nsecsElapsed()) / 1e9;
            watch.stop();
        }
    });
    watch.start(5);
    const bool appended = appDelegate->mediaDragEvent(paths);
    Measure measure{double(wall.nsecsElapsed()) / 1e9, cpuSeconds(RUSAGE_SELF) - cpuBefore,
                    threadCpuSeconds() - mainBefore, firstPlaying};
    if (!appended || appDelegate->mediaPlaylist()->size() != paths.size())
        qFatal("appended %lld of %lld", qint64(appDelegate->mediaPlaylist()->size()),
               qint64(paths.size()));
    return measure;
}

} // namespace

int main(int argc, char **argv)
{
    prepareProcessForMediaEngine();
    // No window needs showing; the engine needs no audio device.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("GLAZE_VLC_OPTIONS"))
        qputenv("GLAZE_VLC_OPTIONS", "--vout=dummy --aout=adummy");
    QApplication application(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 100;

    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths.append(MediaFixtures::video(
            QStringLiteral("bench-add-%1.mp4").arg(i, 3, 10, QChar('0')), 2000));
        if (paths.last().isEmpty())
            qFatal("could not generate the videos");
    }

    const std::unique_ptr<MediaBackend> backend = createLibVlcBackend();
    AppDelegate *appDelegate = loadMainInterface(backend.get());
    if (!appDelegate)
        qFatal("could not load the main interface");
    QSignalSpy ready(appDelegate, &AppDelegate::mediaPlayerReady);
    appDelegate->applicationDidFinishLaunching();
    if (!appDelegate->mediaPlayer() && !ready.wait(10000))
        qFatal("the player was not made");

    // ffmpeg's first start loads its libraries from disk; later ones find them cached.
    extractWithFfmpeg(paths.mid(0, 1));
    const Measure floor = extractWithFfmpeg(paths);
    const Measure oneProcess = extractWithOneFfmpeg(paths);
    const Measure glaze = appendWithGlaze(appDelegate, paths);

    std::printf("%d videos (2 s, 320x240) in %s\n", count, qPrintable(MediaFixtures::directory()));
    std::printf("%-28s %10s %10s %16s\n", "", "wall s", "CPU s", "main thread CPU");
    std::printf("%-28s %10.2f %10.2f %16s\n", "ffmpeg, one frame each", floor.wallSeconds,
                floor.cpuSeconds, "");
    std::printf("%-28s %10.2f %10.2f %16s\n", "ffmpeg, all in one process", oneProcess.wallSeconds,
                oneProcess.cpuSeconds, "");
    std::printf("%-28s %10.2f %10.2f %9.2f (%4.1f %%)\n", "Glaze append", glaze.wallSeconds,
                glaze.cpuSeconds, glaze.mainThreadCpuSeconds,
                100.0 * glaze.mainThreadCpuSeconds / glaze.wallSeconds);
    std::printf("first file playing after %.2f s (goal within 1 s)\n", glaze.firstPlayingSeconds);
    std::printf("Glaze / ffmpeg wall: %.2fx per process, %.2fx in one process (goal within 2x); "
                "main thread CPU %.1f %% of wall (goal under 10 %%)\n",
                glaze.wallSeconds / floor.wallSeconds, glaze.wallSeconds / oneProcess.wallSeconds,
                100.0 * glaze.mainThreadCpuSeconds / glaze.wallSeconds);
    delete appDelegate->window();
    return 0;
}
