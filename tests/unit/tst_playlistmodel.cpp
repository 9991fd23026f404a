// Random sequences of additions, filters, dropped filters, removals and
// changes of the current entry, checked after every step against a model of
// the playlist and the six rules the lists keep:
//   1. full lists of equal length, entry i paired with preview i;
//   2. visible lists of equal length, paired the same way;
//   3. visible entries are the full list's own objects, in its order;
//   4. no filter: the visible lists are the full lists; a filter: separate
//      lists that later changes of the full list do not reach;
//   5. the current index is -1 or a valid index (naming the same entry);
//   6. identity is the object: equal paths are told apart by every lookup.
// GLAZE_PLAYLIST_SEED replays a run; a failure prints the seed, the sequence
// and its steps.
#include "LaunchedApp.h"
#include "playlist/PathComponents.h"

#include <QMessageBox>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

namespace {

constexpr int SequenceCount = 10000;
constexpr int MaxStepsPerSequence = 6;

enum class Kind { Video, Audio, Unsupported, BrokenVideo, Duplicate };

struct Pair {
    MediaEntry entry;
    MediaPreview preview;
};

// What the playlist should hold.
struct Model {
    QList<Pair> full;
    // The visible lists do not exist before the first filter or drop.
    bool visibleExists = false;
    bool filtered = false;
    QList<MediaEntry> filteredView;
    MediaEntry current;

    qsizetype indexOf(const MediaEntry &entry) const
    {
        for (qsizetype i = 0; i < full.size(); ++i) {
            if (full[i].entry == entry)
                return i;
        }
        return -1;
    }
    MediaPreview previewOf(const MediaEntry &entry) const
    {
        return full.value(indexOf(entry)).preview;
    }

    void applyFilter(const QString &text)
    {
        visibleExists = true;
        filtered = !text.isEmpty();
        filteredView.clear();
        for (const Pair &pair : std::as_const(full)) {
            if (PathComponents::baseName(pair.entry->path).toUpper().contains(text.toUpper()))
                filteredView.append(pair.entry);
        }
    }
};

const QStringList Folders = {"/m", "/m/ab dir", "/M A"};
const QStringList Names = {"a", "ab", "B b", "x1", "My AB clip", "b.a"};
const QStringList VideoExtensions = {"mkv", "mp4", "avi", "MKV", "webm"};
const QStringList AudioExtensions = {"mp3", "flac", "ogg", "wav"};
const QStringList UnsupportedExtensions = {"txt", "swf", "pdf", ""};
const QStringList Filters = {"a", "A", "b", " ", "ab", "x", "mkv", "AB C", "1", "/"};

QString pick(QRandomGenerator &random, const QStringList &list)
{
    return list[random.bounded(int(list.size()))];
}

QString pathOf(const QString &folder, const QString &name, const QString &extension)
{
    return folder + '/' + name + (extension.isEmpty() ? QString() : '.' + extension);
}

} // namespace

class PlaylistModelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void randomSequencesKeepTheRules();

private:
    void reset();
    // Each step returns what went wrong, or an empty text.
    QString append(QRandomGenerator &random, QString &log);
    QString filter(QRandomGenerator &random, QString &log);
    QString dropFilter(QString &log);
    QString removeRow(QRandomGenerator &random, QString &log);
    QString makeCurrent(QRandomGenerator &random, QString &log);
    QString check() const;
    QStringList acknowledgeSheets();

    AppDelegate *d() const { return _app.appDelegate; }
    AppDelegateTestAccess access() const { return _app.access(); }

    LaunchedApp _app;
    Model _model;
};

void PlaylistModelTest::initTestCase()
{
    QVERIFY(_app.launch());
    for (const QString &folder : Folders) {
        for (const QString &extension : VideoExtensions)
            _app.backend.setThumbnailFails(pathOf(folder, "broken", extension));
    }
}

void PlaylistModelTest::reset()
{
    access().mediaPlaylist() = std::make_shared<MediaList>();
    access().mediaPreviews() = std::make_shared<PreviewList>();
    access().visibleMediaPlaylist().reset();
    access().visibleMediaPreviews().reset();
    access().mediaIndex() = -1;
    access().filterTextField()->setText(QString());
    _app.backend.thumbnailsFetched.clear();
    _model = Model();
}

QStringList PlaylistModelTest::acknowledgeSheets()
{
    QStringList texts;
    QMessageBox *sheet = nullptr;
    while ((sheet = access().alertSheets().currentSheet()) != nullptr) {
        texts.append(sheet->informativeText());
        sheet->buttons().first()->click();
    }
    // Closed sheets go away on the event loop's next turn, which this test's
    // own loop never takes.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return texts;
}

QString PlaylistModelTest::append(QRandomGenerator &random, QString &log)
{
    QStringList paths;
    QList<Kind> kinds;
    const int count = random.bounded(0, 4);
    for (int i = 0; i < count; ++i) {
        const QString folder = pick(random, Folders);
        const int roll = random.bounded(100);
        Kind kind = roll < 40   ? Kind::Video
                    : roll < 70 ? Kind::Audio
                    : roll < 78 ? Kind::Unsupported
                    : roll < 85 ? Kind::BrokenVideo
                                : Kind::Duplicate;
        QString path;
        switch (kind) {
        case Kind::Video:
            path = pathOf(folder, pick(random, Names), pick(random, VideoExtensions));
            break;
        case Kind::Audio:
            path = pathOf(folder, pick(random, Names), pick(random, AudioExtensions));
            break;
        case Kind::Unsupported:
            path = pathOf(folder, pick(random, Names), pick(random, UnsupportedExtensions));
            break;
        case Kind::BrokenVideo:
            path = pathOf(folder, "broken", pick(random, VideoExtensions));
            break;
        case Kind::Duplicate: {
            // A path already in the list, or one accepted earlier in this addition.
            QStringList known;
            QList<Kind> knownKinds;
            for (const Pair &pair : std::as_const(_model.full)) {
                known.append(pair.entry->path);
                knownKinds.append(pair.preview ? Kind::Video : Kind::Audio);
            }
            for (qsizetype j = 0; j < paths.size(); ++j) {
                if (kinds[j] == Kind::Video || kinds[j] == Kind::Audio) {
                    known.append(paths[j]);
                    knownKinds.append(kinds[j]);
                }
            }
            if (known.isEmpty()) {
                kind = Kind::Video;
                path = pathOf(folder, pick(random, Names), pick(random, VideoExtensions));
                break;
            }
            const int at = random.bounded(int(known.size()));
            path = known[at];
            kind = knownKinds[at];
            break;
        }
        }
        paths.append(path);
        kinds.append(kind);
    }
    const bool dropAfter = random.bounded(100) < 70;
    log += QStringLiteral("append %1%2; ")
               .arg(paths.join(QLatin1Char('|')), dropAfter ? " + drop" : "");

    const qsizetype before = d()->mediaPlaylist()->size();
    const QList<MediaEntry> filteredBefore = _model.filteredView;
    const bool answer = d()->appendPlaylistWithoutDublicates(paths);

    QStringList accepted, refused;
    QList<Kind> acceptedKinds;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (kinds[i] == Kind::Unsupported)
            refused.append(paths[i]);
        if (kinds[i] == Kind::Video || kinds[i] == Kind::Audio) {
            accepted.append(paths[i]);
            acceptedKinds.append(kinds[i]);
        }
    }
    if (answer != !accepted.isEmpty())
        return QStringLiteral("answered %1 with %2 accepted").arg(answer).arg(accepted.size());
    if (d()->mediaPlaylist()->size() != before + accepted.size())
        return QStringLiteral("%1 entries appended, %2 expected")
            .arg(d()->mediaPlaylist()->size() - before)
            .arg(accepted.size());
    for (qsizetype i = 0; i < accepted.size(); ++i) {
        const MediaEntry entry = d()->mediaPlaylist()->at(before + i);
        const MediaPreview preview = d()->mediaPreviews()->value(before + i);
        if (entry->path != accepted[i])
            return QStringLiteral("appended %1 where %2 was due").arg(entry->path, accepted[i]);
        if (bool(preview) != (acceptedKinds[i] == Kind::Video))
            return QStringLiteral("%1 has the wrong kind of preview").arg(entry->path);
        _model.full.append({entry, preview});
    }
    const QStringList alerts = acknowledgeSheets();
    if (alerts != refused)
        return QStringLiteral("alerts %1 for refused %2").arg(alerts.join('|'), refused.join('|'));

    if (answer && dropAfter)
        return dropFilter(log);
    return {};
}

QString PlaylistModelTest::filter(QRandomGenerator &random, QString &log)
{
    const QString text = random.bounded(5) == 0 ? QString() : pick(random, Filters);
    log += QStringLiteral("filter \"%1\"; ").arg(text);
    // As the user's edit arrives.
    QLineEdit *field = access().filterTextField();
    field->setText(text);
    emit field->textEdited(text);
    _model.applyFilter(text);
    return {};
}

QString PlaylistModelTest::dropFilter(QString &log)
{
    log += QStringLiteral("drop; ");
    d()->dropFilter();
    _model.applyFilter(QString());
    if (!access().filterTextField()->text().isEmpty())
        return QStringLiteral("the filter field kept its text");
    return {};
}

QString PlaylistModelTest::removeRow(QRandomGenerator &random, QString &log)
{
    const MediaListRef visible = access().visibleMediaPlaylist();
    if (!visible || visible->isEmpty())
        return {};
    const int row = random.bounded(int(visible->size()));
    log += QStringLiteral("remove row %1; ").arg(row);
    const MediaEntry removed = visible->at(row);
    access().removeVisibleRow(row);

    const qsizetype index = _model.indexOf(removed);
    if (index < 0)
        return QStringLiteral("row %1 showed an entry not in the list").arg(row);
    _model.full.removeAt(index);
    if (_model.current == removed)
        _model.current.reset();
    _model.applyFilter(access().filterTextField()->text());
    return {};
}

QString PlaylistModelTest::makeCurrent(QRandomGenerator &random, QString &log)
{
    const int index = random.bounded(-1, int(_model.full.size()));
    log += QStringLiteral("current %1; ").arg(index);
    access().mediaIndex() = index;
    _model.current = index < 0 ? MediaEntry() : _model.full[index].entry;
    return {};
}

QString PlaylistModelTest::check() const
{
    const MediaListRef full = d()->mediaPlaylist();
    const PreviewListRef previews = d()->mediaPreviews();
    // 1.
    if (full->size() != previews->size())
        return QStringLiteral("rule 1: %1 entries, %2 previews")
            .arg(full->size())
            .arg(previews->size());
    if (full->size() != _model.full.size())
        return QStringLiteral("%1 entries, %2 expected").arg(full->size()).arg(_model.full.size());
    for (qsizetype i = 0; i < full->size(); ++i) {
        if (full->at(i) != _model.full[i].entry || previews->at(i) != _model.full[i].preview)
            return QStringLiteral("rule 1: position %1 lost its entry or preview").arg(i);
    }
    // 6.
    QSet<const PlaylistEntry *> distinct;
    for (qsizetype i = 0; i < full->size(); ++i) {
        distinct.insert(full->at(i).get());
        if (AppDelegate::indexOfObjectInArray(full->at(i), full) != i)
            return QStringLiteral("rule 6: entry %1 found elsewhere").arg(i);
    }
    if (distinct.size() != full->size())
        return QStringLiteral("rule 6: an entry stands twice in the list");

    const MediaListRef visible = access().visibleMediaPlaylist();
    const PreviewListRef visiblePreviews = access().visibleMediaPreviews();
    if (!_model.visibleExists) {
        if (visible || visiblePreviews)
            return QStringLiteral("visible lists exist before any filter or drop");
    } else {
        if (!visible || !visiblePreviews)
            return QStringLiteral("visible lists missing");
        // 2.
        if (visible->size() != visiblePreviews->size())
            return QStringLiteral("rule 2: %1 visible entries, %2 previews")
                .arg(visible->size())
                .arg(visiblePreviews->size());
        // 4.
        const bool shared = visible == full && visiblePreviews == previews;
        const bool separate = visible != full && visiblePreviews != previews;
        if (!_model.filtered && !shared)
            return QStringLiteral("rule 4: no filter, yet the visible lists are copies");
        if (_model.filtered) {
            if (!separate)
                return QStringLiteral("rule 4: a filter, yet a visible list is the full one");
            if (*visible != _model.filteredView)
                return QStringLiteral("rule 4: the filtered view is not what the filter made");
        }
        // 3 and 2's pairing, and 6 for the visible list.
        int64_t last = -1;
        for (qsizetype j = 0; j < visible->size(); ++j) {
            const int64_t i = AppDelegate::indexOfObjectInArray(visible->at(j), full);
            if (i == AppDelegate::NSNotFound)
                return QStringLiteral("rule 3: visible row %1 is not in the full list").arg(j);
            if (i <= last)
                return QStringLiteral("rule 3: visible row %1 out of order").arg(j);
            last = i;
            if (visiblePreviews->at(j) != previews->at(i))
                return QStringLiteral("rule 2: visible row %1 has another entry's preview").arg(j);
            if (AppDelegate::indexOfObjectInArray(visible->at(j), visible) != j)
                return QStringLiteral("rule 6: visible row %1 found elsewhere").arg(j);
        }
    }
    // 5.
    const int64_t index = d()->mediaIndex();
    if (index != -1 && (index < 0 || index >= full->size()))
        return QStringLiteral("rule 5: index %1 of %2 entries").arg(index).arg(full->size());
    const int64_t expected = _model.current ? _model.indexOf(_model.current) : -1;
    if (index != expected)
        return QStringLiteral("rule 5: index %1 where %2 was due").arg(index).arg(expected);
    return {};
}

void PlaylistModelTest::randomSequencesKeepTheRules()
{
    bool seeded = false;
    const quint32 seed = qEnvironmentVariableIntValue("GLAZE_PLAYLIST_SEED", &seeded);
    const quint32 masterSeed = seeded ? seed : QRandomGenerator::global()->generate();
    qInfo("seed %u (set GLAZE_PLAYLIST_SEED to replay)", masterSeed);

    for (int sequence = 0; sequence < SequenceCount; ++sequence) {
        reset();
        QRandomGenerator random(masterSeed + quint32(sequence));
        QString log;
        const int steps = random.bounded(1, MaxStepsPerSequence + 1);
        for (int step = 0; step < steps; ++step) {
            const int roll = random.bounded(100);
            QString error = roll < 40   ? append(random, log)
                            : roll < 60 ? filter(random, log)
                            : roll < 70 ? dropFilter(log)
                            : roll < 90 ? removeRow(random, log)
                                        : makeCurrent(random, log);
            if (error.isEmpty())
                error = check();
            QVERIFY2(error.isEmpty(),
                     qPrintable(QStringLiteral("seed %1, sequence %2: %3\n  after: %4")
                                    .arg(masterSeed)
                                    .arg(sequence)
                                    .arg(error, log)));
        }
    }
}

QTEST_MAIN(PlaylistModelTest)
#include "tst_playlistmodel.moc"
