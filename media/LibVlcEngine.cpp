#include "LibVlcEngine.h"

#include <QByteArrayList>
#include <QtGlobal>
#include <vector>
#include <vlc/vlc.h>

LibVlcEngine::~LibVlcEngine()
{
    libvlc_release(_instance);
}

std::shared_ptr<LibVlcEngine> LibVlcEngine::shared()
{
    // A function-local static is built exactly once even when threads race
    // here. Its reference is dropped at exit; the instance outlives it as
    // long as anything still uses libVLC.
    static const std::shared_ptr<LibVlcEngine> engine = [] {
        QByteArrayList options = {"--intf=dummy", "--no-video-title-show", "--quiet"};
        // Headless runs choose their outputs here, e.g. "--vout=dummy --aout=adummy".
        const QByteArray extra = qgetenv("GLAZE_VLC_OPTIONS").simplified();
        if (!extra.isEmpty())
            options += extra.split(' ');
        std::vector<const char *> argv;
        for (const QByteArray &option : options)
            argv.push_back(option.constData());
        libvlc_instance_t *instance = libvlc_new(int(argv.size()), argv.data());
        if (!instance) {
            qWarning("libVLC could not start: %s", libvlc_errmsg() ? libvlc_errmsg() : "unknown");
            return std::shared_ptr<LibVlcEngine>();
        }
        return std::shared_ptr<LibVlcEngine>(new LibVlcEngine(instance));
    }();
    return engine;
}
