#pragma once

#include "app/AppDelegate.h"

// The private state of AppDelegate as tests set it up and read it.
struct AppDelegateTestAccess {
    AppDelegate *d;

    int64_t &mediaIndex() { return d->_mediaIndex; }
    bool &isPlaylistOpen() { return d->_isPlaylistOpen; }
    bool &isPlaying() { return d->_isPlaying; }
    MediaEntry &curMediaPath() { return d->_curMediaPath; }
    VLCTime &curMediaLength() { return d->_curMediaLength; }
    MediaListRef &visibleMediaPlaylist() { return d->_visibleMediaPlaylist; }
    PreviewListRef &visibleMediaPreviews() { return d->_visibleMediaPreviews; }
    QTableView *playlistTableView() { return d->_playlistTableView; }
    QLineEdit *filterTextField() { return d->_filterTextField; }
    // Playlist.
    MediaListRef &mediaPlaylist() { return d->_mediaPlaylist; }
    PreviewListRef &mediaPreviews() { return d->_mediaPreviews; }
    void removeVisibleRow(int64_t row) { d->removeVisibleRow(row); }
    QStatusBar *additionStatusBar() { return d->window()->findChild<QStatusBar *>(); }
    AlertSheetQueue &alertSheets() { return d->_alertSheets; }

    // The length polls: the poll that is due runs at once instead of after its wait.
    bool hasPendingLengthPoll() { return d->hasPendingLengthPoll(); }
    void runPendingLengthPoll() { d->runPendingLengthPoll(); }
    static int64_t &legthTickCount() { return AppDelegate::legthTickCount; }
};
