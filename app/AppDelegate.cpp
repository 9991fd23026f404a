#include "AppDelegate.h"

#include "Application.h"
#include "ApplicationMenu.h"
#include "InfoDictionary.h"
#include "KeyDownMonitor.h"
#include "TracksMenu.h"
#include "WindowLevel.h"
#include "chrome/ChildWindow.h"
#include "chrome/InputRegion.h"
#include "chrome/NoTitleWindow.h"
#include "chrome/UIController.h"
#include "chrome/WheelToSlider.h"
#include "chrome/WindowEdges.h"
#include "controls/CustomView.h"
#include "controls/InterfaceFile.h"
#include "playlist/SupportedFormats.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QResizeEvent>
#include <QTableView>

namespace {

// The interface grey of the playlist panel.
const QColor kPanelGrey = QColor::fromRgbF(41 / 255.0, 41 / 255.0, 41 / 255.0, 1.0);

// A layer background: the colour shows wherever nothing draws over it.
void setLayerBackgroundColor(QWidget *view, const QColor &color)
{
    // A view that fills itself keeps Qt from filling it.
    if (auto *customView = qobject_cast<CustomView *>(view)) {
        customView->setBackgroundColor(color);
        return;
    }
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, color);
    view->setPalette(palette);
    view->setAutoFillBackground(true);
}

} // namespace

AppDelegate::AppDelegate(QWidget *parent)
    : QWidget(parent)
{
}

AppDelegate::~AppDelegate()
{
    if (_playerCreation.joinable())
        _playerCreation.join();
    // A player made but not yet handed over waits in a queued call: release it
    // now, while the view it was made for still exists.
    QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    _mediaPlayer.reset();
}

void AppDelegate::connectOutlets(QWidget *mainWindow)
{
    _playlistView = outlet<CustomView>(mainWindow, "playlistView");
    _mediaHolderView = outlet<QWidget>(mainWindow, "mediaHolderView");
    _playlistTableView = outlet<QTableView>(mainWindow, "playlistTableView");
    _addMediaButton = outlet<QAbstractButton>(mainWindow, "addMediaButton");
    _removeMediaButton = outlet<QAbstractButton>(mainWindow, "removeMediaButton");
    _filterTextField = outlet<QLineEdit>(mainWindow, "filterTextField");
    _fullscreenMenuItem = outlet<QAction>(mainWindow, "fullscreenMenuItem");
    _tracksMenu = new TracksMenu(mainWindow, this);
}

void AppDelegate::applicationDidFinishLaunching()
{
    QWidget *mainWindow = view()->window();

    setLayerBackgroundColor(view(), Qt::red);
    if (_mediaHolderView)
        setLayerBackgroundColor(_mediaHolderView, Qt::blue);
    setSupportedVideoFormats(SupportedFormats::video());
    setSupportedAudioFormats(SupportedFormats::audio());
    setApplicationDelegate(this);
    setWindowLevel(mainWindow, WindowLevel::ModalPanel);
    if (_playlistView)
        _playlistView->setBackgroundColor(kPanelGrey);
    _isPlaylistOpen = false;
    _isPlaying = false;

    if (_mediaHolderView) {
        _mediaView = VLCVideoView::initWithFrame(_mediaHolderView->geometry(), _mediaHolderView);
        _mediaView->setAutoresizingMask(VLCVideoView::WidthSizable | VLCVideoView::HeightSizable);
        _mediaView->setFillScreen(true);
        // The picture takes no pointer: the window around it sees each move
        // and press over it (its edges, the overlay's activity) as its own.
        _mediaView->setAttribute(Qt::WA_TransparentForMouseEvents);
        setInputRegion(_mediaView, QRegion());
        _mediaView->show();
    }

    _playlist.create();

    retitleApplicationMenu();
    installMainMenu();
    createMediaPlayerInBackground();
    mainWindow->installEventFilter(this);
    if (_filterTextField)
        connect(_filterTextField, &QLineEdit::textEdited, this, &AppDelegate::filterChanged);
    connectPlaylistTable();

    _timer = std::make_unique<Timer>([this] { secondPlayed(); });
    setWindowLevel(mainWindow, WindowLevel::Normal);
    if (!_mediaInterfaceWindow)
        buildOverlayWindow();
    // Where the overlay lets the picture through, the wheel lands here.
    WheelToSlider::forward(_mediaHolderView, _overlay.volumeSlider);
    installKeyDownMonitor();
    createAdditions();
    restoreSettings();
    if (_overlay.volumeSlider)
        _curVolume = _overlay.volumeSlider->value();
}

void AppDelegate::retitleApplicationMenu()
{
    auto *mainWindow = qobject_cast<QMainWindow *>(view()->window());
    if (!mainWindow || mainWindow->menuBar()->actions().isEmpty())
        return;
    ::retitleApplicationMenu(
        mainWindow->menuBar()->actions().constFirst()->menu(),
        InfoDictionary::mainBundle().objectForInfoDictionaryKey(QStringLiteral("CFBundleName")));
}

void AppDelegate::installMainMenu()
{
    auto *mainWindow = qobject_cast<QMainWindow *>(view()->window());
    if (!mainWindow)
        return;
    _mainMenu = makeWindowMenu(mainWindow->menuBar(), mainWindow);
    if (!_mediaHolderView)
        return;
    // Where the overlay lets the picture through, the picture opens it.
    _mediaHolderView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(_mediaHolderView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &position) {
                if (_mainMenu && _mediaHolderView)
                    _mainMenu->popup(_mediaHolderView->mapToGlobal(position));
            });
}

void AppDelegate::createMediaPlayerInBackground()
{
    if (!_backend || !_mediaView)
        return;
    // The engine's start-up stays off the main thread. The player reaches the
    // main thread through a queued call; until then commands find no player.
    _playerCreation = std::thread([this, backend = _backend, view = _mediaView.data()] {
        auto player =
            std::make_shared<std::unique_ptr<VLCMediaPlayer>>(backend->initWithVideoView(view));
        QMetaObject::invokeMethod(
            this, [this, player] { adoptMediaPlayer(std::move(*player)); }, Qt::QueuedConnection);
    });
}

void AppDelegate::adoptMediaPlayer(std::unique_ptr<VLCMediaPlayer> player)
{
    if (_playerCreation.joinable())
        _playerCreation.join();
    _mediaPlayer = std::move(player);
    if (!_mediaPlayer)
        return;
    _mediaPlayer->setDelegate(this, this);
    _tracksMenu->setMediaPlayer(_mediaPlayer.get());
    _playlist.setMediaIndex(-1);
    emit mediaPlayerReady();
}

void AppDelegate::buildOverlayWindow()
{
    _mediaInterfaceWindow = view()->window();
    _uiViewController = std::make_unique<UIController>(QStringLiteral("UIController"), this);
    QWidget *overlayView = _uiViewController->view();
    if (!overlayView)
        return;
    _userInterfaceWindow = overlayView->window();
    if (_mediaHolderView) {
        const QPoint origin = _mediaHolderView->mapToGlobal(QPoint(0, 0));
        _userInterfaceWindow->setGeometry(QRect(origin, _mediaHolderView->size()));
    }
    // Not opaque: the video shows through wherever the overlay draws nothing.
    _userInterfaceWindow->setAttribute(Qt::WA_TranslucentBackground);
    ChildWindow::addChildWindow(_mediaInterfaceWindow, _userInterfaceWindow);
    // Lying over the main window, the overlay leaves it its edges to resize by.
    if (auto *window = qobject_cast<NoTitleWindow *>(_mediaInterfaceWindow.data()))
        window->edges()->addCover(_userInterfaceWindow);
}

void AppDelegate::installKeyDownMonitor()
{
    KeyDownMonitor::addLocalMonitorForKeyDown(
        this, [this](const QKeyEvent &event, bool isAutoRepeat) {
            keyDownMonitor(event.key(), event.modifiers(), isAutoRepeat);
        });
}

void AppDelegate::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The window's content changes without the window: a status line comes
    // or goes, full screen is left while it shows. The overlay must still
    // cover all of it.
    windowDidResize(_mediaInterfaceWindow);
}

void AppDelegate::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    windowDidResize(_mediaInterfaceWindow);
}

bool AppDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched->isWidgetType())
        windowDidResize(static_cast<QWidget *>(watched));
    return QWidget::eventFilter(watched, event);
}

QRect AppDelegate::mainWindowFrame()
{
    // The overlay covers the main window's content: all of it but a status
    // line while one shows.
    return QRect(view()->mapToGlobal(QPoint(0, 0)), view()->size());
}

void AppDelegate::windowDidResize(QWidget *window)
{
    if (window != _mediaInterfaceWindow || !_userInterfaceWindow)
        return;
    layOutBesidePanel(_isPlaylistOpen);
}

void AppDelegate::layOutBesidePanel(bool panelShown)
{
    // The overlay and the video cover the window less the panel's strip at
    // the right, at the same origin and height.
    QRect frame = mainWindowFrame();
    if (panelShown && _playlistView)
        frame.setWidth(frame.width() - _playlistView->width());
    if (_userInterfaceWindow)
        _userInterfaceWindow->setGeometry(frame);
    if (_mediaView)
        _mediaView->setGeometry(QRect(QPoint(0, 0), frame.size()));
}

void AppDelegate::orderFrontStandardAboutPanel()
{
    const InfoDictionary &info = InfoDictionary::mainBundle();
    const QString name = info.objectForInfoDictionaryKey(QStringLiteral("CFBundleName"));
    QMessageBox::about(view()->window(), tr("About %1").arg(name),
                       tr("<b>%1</b> %2<br>A video and audio player.")
                           .arg(name, info.objectForInfoDictionaryKey(
                                          QStringLiteral("CFBundleShortVersionString"))));
}

void AppDelegate::hideApplication()
{
    // The overlay follows the main window out of sight.
    view()->window()->showMinimized();
}

void AppDelegate::terminate()
{
    QCoreApplication::quit();
}

void AppDelegate::applicationWillTerminate()
{
    saveSettings();
    if (_userInterfaceWindow)
        _userInterfaceWindow->close();
    if (_mediaPlayer)
        _mediaPlayer->stop();
}
