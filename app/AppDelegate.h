#pragma once

#include "StallWatch.h"
#include "Timer.h"
#include "controls/CustomView.h"
#include "media/MediaBackend.h"
#include "media/VLCVideoView.h"
#include "playlist/AdditionQueue.h"
#include "playlist/AdditionStatusLine.h"
#include "playlist/AlertSheetQueue.h"
#include "playlist/EventLoopWait.h"
#include "playlist/MediaLengthReader.h"
#include "playlist/PlaylistEntry.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMutex>
#include <QPointer>
#include <QSemaphore>
#include <QSlider>
#include <QStatusBar>
#include <QStringList>
#include <QTableView>
#include <QWidget>
#include <functional>
#include <limits>
#include <memory>
#include <thread>

class UIController;

// The hub of the player: the view controller of the main window, the owner of
// the player, the playlist and the Timer, and the receiver of every command.
// The main interface file creates it as the widget that is its own view.
// Its operations live beside the subsystem they belong to; this file and
// AppDelegate.cpp hold the start-up and the window assembly.
class AppDelegate : public QWidget,
                    public VLCMediaPlayerDelegate,
                    public VLCMediaThumbnailerDelegate {
    Q_OBJECT
public:
    explicit AppDelegate(QWidget *parent = nullptr);
    ~AppDelegate() override;

    // The backend every media object, player and thumbnailer comes from. Set
    // once, before launching.
    void setMediaBackend(MediaBackend *backend) { _backend = backend; }
    MediaBackend *mediaBackend() const { return _backend; }

    // Outlets of the main interface file are found by object name; a missing
    // one leaves its field empty.
    void connectOutlets(QWidget *mainWindow);

    QWidget *view() { return this; }

    // Start-up and window assembly.
    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    void windowDidResize(QWidget *window);
    // The main window's frame on screen as the overlay covers it.
    QRect mainWindowFrame();
    // Handler of the key-down monitor: a space toggles play and pause.
    void keyDownMonitor(int key, bool isAutoRepeat);

    // Properties over the overlay's outlets, handed over by UIController.
    QAbstractButton *playPauseButton() const { return _playPauseButton; }
    void setPlayPauseButton(QAbstractButton *b) { _playPauseButton = b; }
    QAbstractButton *muteButton() const { return _muteButton; }
    void setMuteButton(QAbstractButton *b) { _muteButton = b; }
    QAbstractButton *maxVolumeButton() const { return _maxVolumeButton; }
    void setMaxVolumeButton(QAbstractButton *b) { _maxVolumeButton = b; }
    QAbstractButton *rewindForwardButton() const { return _rewindForwardButton; }
    void setRewindForwardButton(QAbstractButton *b) { _rewindForwardButton = b; }
    QAbstractButton *rewindBackwardButton() const { return _rewindBackwardButton; }
    void setRewindBackwardButton(QAbstractButton *b) { _rewindBackwardButton = b; }
    QAbstractButton *nextMediaButton() const { return _nextMediaButton; }
    void setNextMediaButton(QAbstractButton *b) { _nextMediaButton = b; }
    QAbstractButton *prevMediaButton() const { return _prevMediaButton; }
    void setPrevMediaButton(QAbstractButton *b) { _prevMediaButton = b; }
    QSlider *mediaProgressSlider() const { return _mediaProgressSlider; }
    void setMediaProgressSlider(QSlider *s) { _mediaProgressSlider = s; }
    QSlider *volumeSlider() const { return _volumeSlider; }
    void setVolumeSlider(QSlider *s) { _volumeSlider = s; }
    QLabel *spentTimeLabel() const { return _spentTimeLabel; }
    void setSpentTimeLabel(QLabel *l) { _spentTimeLabel = l; }
    QLabel *remainingTimeLabel() const { return _remainingTimeLabel; }
    void setRemainingTimeLabel(QLabel *l) { _remainingTimeLabel = l; }
    QLabel *mediaName() const { return _mediaName; }
    void setMediaName(QLabel *l) { _mediaName = l; }
    QLabel *mediaBackgroundImageView() const { return _mediaBackgroundImageView; }
    void setMediaBackgroundImageView(QLabel *l) { _mediaBackgroundImageView = l; }
    QLabel *totalTimeLabel() const { return _totalTimeLabel; }
    void setTotalTimeLabel(QLabel *l) { _totalTimeLabel = l; }
    QAction *fullscreenMenuItem() const { return _fullscreenMenuItem; }
    void setFullscreenMenuItem(QAction *a) { _fullscreenMenuItem = a; }
    QAbstractButton *showPlaylistButton() const { return _showPlaylistButton; }
    void setShowPlaylistButton(QAbstractButton *b) { _showPlaylistButton = b; }

    QStringList supportedVideoFormats() const { return _supportedVideoFormats; }
    void setSupportedVideoFormats(const QStringList &f) { _supportedVideoFormats = f; }
    QStringList supportedAudioFormats() const { return _supportedAudioFormats; }
    void setSupportedAudioFormats(const QStringList &f) { _supportedAudioFormats = f; }
    int64_t curVolume() const { return _curVolume; }
    void setCurVolume(int64_t v) { _curVolume = v; }
    VLCMediaPtr curMedia() const { return _curMedia; }
    void setCurMedia(VLCMediaPtr m) { _curMedia = std::move(m); }
    std::function<void(int64_t)> mediaLengthBlock() const { return _mediaLengthBlock; }
    void setMediaLengthBlock(std::function<void(int64_t)> b) { _mediaLengthBlock = std::move(b); }
    QSemaphore *thumbSemphore() const { return _thumbSemphore.get(); }
    // Written by the thumbnailer's answer on any thread.
    QImage thumbnail() const;
    void setThumbnail(const QImage &image);

    // Read-only views for tests and the subsystems.
    VLCMediaPlayer *mediaPlayer() const { return _mediaPlayer.get(); }
    VLCVideoView *mediaView() const { return _mediaView; }
    int64_t mediaIndex() const { return _mediaIndex; }
    QWidget *mediaInterfaceWindow() const { return _mediaInterfaceWindow; }
    QWidget *userInterfaceWindow() const { return _userInterfaceWindow; }
    UIController *uiViewController() const { return _uiViewController.get(); }
    CustomView *playlistView() const { return _playlistView; }
    QWidget *mediaHolderView() const { return _mediaHolderView; }
    bool isPlaylistOpen() const { return _isPlaylistOpen; }
    bool isPlaying() const { return _isPlaying; }
    const MediaListRef &mediaPlaylist() const { return _mediaPlaylist; }
    const PreviewListRef &mediaPreviews() const { return _mediaPreviews; }
    Timer *timer() const { return _timer.get(); }

    // Playlist model and filter (playlist/AppDelegatePlaylist.cpp).
    void applyFilter(const QString &filter);
    void dropFilter();
    // Position of the identical object in the list (never an equal copy), or
    // NSNotFound.
    static constexpr int64_t NSNotFound = std::numeric_limits<int64_t>::max();
    static int64_t indexOfObjectInArray(const MediaEntry &object, const MediaListRef &array);
    // Appends each playable path, in order, with its preview and its length;
    // refuses the others with one "Unsupported format" alert. YES when at
    // least one entry was appended. Additions run one at a time: one asked for
    // while another runs (from inside its wait for a thumbnail) waits for it,
    // answers NO at once and runs afterwards. `appended` hears of the first
    // entry as soon as it is in the list.
    bool appendPlaylistWithoutDublicates(const QStringList &paths,
                                         AdditionQueue::Completion appended = {});

    // Media classification by file-name extension
    // (playlist/AppDelegateClassification.cpp).
    bool isVideoOrAudio(const QString &path) const;
    bool isAudio(const QString &path) const;
    // The background image stands in for the picture of the current media.
    bool hasAudioLook(const QString &path) const;
    // Which files the open panel lists.
    bool panelShouldShowFilename(QObject *panel, const QString &filename) const;
    void displayUnsupportedMessageForPath(const QString &path);
    // One alert for all the paths an addition refused.
    void displayUnsupportedMessageForPaths(const QStringList &paths);

    // Media previews (playlist/AppDelegatePreviews.cpp). Waits for the
    // thumbnailer's answer with the event loop turning; a null image when it
    // timed out. `probe`, when given, receives what the thumbnailer's parse
    // found out about the media's length and streams.
    QImage getMediaPreview(const QString &path, MediaProbe *probe = nullptr);
    // VLCMediaThumbnailerDelegate: on any thread.
    void mediaThumbnailerDidFinishThumbnail(VLCMediaThumbnailer *thumbnailer,
                                            const QImage &thumbnail) override;
    void mediaThumbnailerDidTimeOut(VLCMediaThumbnailer *thumbnailer) override;

    // Playback commands (app/AppDelegatePlayback.cpp). While the player is
    // still being made they do nothing, beyond moving the volume slider.
    bool canClickControlButtons() const { return _mediaIndex >= 0; }
    // Back to not playing; a playing player is also stopped and emptied.
    void clearPlayer();
    // Adds the files and plays the first one added, as a drop on the video
    // does; YES when at least one was added. One that must wait for another
    // addition answers NO and plays once it is made.
    bool mediaDragEvent(const QStringList &paths);
    // Files handed to the process (command line, a file manager's Open With):
    // opened as a drop once the player exists.
    void applicationOpenFiles(const QStringList &paths);

    // Current media, its length and the time read-outs
    // (app/AppDelegateCurrentMedia.cpp). Lengths are milliseconds, the Timer
    // and the progress slider count whole seconds.
    // Loads the entry at _mediaIndex without starting it; NO when its file is gone.
    bool configureForCurrentMedia();
    void getLengthWithBlock(std::function<void(int64_t)> block);
    void getLengthTick();
    // The Timer's tick, and the step after every seek.
    void timeChanged();
    void refreshLabels();
    // The Timer's tick: one more second of playback.
    void secondPlayed();

    // VLCMediaPlayerDelegate: the count of seconds is kept by the Timer, so
    // the player's time changes nothing; its end or error ends the media.
    void mediaPlayerTimeChanged() override {}
    void mediaPlayerStateChanged() override;

public slots:
    // Only the user's edits of the filter field arrive here.
    void filterChanged();

    // The application menu.
    void orderFrontStandardAboutPanel();
    void hideApplication();
    void terminate();

    // The overlay's controls and the menu items send these; senders are ignored.
    void playPauseButtonClick(QObject *sender = nullptr);
    void muteButtonClick(QObject *sender = nullptr);
    void maxVolumeButtonClick(QObject *sender = nullptr);
    void rewindForwardButtonClick(QObject *sender = nullptr);
    void rewindBackwardButtonClick(QObject *sender = nullptr);
    // YES when there was a next visible entry to step to.
    bool nextMediaButtonClick(QObject *sender = nullptr);
    void prevMediaButtonClick(QObject *sender = nullptr);
    void volumeSliderValueChanged(QObject *sender = nullptr);
    void mediaProgressSliderValueChanged(QObject *sender = nullptr);
    void playbackPlay(QObject *sender = nullptr);
    void playbackNext(QObject *sender = nullptr);
    void playbackPrev(QObject *sender = nullptr);
    void playbackForward(QObject *sender = nullptr);
    void playbackRewind(QObject *sender = nullptr);
    void toggleWindowFullScreen(QObject *sender = nullptr);

    // The playlist panel's buttons and the File menu.
    void removeMediaButtonClick(QObject *sender = nullptr);
    void addMediaButtonClick(QObject *sender = nullptr);
    void openMediaButtonClick(QObject *sender = nullptr);

signals:
    // The player created at launch has been handed to the main thread.
    void mediaPlayerReady();
    // The visible lists were rebuilt or replaced: the table asks for its rows again.
    void playlistReloaded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    // Tests reach the private state through this one door.
    friend struct AppDelegateTestAccess;

    // Selects exactly that table row, or nothing when there is no such row.
    void selectTableRow(int64_t row);
    void retitleApplicationMenu();
    void createMediaPlayerInBackground();
    void adoptMediaPlayer(std::unique_ptr<VLCMediaPlayer> player);
    void buildOverlayWindow();
    void installKeyDownMonitor();
    // Playback and current media.
    // Stops and empties the player and shows that nothing is loaded.
    void unloadPlayer();
    void playDroppedEntry(const MediaEntry &entry);
    void setVolumeToSliderLimit(bool maximum);
    void seekBy(int seconds);
    // The current entry's media may be played, paused or moved.
    bool canCommandCurrentMedia() const;
    // Played to its end, or unable to play on: the next visible entry starts.
    void currentMediaDidEnd();
    void deliverMediaLength(int64_t lengthMs);
    bool hasPendingLengthPoll() const { return _pendingLengthPoll != 0; }
    // Runs the poll that is due next at once, as its timer would.
    void runPendingLengthPoll();
    // Playlist.
    enum class MediaKind { Unsupported, Video, Audio };
    MediaKind mediaKind(const QString &path) const;
    bool runAddition(const AdditionQueue::Addition &addition);
    void runNextAddition();
    MediaEntry appendPaths(const AdditionQueue::Addition &addition);
    void showAdditionProgress();
    // Removes the entry of that visible row; no row (-1) removes nothing.
    void removeVisibleRow(int64_t row);

    MediaBackend *_backend = nullptr;
    std::thread _playerCreation;

    // Fields of the data model, in its order.
    QPointer<VLCVideoView> _mediaView;
    std::unique_ptr<VLCMediaPlayer> _mediaPlayer;
    MediaListRef _mediaPlaylist;
    MediaListRef _visibleMediaPlaylist;
    PreviewListRef _mediaPreviews;
    PreviewListRef _visibleMediaPreviews;
    // -1 until the player exists, and whenever there is no current entry.
    int64_t _mediaIndex = -1;
    std::unique_ptr<Timer> _timer;
    QPointer<QWidget> _mediaInterfaceWindow;
    QPointer<QWidget> _userInterfaceWindow;
    std::unique_ptr<UIController> _uiViewController;
    bool _isPlaylistOpen = false;
    bool _isPlaying = false;
    MediaEntry _curMediaPath;
    VLCTime _curMediaLength;
    QPointer<CustomView> _playlistView;
    QPointer<QWidget> _mediaHolderView;
    QPointer<QTableView> _playlistTableView;
    QPointer<QAbstractButton> _addMediaButton;
    QPointer<QAbstractButton> _removeMediaButton;
    QPointer<QLineEdit> _filterTextField;
    QPointer<QAbstractButton> _playPauseButton;
    QPointer<QAbstractButton> _muteButton;
    QPointer<QAbstractButton> _maxVolumeButton;
    QPointer<QAbstractButton> _rewindForwardButton;
    QPointer<QAbstractButton> _rewindBackwardButton;
    QPointer<QAbstractButton> _nextMediaButton;
    QPointer<QAbstractButton> _prevMediaButton;
    QPointer<QSlider> _mediaProgressSlider;
    QPointer<QSlider> _volumeSlider;
    QPointer<QLabel> _spentTimeLabel;
    QPointer<QLabel> _remainingTimeLabel;
    QPointer<QLabel> _mediaName;
    QPointer<QLabel> _mediaBackgroundImageView;
    QPointer<QLabel> _totalTimeLabel;
    QPointer<QAction> _fullscreenMenuItem;
    std::function<void(int64_t)> _mediaLengthBlock;
    VLCMediaPtr _curMedia;
    std::unique_ptr<QSemaphore> _thumbSemphore;
    QImage _thumbnail;
    mutable QMutex _thumbnailLock;
    QStringList _supportedVideoFormats;
    QStringList _supportedAudioFormats;
    int64_t _curVolume = 100;
    QPointer<QAbstractButton> _showPlaylistButton;

    // Length polls since the last delivery, counted for the whole process.
    static inline int64_t legthTickCount = 0;
    // The poll that is due next (0: none). A newer poll replaces a pending one,
    // so one chain at most serves the current media.
    uint64_t _pendingLengthPoll = 0;
    uint64_t _lastLengthPoll = 0;
    StallWatch _stallWatch;
    // The last entry ended while an addition was still appending: the next
    // entry it appends starts, as if it had been there all along.
    bool _playNextWhenAppended = false;

    // Playlist: additions one at a time, the waits inside them, their alerts
    // and their progress in the main window's status bar.
    AdditionQueue _additions;
    EventLoopWait _additionWait;
    AlertSheetQueue _alertSheets;
    AdditionStatusLine _additionStatus;
};
