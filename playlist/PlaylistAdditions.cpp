#include "PlaylistAdditions.h"

#include "FolderContents.h"
#include "MediaLengthReader.h"
#include "PathComponents.h"
#include "Playlist.h"
#include "media/NativePath.h"

#include <QGuiApplication>
#include <QWidget>
#include <thread>

namespace {

// How many paths ahead of the one being added the parses of audio files
// start: the engine parses one file at a time, and keeping it busy saves
// about a fifth of the time a long list of audio files takes.
constexpr qsizetype kLengthLookahead = 32;
// Longest wait for the length of one audio file. The engine's own parse gives
// up after 5 s.
constexpr int kLengthBoundMs = 6000;
// A long list of refused names is cut short: the alert must fit on the screen.
constexpr qsizetype kMaxNamesShown = 12;
// Reading folders that takes longer than this is told in the status line; a
// quicker one would only make it flicker.
constexpr int kSearchingShownAfterMs = 400;

} // namespace

PlaylistAdditions::PlaylistAdditions(Playlist &playlist, const MediaClassifier &classifier,
                                     MediaBackend *backend, QWidget *window)
    : _playlist(playlist)
    , _classifier(classifier)
    , _backend(backend)
    , _window(window)
{
}

bool PlaylistAdditions::appendPlaylistWithoutDublicates(const QStringList &paths,
                                                        AdditionQueue::Completion appended)
{
    AdditionQueue::Addition addition{paths, std::move(appended)};
    if (!_queue.isIdle()) {
        // Asked for from inside another addition's wait (a drop, the open
        // panel), or while earlier ones still wait: the running one's state
        // is on the stack below, so this one waits its turn.
        _queue.enqueue(std::move(addition));
        showProgress();
        return false;
    }
    _queue.begin(addition);
    return runAddition(addition);
}

bool PlaylistAdditions::runAddition(const AdditionQueue::Addition &addition)
{
    const MediaEntry firstAppended = appendPaths(addition);
    _queue.finish();
    showProgress();
    // The next addition runs from the event loop, after this one's caller has
    // dealt with its answer.
    if (_queue.hasWaiting())
        QMetaObject::invokeMethod(this, &PlaylistAdditions::runNextAddition, Qt::QueuedConnection);
    else
        emit becameIdle();
    return firstAppended != nullptr;
}

void PlaylistAdditions::runNextAddition()
{
    if (const std::optional<AdditionQueue::Addition> next = _queue.beginNext())
        runAddition(*next);
}

MediaEntry PlaylistAdditions::appendPaths(const AdditionQueue::Addition &addition)
{
    // Before launch there is neither a list nor an engine to ask.
    if (!_playlist.mediaPlaylist() || !_backend)
        return {};
    using Kind = MediaClassifier::Kind;
    const QStringList paths = expandFolders(addition.paths);
    _queue.recount(addition.paths.size(), paths.size());
    QList<Kind> kinds;
    kinds.reserve(paths.size());
    for (const QString &path : paths)
        kinds.append(_classifier.kind(path));

    MediaLengthReader lengths(kLengthBoundMs, [this] { _wait.wake(); });
    qsizetype lengthsRequested = 0;
    MediaEntry firstAppended;
    QStringList refused, unreadable;
    for (qsizetype i = 0; i < paths.size() && !_wait.isInterrupted(); ++i) {
        _queue.advance();
        showProgress();
        for (; lengthsRequested < paths.size() && lengthsRequested <= i + kLengthLookahead;
             ++lengthsRequested) {
            if (kinds[lengthsRequested] == Kind::Audio)
                lengths.request(_backend->mediaWithPath(paths[lengthsRequested]));
        }

        const QString &path = paths[i];
        MediaPreview preview;
        MediaProbe probe;
        switch (kinds[i]) {
        case Kind::Unsupported:
            refused.append(path);
            continue;
        case Kind::Audio: {
            // Audio entries carry the null preview.
            std::optional<MediaProbe> read;
            if (!_wait.waitUntil([&] { return (read = lengths.takeNext()).has_value(); }))
                continue;
            probe = *read;
            break;
        }
        case Kind::Video:
            // Without a picture in time the entry keeps the null preview, as
            // audio does.
            preview = previewOf(_previews.getMediaPreview(path, &probe));
            break;
        }
        // Quitting ended the wait: nothing was found out about the file.
        if (_wait.isInterrupted())
            break;
        // Only what the engine cannot play at all is left out.
        if (probe.tracks.isUnplayable()) {
            unreadable.append(path);
            continue;
        }
        const bool noVideoTrack =
            kinds[i] == Kind::Video && probe.tracks.known && !probe.tracks.hasVideo;
        auto entry =
            std::make_shared<const PlaylistEntry>(PlaylistEntry{path, probe.length, noVideoTrack});
        _playlist.append(entry, std::move(preview));
        if (!firstAppended) {
            firstAppended = std::move(entry);
            // The first new entry may start now, while the rest keep arriving.
            if (addition.appended)
                addition.appended(firstAppended);
        }
        emit entryAppended();
    }
    if (!refused.isEmpty())
        displayUnsupportedMessageForPaths(refused);
    _status.showUnreadable(unreadable);
    if (!firstAppended && addition.appended)
        addition.appended(nullptr);
    return firstAppended;
}

MediaPreview PlaylistAdditions::previewOf(const QImage &thumbnail) const
{
    if (thumbnail.isNull())
        return {};
    if (_previewSize.isEmpty())
        return std::make_shared<const QImage>(thumbnail);
    // The thumbnailer's picture is many times the row's: kept whole, a long
    // playlist's previews would take most of the process's memory. The
    // screen's pixel ratio keeps them sharp.
    const qreal ratio = _window ? _window->devicePixelRatio() : qApp->devicePixelRatio();
    QImage preview =
        thumbnail.scaled(_previewSize * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    preview.setDevicePixelRatio(ratio);
    return std::make_shared<const QImage>(std::move(preview));
}

QStringList PlaylistAdditions::expandFolders(const QStringList &paths)
{
    // A large tree takes a while to read: the window goes on meanwhile. Even a
    // single file is looked at there, as the file system may be slow to answer.
    std::atomic<bool> done = false, cancelled = false;
    QStringList expanded;
    std::thread walk([&, classifier = _classifier] {
        expanded = FolderContents::expandFolders(paths, classifier, cancelled);
        done = true;
        _wait.wake();
    });
    QTimer searching;
    searching.setSingleShot(true);
    searching.callOnTimeout(&_status, &AdditionStatusLine::showSearching);
    searching.start(kSearchingShownAfterMs);
    const bool finished = _wait.waitUntil([&] { return done.load(); });
    // Quitting: the walk gives up at its next name.
    cancelled = true;
    walk.join();
    return finished ? expanded : QStringList();
}

void PlaylistAdditions::showProgress()
{
    _status.showProgress(!_queue.isIdle(), _queue.currentPath(), _queue.totalPaths());
}

void PlaylistAdditions::displayUnsupportedMessageForPath(const QString &path)
{
    _alertSheets.beginSheetModalForWindow(
        _window, {QStringLiteral("Unsupported format"), NativePath::displayString(path)});
}

void PlaylistAdditions::displayUnsupportedMessageForPaths(const QStringList &paths)
{
    if (paths.size() == 1) {
        displayUnsupportedMessageForPath(paths.first());
        return;
    }
    QStringList names;
    for (const QString &path : paths.first(std::min(paths.size(), kMaxNamesShown)))
        names.append(NativePath::displayString(PathComponents::lastPathComponent(path)));
    if (paths.size() > kMaxNamesShown)
        names.append(tr("and %1 more").arg(paths.size() - kMaxNamesShown));
    _alertSheets.beginSheetModalForWindow(
        _window, {QStringLiteral("Unsupported format"), names.join(QLatin1Char('\n'))});
}
