#include "ApplicationMain.h"

#include "AfterFirstFrame.h"
#include "AppDelegate.h"
#include "CommandLine.h"
#include "DesktopIntegration.h"
#include "FontWarmUp.h"
#include "InfoDictionary.h"
#include "app/desktop/InstanceChannel.h"
#include "chrome/ChromeWidgets.h"
#include "media/LibVlcBackend.h"

#include <QApplication>
#include <QIcon>
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

} // namespace

void nameApplication()
{
    const InfoDictionary &bundle = InfoDictionary::mainBundle();
    QApplication::setApplicationName(
        bundle.objectForInfoDictionaryKey(QStringLiteral("CFBundleName")));
    // The installed desktop entry is named by the same id (packaging/).
    QApplication::setDesktopFileName(
        bundle.objectForInfoDictionaryKey(QStringLiteral("CFBundleIdentifier")));
}

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
    FontWarmUp fonts;
    choosePlatform();
    QApplication application(argc, argv);
    nameApplication();
    // Read once Qt has taken out the arguments that are its own.
    const CommandLine commandLine = CommandLine::parse(argc, argv);
    // Before the window is built: with a player running, this one hands the
    // files over and is done.
    const QByteArray instanceSocket =
        InstanceChannel::socketPath(QApplication::desktopFileName() + QStringLiteral(".instance"));
    if (!commandLine.newInstance &&
        InstanceChannel::handOver(instanceSocket,
                                  commandLine.enqueue ? InstanceChannel::Request::Enqueue
                                                      : InstanceChannel::Request::Open,
                                  commandLine.files))
        return 0;

    const std::unique_ptr<MediaBackend> backend = createLibVlcBackend();
    fonts.fillFontDatabase();
    AppDelegate *appDelegate = loadMainInterface(backend.get());
    fonts.wait();
    if (!appDelegate)
        return 1;
    QPointer<QWidget> mainWindow = appDelegate->window();
    QObject::connect(&application, &QCoreApplication::aboutToQuit, appDelegate,
                     &AppDelegate::applicationWillTerminate);
    AfterFirstFrame::run(mainWindow->windowHandle(), [appDelegate, commandLine, instanceSocket] {
        // The task switcher shows the windows by this icon. Rendered for the
        // window manager, it costs as much as a quarter of the main window, so
        // it comes with the launch.
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/glaze.svg")));
        appDelegate->applicationDidFinishLaunching();
        if (commandLine.enqueue)
            appDelegate->applicationEnqueueFiles(commandLine.files);
        else
            appDelegate->applicationOpenFiles(commandLine.files);
        // A turn later, so that the window shows without waiting for the bus.
        QTimer::singleShot(0, appDelegate, [appDelegate, instanceSocket] {
            startDesktopIntegration(appDelegate, instanceSocket);
        });
    });
    const int status = QApplication::exec();
    // Windows, players and media go before the backend they came from.
    delete mainWindow;
    return status;
}
