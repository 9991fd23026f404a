#pragma once

#include "AdditionQueue.h"
#include "AdditionStatusLine.h"
#include "AlertSheetQueue.h"
#include "EventLoopWait.h"
#include "MediaClassifier.h"
#include "MediaPreviews.h"

#include <QObject>
#include <QPointer>

class Playlist;

// Adding files to the playlist: folders give the media files inside them,
// then each path is classified, given its preview
// and its length, and appended, or refused with the "Unsupported format"
// alert, or left out when the engine finds nothing to play in it. Additions
// run one at a time; the progress shows in the window's status line.
class PlaylistAdditions : public QObject {
    Q_OBJECT
public:
    PlaylistAdditions(Playlist &playlist, const MediaClassifier &classifier, MediaBackend *backend,
                      QWidget *window);

    void setStatusBar(QStatusBar *bar) { _status.setStatusBar(bar); }
    // Previews are stored at the size the table's rows draw them, in points;
    // an empty size keeps the thumbnailer's pictures as they come.
    void setPreviewSize(const QSize &size) { _previewSize = size; }

    // Appends each playable path, in order. YES when at least one entry was
    // appended. One asked for while another runs (from inside its wait for a
    // thumbnail) waits for it, answers NO at once and runs afterwards.
    // `appended` hears of the first entry as soon as it is in the list.
    bool appendPlaylistWithoutDublicates(const QStringList &paths,
                                         AdditionQueue::Completion appended = {});
    // Nothing is being added, and nothing waits to be.
    bool isIdle() const { return _queue.isIdle(); }

    void displayUnsupportedMessageForPath(const QString &path);
    // One alert for all the paths an addition refused.
    void displayUnsupportedMessageForPaths(const QStringList &paths);

    MediaPreviews &previews() { return _previews; }
    AlertSheetQueue &alertSheets() { return _alertSheets; }

signals:
    // One more entry is in the list.
    void entryAppended();
    // The last addition asked for is done.
    void becameIdle();

private:
    bool runAddition(const AdditionQueue::Addition &addition);
    void runNextAddition();
    MediaEntry appendPaths(const AdditionQueue::Addition &addition);
    // The paths with every folder replaced by the media files inside it, read
    // on a thread of its own while the event loop turns; none when quitting
    // ended the wait.
    QStringList expandFolders(const QStringList &paths);
    void showProgress();
    MediaPreview previewOf(const QImage &thumbnail) const;

    Playlist &_playlist;
    const MediaClassifier &_classifier;
    MediaBackend *const _backend;
    const QPointer<QWidget> _window;
    AdditionQueue _queue;
    EventLoopWait _wait;
    MediaPreviews _previews{_backend, _wait};
    AlertSheetQueue _alertSheets;
    AdditionStatusLine _status;
    QSize _previewSize;
};
