#include "ApplicationMain.h"

#include "AppDelegate.h"
#include "InfoDictionary.h"
#include "chrome/ChromeWidgets.h"
#include "media/LibVlcBackend.h"
#include "media/NativePath.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace {

// libVLC draws only into X11 windows: take the xcb platform (XWayland under a
// Wayland session) unless the user chose one.
void choosePlatform()
{
    if (qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// The files named on the command line, as absolute paths; a file manager's
// "Open With" passes them the same way (or as file URLs). Read from the bytes
// themselves: a name that is not UTF-8 must still lead back to its file.
QStringList commandLineFiles(int argc, char **argv)
{
    QStringList paths;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        const QString url = NativePath::fromFileUrl(argument);
        paths.append(NativePath::absolutePath(argument.startsWith("file:") && !url.isEmpty()
                                                  ? url
                                                  : NativePath::fromNative(argument)));
    }
    return paths;
}

} // namespace

AppDelegate *loadMainInterface(MediaBackend *backend)
{
    const QString nibName =
        InfoDictionary::mainBundle().objectForInfoDictionaryKey(QStringLiteral("NSMainNibFile"));
    WidgetFactories factories = chromeWidgetFactories();
    factories.insert(QStringLiteral("AppDelegate"), widgetFactory<AppDelegate>());
    QWidget *mainWindow = loadInterfaceFile(nibName, factories);
    if (!mainWindow)
        return nullptr;
    auto *appDelegate = mainWindow->findChild<AppDelegate *>();
    if (!appDelegate) {
        delete mainWindow;
        return nullptr;
    }
    appDelegate->setMediaBackend(backend);
    appDelegate->connectOutlets(mainWindow);
    appDelegate->restoreWindowGeometry();
    mainWindow->show();
    return appDelegate;
}

int applicationMain(int argc, char **argv)
{
    prepareProcessForMediaEngine();
    choosePlatform();
    QApplication application(argc, argv);
    const InfoDictionary &bundle = InfoDictionary::mainBundle();
    QApplication::setApplicationName(
        bundle.objectForInfoDictionaryKey(QStringLiteral("CFBundleName")));
    // The installed desktop entry is named by the same id (packaging/).
    QApplication::setDesktopFileName(
        bundle.objectForInfoDictionaryKey(QStringLiteral("CFBundleIdentifier")));

    const std::unique_ptr<MediaBackend> backend = createLibVlcBackend();
    AppDelegate *appDelegate = loadMainInterface(backend.get());
    if (!appDelegate)
        return 1;
    QPointer<QWidget> mainWindow = appDelegate->window();
    QObject::connect(&application, &QCoreApplication::aboutToQuit, appDelegate,
                     &AppDelegate::applicationWillTerminate);
    QTimer::singleShot(0, appDelegate, [appDelegate, files = commandLineFiles(argc, argv)] {
        appDelegate->applicationDidFinishLaunching();
        appDelegate->applicationOpenFiles(files);
    });
    const int status = QApplication::exec();
    // Windows, players and media go before the backend they came from.
    delete mainWindow;
    return status;
}
