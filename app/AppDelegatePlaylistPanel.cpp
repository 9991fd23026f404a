// AppDelegate: the playlist panel, and adding files and folders through the open panel.
#include "AppDelegate.h"
#include "media/NativePath.h"
#include "playlist/OpenPanelFilter.h"

#include <QFileDialog>

void AppDelegate::showPlaylistButtonClick(QObject *)
{
    if (!_playlistView)
        return;
    const bool opening = !_isPlaylistOpen;
    _playlistView->setHidden(!_playlistView->isHidden());
    layOutBesidePanel(opening);
    if (opening) {
        const int64_t row = indexOfObjectInArray(_curMediaPath, _playlist.visibleMediaPlaylist());
        if (row != NSNotFound)
            selectTableRow(row);
    }
    _isPlaylistOpen = !_playlistView->isHidden();
}

void AppDelegate::openMediaButtonClick(QObject *)
{
    addMediaButtonClick(_addMediaButton);
}

void AppDelegate::addMediaButtonClick(QObject *)
{
    QFileDialog panel(view()->window(), tr("Add to Playlist"));
    // Qt's own dialog, so that the listing can be filtered by our rule.
    panel.setOption(QFileDialog::DontUseNativeDialog);
    panel.setFileMode(QFileDialog::ExistingFiles);
    panel.setProxyModel(new OpenPanelFilter(
        [this](const QString &path) { return panelShouldShowFilename(nullptr, path); }, &panel));
    if (panel.exec() != QDialog::Accepted)
        return;
    addChosenPaths(panel.selectedFiles());
}

void AppDelegate::addFolderButtonClick(QObject *)
{
    QFileDialog panel(view()->window(), tr("Add Folder to Playlist"));
    // Qt's own dialog, as for files.
    panel.setOption(QFileDialog::DontUseNativeDialog);
    panel.setFileMode(QFileDialog::Directory);
    panel.setOption(QFileDialog::ShowDirsOnly);
    if (panel.exec() == QDialog::Accepted)
        addChosenPaths(panel.selectedFiles());
}

void AppDelegate::addChosenPaths(QStringList paths)
{
    // The dialog reads names as UTF-8 and loses the bytes of any that is not.
    for (QString &path : paths)
        path = NativePath::recover(path);
    appendPlaylistWithoutDublicates(paths, [this](const MediaEntry &firstAdded) {
        if (!firstAdded)
            return;
        dropFilter();
        // Something loaded keeps playing; the new entries wait their turn.
        if (!_mediaPlayer || _mediaPlayer->media())
            return;
        const int64_t index = indexOfObjectInArray(firstAdded, mediaPlaylist());
        if (index == NSNotFound)
            return;
        _playlist.setMediaIndex(index);
        if (configureForCurrentMedia() && !_isPlaying)
            playPauseButtonClick(nullptr);
    });
}
