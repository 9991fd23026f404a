#include "TracksMenu.h"

#include "media/NativePath.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QMenu>
#include <QWidget>

TracksMenu::TracksMenu(QWidget *mainWindow, QObject *parent)
    : QObject(parent)
    , _mainWindow(mainWindow)
    , _audioTrackMenu(mainWindow->findChild<QMenu *>(QStringLiteral("audioTrackMenu")))
    , _subtitlesMenu(mainWindow->findChild<QMenu *>(QStringLiteral("subtitlesMenu")))
    , _addSubtitleMenuItem(mainWindow->findChild<QAction *>(QStringLiteral("addSubtitleMenuItem")))
{
    if (_addSubtitleMenuItem)
        connect(_addSubtitleMenuItem, &QAction::triggered, this,
                &TracksMenu::addSubtitleFileMenuItemClick);
    refresh();
}

void TracksMenu::setMediaPlayer(VLCMediaPlayer *player)
{
    _player = player;
    refresh();
}

void TracksMenu::refresh()
{
    fill(_audioTrackMenu, VLCTrackKind::Audio);
    fill(_subtitlesMenu, VLCTrackKind::Subtitle);
    if (_addSubtitleMenuItem)
        _addSubtitleMenuItem->setEnabled(_player && _player->media());
}

void TracksMenu::fill(QMenu *menu, VLCTrackKind kind)
{
    if (!menu)
        return;
    // The old items may be the sender of the signal that led here: they go
    // later (or with the menu).
    for (auto *group : menu->findChildren<QActionGroup *>(Qt::FindDirectChildrenOnly))
        group->deleteLater();
    menu->clear();
    QList<VLCTrack> tracks = _player ? _player->tracks(kind) : QList<VLCTrack>();
    // A media without subtitles has nothing to turn off.
    if (kind == VLCTrackKind::Subtitle && !tracks.isEmpty())
        tracks.prepend({VLCNoTrack, tr("Off")});
    auto *group = new QActionGroup(menu);
    const int current = _player ? _player->currentTrack(kind) : VLCNoTrack;
    for (const VLCTrack &track : tracks) {
        QAction *item = group->addAction(track.name);
        item->setCheckable(true);
        item->setChecked(track.id == current);
        item->setData(track.id);
        menu->addAction(item);
    }
    connect(group, &QActionGroup::triggered, this, [this, kind](QAction *item) {
        if (!_player)
            return;
        _player->setCurrentTrack(kind, item->data().toInt());
        // The check shows what the engine plays, not what was clicked: it
        // moves when the engine reports the change.
        refresh();
    });
    menu->menuAction()->setEnabled(!tracks.isEmpty());
}

void TracksMenu::addSubtitleFileMenuItemClick()
{
    if (!_player || !_player->media())
        return;
    QFileDialog panel(_mainWindow, tr("Add Subtitle File"));
    // Qt's own dialog, as for media files.
    panel.setOption(QFileDialog::DontUseNativeDialog);
    panel.setFileMode(QFileDialog::ExistingFile);
    panel.setNameFilter(tr("Subtitles (*.srt *.ass *.vtt)"));
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return;
    // The dialog reads names as UTF-8 and loses the bytes of any that is not.
    _player->addSubtitleFile(NativePath::recover(panel.selectedFiles().constFirst()));
}
