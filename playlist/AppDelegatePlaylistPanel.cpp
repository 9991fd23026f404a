// AppDelegate: adding files through the open panel.
#include "OpenPanelFilter.h"
#include "app/AppDelegate.h"
#include "media/NativePath.h"

#include <QFileDialog>

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
    // The dialog reads names as UTF-8 and loses the bytes of any that is not.
    QStringList chosen = panel.selectedFiles();
    for (QString &path : chosen)
        path = NativePath::recover(path);
    appendPlaylistWithoutDublicates(chosen, [this](const MediaEntry &firstAdded) {
        if (!firstAdded)
            return;
        dropFilter();
        // Something loaded keeps playing; the new entries wait their turn.
        if (!_mediaPlayer || _mediaPlayer->media())
            return;
        const int64_t index = indexOfObjectInArray(firstAdded, _mediaPlaylist);
        if (index == NSNotFound)
            return;
        _mediaIndex = index;
        if (configureForCurrentMedia() && !_isPlaying)
            playPauseButtonClick(nullptr);
    });
}
