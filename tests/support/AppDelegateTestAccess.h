#pragma once

#include "app/AppDelegate.h"

#include <QStatusBar>

// The private state of AppDelegate as tests set it up and read it.
struct AppDelegateTestAccess {
    AppDelegate *d;

    Playlist &playlist() { return d->_playlist; }
    void setMediaIndex(int64_t index) { d->_playlist.setMediaIndex(index); }
    const MediaListRef &visibleMediaPlaylist() { return d->_playlist.visibleMediaPlaylist(); }
    const PreviewListRef &visibleMediaPreviews() { return d->_playlist.visibleMediaPreviews(); }
    QTableView *playlistTableView() { return d->_playlistTableView; }
    QLineEdit *filterTextField() { return d->_filterTextField; }
    void removeVisibleRow(int64_t row) { d->removeVisibleRow(row); }
    QStatusBar *additionStatusBar() { return d->window()->findChild<QStatusBar *>(); }
    AlertSheetQueue &alertSheets() { return d->_additions->alertSheets(); }

    // The length polls: the poll that is due runs at once instead of after its wait.
    bool hasPendingLengthPoll() { return d->hasPendingLengthPoll(); }
    void runPendingLengthPoll() { d->runPendingLengthPoll(); }
    static int64_t &legthTickCount() { return AppDelegate::legthTickCount; }
};
