#pragma once

#include "PlayerSettings.h"
#include "StallWatch.h"
#include "Timer.h"
#include "chrome/UIControllerDelegate.h"
#include "controls/CustomView.h"
#include "media/MediaBackend.h"
#include "media/VLCVideoView.h"
#include "playlist/DragDropTarget.h"
#include "playlist/MediaClassifier.h"
#include "playlist/Playlist.h"
#include "playlist/PlaylistAdditions.h"

#include <QAbstractSlider>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTableView>
#include <QWidget>
#include <functional>
#include <memory>
#include <thread>

class CustomTableRowView;
class PlaylistCell;
class PlaylistCellDelegate;
class PlaylistModel;
class TracksMenu;
class UIController;

// The hub of the player: the view controller of the main window, the owner of
// the player, the playlist and the Timer, and the receiver of every command.
// The main interface file creates it as the widget that is its own view.
// Its operations are kept in files by concern; where the work lives in a
// subsystem's own objects (the playlist, its additions, the overlay), they
// hand it on.
class AppDelegate : public QWidget,
                    public DragDropDelegate,
                    public VLCMediaPlayerDelegate,
                    public VLCMediaThumbnailerDelegate,
                    public UIControllerDelegate {
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

    QWidget *view() override { return this; }

    // Start-up and window assembly.
    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    // The main window where it was last time, set before it is first shown
    // (AppDelegateSettings.cpp).
    void restoreWindowGeometry();
    void windowDidResize(QWidget *window);
    // The main window's frame on screen as the overlay covers it.
    QRect mainWindowFrame();
    // Handler of the key-down monitor: a space toggles play and pause, F
    // toggles full screen and Escape leaves it, unless the focus takes text.
    void keyDownMonitor(int key, Qt::KeyboardModifiers modifiers, bool isAutoRepeat);

    // The overlay's controls, handed over by UIController.
    void setOverlayControls(const OverlayControls &controls) override { _overlay = controls; }
    QAbstractButton *playPauseButton() const { return _overlay.playPauseButton; }
    QAbstractButton *muteButton() const { return _overlay.muteButton; }
    QAbstractButton *maxVolumeButton() const { return _overlay.maxVolumeButton; }
    QAbstractButton *rewindForwardButton() const { return _overlay.rewindForwardButton; }
    QAbstractButton *rewindBackwardButton() const { return _overlay.rewindBackwardButton; }
    QSlider *mediaProgressSlider() const { return _overlay.mediaProgressSlider; }
    QSlider *volumeSlider() const { return _overlay.volumeSlider; }
    QLabel *spentTimeLabel() const { return _overlay.spentTimeLabel; }
    QLabel *remainingTimeLabel() const { return _overlay.remainingTimeLabel; }
    QLabel *mediaName() const { return _overlay.mediaName; }
    QLabel *mediaBackgroundImageView() const { return _overlay.mediaBackgroundImageView; }
    QLabel *totalTimeLabel() const { return _overlay.totalTimeLabel; }
    QAbstractButton *showPlaylistButton() const { return _overlay.showPlaylistButton; }
    // Nobody assigns these: they are only ever passed on as senders.
    QAbstractButton *nextMediaButton() const { return _nextMediaButton; }
    QAbstractButton *prevMediaButton() const { return _prevMediaButton; }
    QAction *fullscreenMenuItem() const override { return _fullscreenMenuItem; }
    QMenu *mainMenu() const override { return _mainMenu; }

    QStringList supportedVideoFormats() const { return _classifier.supportedVideoFormats(); }
    void setSupportedVideoFormats(const QStringList &f) { _classifier.setSupportedVideoFormats(f); }
    QStringList supportedAudioFormats() const { return _classifier.supportedAudioFormats(); }
    void setSupportedAudioFormats(const QStringList &f) { _classifier.setSupportedAudioFormats(f); }
    int64_t curVolume() const { return _curVolume; }
    void setCurVolume(int64_t v) { _curVolume = v; }
    VLCMediaPtr curMedia() const { return _curMedia; }
    void setCurMedia(VLCMediaPtr m) { _curMedia = std::move(m); }
    std::function<void(int64_t)> mediaLengthBlock() const { return _mediaLengthBlock; }
    void setMediaLengthBlock(std::function<void(int64_t)> b) { _mediaLengthBlock = std::move(b); }
    // The previews' hand-over, made at launch: empty before.
    QSemaphore *thumbSemphore() const;
    QImage thumbnail() const;

    // Read-only views for tests and the subsystems.
    VLCMediaPlayer *mediaPlayer() const { return _mediaPlayer.get(); }
    VLCVideoView *mediaView() const { return _mediaView; }
    int64_t mediaIndex() const { return _playlist.mediaIndex(); }
    QWidget *mediaInterfaceWindow() const { return _mediaInterfaceWindow; }
    QWidget *userInterfaceWindow() const { return _userInterfaceWindow; }
    UIController *uiViewController() const { return _uiViewController.get(); }
    CustomView *playlistView() const { return _playlistView; }
    QWidget *mediaHolderView() const { return _mediaHolderView; }
    bool isPlaylistOpen() const { return _isPlaylistOpen; }
    bool isPlaying() const { return _isPlaying; }
    const MediaListRef &mediaPlaylist() const { return _playlist.mediaPlaylist(); }
    const PreviewListRef &mediaPreviews() const { return _playlist.mediaPreviews(); }
    Timer *timer() const { return _timer.get(); }
    Playlist &playlist() { return _playlist; }

    // Playlist model and filter (AppDelegatePlaylist.cpp).
    void applyFilter(const QString &filter);
    void dropFilter();
    static constexpr int64_t NSNotFound = Playlist::NSNotFound;
    static int64_t indexOfObjectInArray(const MediaEntry &object, const MediaListRef &array)
    {
        return Playlist::indexOfObjectInArray(object, array);
    }
    // Appends each playable path, in order, with its preview and its length;
    // refuses the others with one "Unsupported format" alert. YES when at
    // least one entry was appended. Additions run one at a time: one asked for
    // while another runs answers NO at once and runs afterwards. `appended`
    // hears of the first entry as soon as it is in the list.
    bool appendPlaylistWithoutDublicates(const QStringList &paths,
                                         AdditionQueue::Completion appended = {});

    // The table's data source: its rows are the visible entries, and files
    // dropped on it join the end of the playlist (AppDelegatePlaylist.cpp).
    int numberOfRowsInTableView(QTableView *tableView) const;
    bool tableViewAcceptDropRowDropOperation(QTableView *tableView, const QMimeData *data, int row);
    // The table's delegate: every column of a row shows the one cell,
    // configured for it; every row has the same row view, whose selection is
    // white at a quarter alpha; files may be dropped anywhere.
    PlaylistCell *tableViewViewForTableColumnRow(QTableView *tableView, int column, int row);
    CustomTableRowView *tableViewRowViewForRow(QTableView *tableView, int row);
    Qt::DropActions tableViewValidateDropProposedRowProposedDropOperation(QTableView *tableView,
                                                                          const QMimeData *data,
                                                                          int row);

    // Media classification by file-name extension.
    bool isVideoOrAudio(const QString &path) const { return _classifier.isVideoOrAudio(path); }
    bool isAudio(const QString &path) const { return _classifier.isAudio(path); }
    bool panelShouldShowFilename(QObject *panel, const QString &filename) const;
    void displayUnsupportedMessageForPath(const QString &path);

    // Media previews: waits for the thumbnailer with the event loop turning.
    QImage getMediaPreview(const QString &path, MediaProbe *probe = nullptr);
    void mediaThumbnailerDidFinishThumbnail(VLCMediaThumbnailer *thumbnailer,
                                            const QImage &thumbnail) override;
    void mediaThumbnailerDidTimeOut(VLCMediaThumbnailer *thumbnailer) override;

    // Playback commands (AppDelegatePlayback.cpp). While the player is still
    // being made they do nothing, beyond moving the volume slider.
    bool canClickControlButtons() const { return mediaIndex() >= 0; }
    // Back to not playing; a playing player is also stopped and emptied.
    void clearPlayer();
    // Adds the files and plays the first one added, as a drop on the video
    // does, closing the playlist panel; YES when at least one was added. One
    // that must wait for another addition answers NO and plays once it is made.
    bool mediaDragEvent(const QStringList &paths) override;
    // Some path names playable media or a folder that may hold some.
    bool mayAddMedia(const QStringList &paths) const override;
    // Files handed to the process (command line, a file manager's Open With,
    // a second `glaze`): opened as a drop on the video once the player exists.
    void applicationOpenFiles(const QStringList &paths);
    // The same, appended as a drop on the table is (`glaze --enqueue`).
    void applicationEnqueueFiles(const QStringList &paths);
    // Stops and unloads the current entry, which stays current: playing it
    // again starts it from the beginning.
    void stopCurrentMedia();
    // Moves the current media to that time; at its length or past it, the
    // media ends as if played to the end.
    void setMediaTime(int64_t ms);
    // The full-list index of the entry that the next and previous commands
    // would play, or NSNotFound.
    int64_t indexOfNextVisibleMedia() const;
    int64_t indexOfPreviousVisibleMedia() const;
    // The entry loaded last and its length, once the engine has told it.
    MediaEntry curMediaPath() const { return _curMediaPath; }
    VLCTime curMediaLength() const { return _curMediaLength; }

    // Current media, its length and the time read-outs
    // (AppDelegateCurrentMedia.cpp). Lengths are milliseconds, the Timer and
    // the progress slider count whole seconds.
    // Loads the entry at the current index without starting it; NO when its file is gone.
    bool configureForCurrentMedia();
    void getLengthWithBlock(std::function<void(int64_t)> block);
    void getLengthTick();
    // The step after every tick and every seek.
    void timeChanged();
    void refreshLabels();
    // The Timer's tick: one more second of playback.
    void secondPlayed();

    // VLCMediaPlayerDelegate: the count of seconds is kept by the Timer, so
    // the player's time changes nothing; its end or error ends the media.
    void mediaPlayerTimeChanged() override {}
    void mediaPlayerStateChanged() override;
    void mediaPlayerTracksChanged() override;

public slots:
    // Only the user's edits of the filter field arrive here.
    void filterChanged();

    // The application menu.
    void orderFrontStandardAboutPanel();
    void hideApplication();
    void terminate() override;

    // The overlay's controls and the menu items send these; senders are ignored.
    void playPauseButtonClick(QObject *sender = nullptr) override;
    void muteButtonClick(QObject *sender = nullptr) override;
    void maxVolumeButtonClick(QObject *sender = nullptr) override;
    void rewindForwardButtonClick(QObject *sender = nullptr) override;
    void rewindBackwardButtonClick(QObject *sender = nullptr) override;
    // YES when there was a next visible entry to step to.
    bool nextMediaButtonClick(QObject *sender = nullptr) override;
    void prevMediaButtonClick(QObject *sender = nullptr) override;
    void volumeSliderValueChanged(QObject *sender = nullptr) override;
    void mediaProgressSliderValueChanged(QObject *sender = nullptr) override;
    void playbackPlay(QObject *sender = nullptr);
    void playbackNext(QObject *sender = nullptr);
    void playbackPrev(QObject *sender = nullptr);
    void playbackForward(QObject *sender = nullptr);
    void playbackRewind(QObject *sender = nullptr);
    void toggleWindowFullScreen(QObject *sender = nullptr);
    // The keyboard's volume steps; mute remembers the volume it left.
    void volumeUp(QObject *sender = nullptr);
    void volumeDown(QObject *sender = nullptr);
    void toggleMute(QObject *sender = nullptr);
    // Opens the playlist panel if need be and puts the typing into its filter.
    void findInPlaylist(QObject *sender = nullptr);

    // The playlist panel and its table (AppDelegatePlaylistPanel.cpp).
    void showPlaylistButtonClick(QObject *sender = nullptr) override;
    // Plays the selected row; the table's double action (and Enter).
    void tableViewRowDoubleClicked(QObject *sender = nullptr);
    void removeMediaButtonClick(QObject *sender = nullptr);
    void addMediaButtonClick(QObject *sender = nullptr);
    void openMediaButtonClick(QObject *sender = nullptr);
    // Adds the media inside a chosen folder, as the add button adds files.
    void addFolderButtonClick(QObject *sender = nullptr);

signals:
    // The player created at launch has been handed to the main thread.
    void mediaPlayerReady();
    // Playing or not, the current media, its length or the volume changed.
    void playbackChanged();
    // The current media was moved to that time (milliseconds).
    void seeked(int64_t ms);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    // Tests reach the private state through this one door.
    friend struct AppDelegateTestAccess;

    // The table's selected row, -1 when none is.
    int64_t selectedTableRow() const;
    // Selects exactly that table row, or nothing when there is no such row.
    void selectTableRow(int64_t row);
    void retitleApplicationMenu();
    // The menus leave the window for its title bar's button and the picture.
    void installMainMenu();
    void createMediaPlayerInBackground();
    void adoptMediaPlayer(std::unique_ptr<VLCMediaPlayer> player);
    void buildOverlayWindow();
    void installKeyDownMonitor();
    // The video view and the overlay window beside the playlist panel, or
    // over the whole window.
    void layOutBesidePanel(bool panelShown);
    void createAdditions();
    // The table: its drops, its double action, its row view and its rows.
    void connectPlaylistTable();
    // Playback and current media.
    // Stops and empties the player and shows that nothing is loaded.
    void unloadPlayer();
    void playDroppedEntry(const MediaEntry &entry);
    // Adds what the user chose in a panel; the first new entry starts when
    // nothing is loaded.
    void addChosenPaths(QStringList paths);
    void setVolumeToSliderLimit(bool maximum);
    void whenMediaPlayerReady(const std::function<void()> &step);
    // The Timer, the engine and the read-outs go to that time.
    void moveToTime(int64_t ms);
    void stepVolume(QAbstractSlider::SliderAction step);
    // The play/pause button shows and names what a press will do.
    void setPlayPauseImages(bool playing);
    void seekBy(int seconds);
    void deliverMediaLength(int64_t lengthMs);
    bool hasPendingLengthPoll() const { return _pendingLengthPoll != 0; }
    // Runs the poll that is due next at once, as its timer would.
    void runPendingLengthPoll();
    // The current entry's media may be played, paused or moved.
    bool canCommandCurrentMedia() const;
    // Played to its end, or unable to play on: the next visible entry starts.
    void currentMediaDidEnd();
    // Another entry arrived while playback waited for one.
    void entryAppended();
    // Files dropped on the table join the end of the playlist.
    void appendDroppedOnTable(const QStringList &paths);
    // Removes the entry of that visible row; no row (-1) removes nothing.
    void removeVisibleRow(int64_t row);
    // What is remembered between runs (AppDelegateSettings.cpp): the volume
    // and the panel at launch, everything at quit.
    void restoreSettings();
    void saveSettings();
    // Where playback of the current entry stopped, for playing it again; YES
    // when that changed what is remembered.
    bool noteWherePlaybackStopped();
    // The same, written out at once.
    void rememberPlaybackPosition();
    // Played to its end: the current entry starts from the beginning next time.
    void forgetPlaybackPosition();
    // Where an entry about to be loaded continues: 0 for its beginning.
    uint32_t resumeSecondsFor(const MediaEntry &entry) const;
    // At the first start after loading, playback moves to where it last stopped.
    void resumeRememberedPosition();

    MediaBackend *_backend = nullptr;
    std::thread _playerCreation;

    QPointer<VLCVideoView> _mediaView;
    std::unique_ptr<VLCMediaPlayer> _mediaPlayer;
    // The lists and the current index.
    Playlist _playlist;
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
    OverlayControls _overlay;
    QPointer<QAbstractButton> _nextMediaButton;
    QPointer<QAbstractButton> _prevMediaButton;
    QPointer<QAction> _fullscreenMenuItem;
    QPointer<QMenu> _mainMenu;
    // The Playback menu's audio and subtitle items; a child made with the outlets.
    TracksMenu *_tracksMenu = nullptr;
    std::function<void(int64_t)> _mediaLengthBlock;
    VLCMediaPtr _curMedia;
    MediaClassifier _classifier;
    int64_t _curVolume = 100;
    // What M restores: the volume it silenced, or the engine's own level
    // when the slider or its button did.
    int _volumeBeforeMute = 100;

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

    // Additions (with their previews, alerts and progress), made at launch;
    // the table's rows over the visible list.
    std::unique_ptr<PlaylistAdditions> _additions;
    PlaylistModel *_playlistModel = nullptr;
    PlaylistCellDelegate *_playlistCellDelegate = nullptr;

    PlayerSettings _settings;
    // Where the loaded entry continues at its first start, in seconds (0: its beginning).
    uint32_t _resumeSeconds = 0;
};
