#include "FolderContents.h"

#include "media/NativePath.h"

#include <QCollator>
#include <QSet>
#include <algorithm>

namespace {

// The C locale collates by code point and knows no numbers: there, names are
// read as in English.
QLocale readingLocale()
{
    const QLocale locale;
    return locale.language() == QLocale::C ? QLocale(QLocale::English) : locale;
}

class FolderWalk {
public:
    FolderWalk(const MediaClassifier &classifier, const std::atomic<bool> &cancelled)
        : _classifier(classifier)
        , _cancelled(cancelled)
        , _collator(readingLocale())
    {
        _collator.setNumericMode(true);
        _collator.setCaseSensitivity(Qt::CaseInsensitive);
    }

    void walk(const QString &folder, const NativePath::Status &status, QStringList &found)
    {
        if (_cancelled || _visited.contains({status.device, status.inode}))
            return;
        _visited.insert({status.device, status.inode});
        std::optional<QStringList> names = NativePath::folderEntries(folder);
        if (!names)
            return;
        names->removeIf([](const QString &name) { return name.startsWith(QLatin1Char('.')); });
        std::sort(names->begin(), names->end(), [this](const QString &a, const QString &b) {
            // Names that collate alike (bytes that are not UTF-8 read the
            // same) still keep one order, the bytes'.
            const int order = _collator.compare(a, b);
            return order != 0 ? order < 0 : NativePath::toNative(a) < NativePath::toNative(b);
        });
        const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + '/';
        for (const QString &name : std::as_const(*names)) {
            if (_cancelled)
                return;
            const QString path = prefix + name;
            const NativePath::Status entry = NativePath::status(path);
            if (entry.kind == NativePath::Kind::Directory)
                walk(path, entry, found);
            else if (entry.kind == NativePath::Kind::RegularFile &&
                     _classifier.isVideoOrAudio(path))
                found.append(path);
        }
    }

private:
    const MediaClassifier &_classifier;
    const std::atomic<bool> &_cancelled;
    QCollator _collator;
    QSet<std::pair<quint64, quint64>> _visited;
};

} // namespace

namespace FolderContents {

QStringList expandFolders(const QStringList &paths, const MediaClassifier &classifier,
                          const std::atomic<bool> &cancelled)
{
    QStringList expanded;
    expanded.reserve(paths.size());
    for (const QString &path : paths) {
        const NativePath::Status status = NativePath::status(path);
        if (status.kind != NativePath::Kind::Directory) {
            expanded.append(path);
            continue;
        }
        // Each folder named adds all it holds, as a file named twice is added twice.
        FolderWalk(classifier, cancelled).walk(path, status, expanded);
    }
    return expanded;
}

} // namespace FolderContents
