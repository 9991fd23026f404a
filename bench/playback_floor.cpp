// The floor for Glaze's playback: libVLC embedded into one native Qt window,
// playing the file it is given, with the engine arguments Glaze uses plus
// GLAZE_VLC_OPTIONS, and nothing else. It stays open after the end, like
// Glaze, until it is ended; the end is reported on stderr as "ended SECONDS".
// Given PAUSE_AFTER_MS, it pauses that long after starting to play, as a user
// would, so that the engine's own cost while paused can be read.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <X11/Xlib.h>
#include <vlc/vlc.h>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s FILE [PAUSE_AFTER_MS]\n", argv[0]);
        return 2;
    }
    // libVLC's X11 output uses Xlib from its own threads.
    XInitThreads();
    if (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication application(argc, argv);

    QByteArrayList options = {"--intf=dummy", "--no-video-title-show", "--quiet"};
    options += qgetenv("GLAZE_VLC_OPTIONS").simplified().split(' ');
    options.removeAll(QByteArray());
    QList<const char *> arguments;
    for (const QByteArray &option : std::as_const(options))
        arguments.append(option.constData());
    libvlc_instance_t *instance = libvlc_new(int(arguments.size()), arguments.data());
    if (!instance)
        return 1;

    QWidget window;
    window.setWindowTitle(QStringLiteral("Playback Floor"));
    window.setAttribute(Qt::WA_NativeWindow);
    window.resize(960, 540);
    window.show();

    libvlc_media_player_t *player = libvlc_media_player_new(instance);
    libvlc_media_player_set_xwindow(player, uint32_t(window.winId()));
    libvlc_video_set_mouse_input(player, false);
    libvlc_video_set_key_input(player, false);
    libvlc_media_t *media = libvlc_media_new_path(instance, argv[1]);
    libvlc_media_player_set_media(player, media);
    libvlc_event_attach(
        libvlc_media_player_event_manager(player), libvlc_MediaPlayerEndReached,
        [](const libvlc_event_t *, void *elapsed) {
            std::fprintf(stderr, "ended %.2f\n",
                         static_cast<QElapsedTimer *>(elapsed)->elapsed() / 1000.0);
        },
        &sinceStart);
    libvlc_media_player_play(player);
    if (argc == 3) {
        QTimer::singleShot(QByteArray(argv[2]).toInt(),
                           [player] { libvlc_media_player_set_pause(player, 1); });
    }

    const int status = QApplication::exec();
    libvlc_media_player_stop(player);
    libvlc_media_player_release(player);
    libvlc_media_release(media);
    libvlc_release(instance);
    return status;
}
