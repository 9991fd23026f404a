// The playlist on the stand-in engine: random sequences of additions, filters,
// removals and changes of the current entry, checked after every step against
// a model; what an addition tells of the files it cannot take; removal from
// the panel; and quitting while an addition waits. GLAZE_PLAYLIST_SEED replays
// a run, GLAZE_PLAYLIST_SEQUENCES runs more.
#include "PlaybackApp.h"
#include "playlist/PathComponents.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QtTest>

namespace {

QString namesOf(const MediaListRef &list)
{
    QStringList names;
    for (const MediaEntry &entry : *list)
        names.append(PathComponents::baseName(entry->path));
    return names.join(' ');
}

// Clicks through the sheets as they open; their informative texts, in order.
QStringList acknowledgeSheets(QWidget *window)
{
    for (QStringList texts;;) {
        QList<QMessageBox *> open = window->findChildren<QMessageBox *>();
        open.removeIf([](QMessageBox *box) { return !box->isVisible(); });
        if (open.isEmpty())
            return texts;
        texts.append(open.first()->informativeText());
        open.first()->buttons().first()->click();
    }
}

// Few enough that paths repeat within an addition and across additions; the
// last two are refused.
const QStringList Pool = QStringLiteral("/m/a.mkv,/m/ab dir/My AB clip.MKV,/M A/x1.webm,"
                                        "/m/b.a.avi,/m/B b.mp3,/m/x1.ogg,/m/notes.txt,/m/ab.swf")
                             .split(',');
const QStringList Filters = {"", "a", "A", "b", " ", "ab", "x", "mkv", "AB C", "/"};

// What the playlist should hold. Each step returns what went wrong, or nothing.
struct ExpectedPlaylist {
    PlaybackApp &app;
    QList<MediaEntry> entries = {};
    QString filter = {};
    QList<MediaEntry> shown = {}; // under a filter, as it last filtered
    MediaEntry current = {};

    AppDelegate *d() const { return app.appDelegate; }
    void refilter()
    {
        shown.clear();
        for (const MediaEntry &entry : std::as_const(entries)) {
            if (PathComponents::baseName(entry->path).contains(filter, Qt::CaseInsensitive))
                shown.append(entry);
        }
    }

    QString append(QRandomGenerator &random, QString &log)
    {
        QStringList given, paths, refused;
        for (int i = random.bounded(4); i > 0; --i) {
            const int pick = random.bounded(int(Pool.size()));
            given.append(Pool[pick]);
            (pick < Pool.size() - 2 ? paths : refused).append(Pool[pick]);
        }
        log += "append " + given.join('|') + "; ";
        const qsizetype before = entries.size();
        if (d()->appendPlaylistWithoutDublicates(given) == paths.isEmpty())
            return "wrong answer";
        entries.append(d()->mediaPlaylist()->mid(before));
        QStringList added;
        for (const MediaEntry &entry : entries.mid(before))
            added.append(entry->path);
        if (added != paths)
            return "appended " + added.join('|');
        const QStringList alerts = acknowledgeSheets(app.mainWindow());
        // Closed sheets go on the event loop's next turn, which this test never takes.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // One sheet for the addition: a single path whole, several by their names.
        QStringList names;
        for (const QString &path : refused)
            names.append(PathComponents::lastPathComponent(path));
        const QStringList told = refused.size() > 1 ? QStringList{names.join('\n')} : refused;
        return alerts == told ? QString() : "alerts " + alerts.join('|');
    }

    QString step(QRandomGenerator &random, QString &log)
    {
        const int roll = random.bounded(100);
        if (roll < 40)
            return append(random, log);
        if (roll < 60) {
            filter = Filters[random.bounded(int(Filters.size()))];
            log += "filter \"" + filter + "\"; ";
            // As the user's edit arrives.
            app.access().filterTextField()->setText(filter);
            emit app.access().filterTextField()->textEdited(filter);
            refilter();
        } else if (roll < 85) {
            // Rows past either end remove nothing.
            const MediaListRef visible = app.access().visibleMediaPlaylist();
            const int row = random.bounded(-1, int(visible->size()) + 1);
            log += QStringLiteral("remove row %1; ").arg(row);
            const MediaEntry removed = visible->value(row);
            app.access().removeVisibleRow(row);
            if (entries.removeOne(removed))
                refilter();
        } else {
            const int index = random.bounded(-1, int(entries.size()));
            log += QStringLiteral("current %1; ").arg(index);
            app.access().setMediaIndex(index);
            current = entries.value(index);
        }
        return {};
    }

    QString check() const
    {
        const MediaListRef full = d()->mediaPlaylist();
        const MediaListRef visible = app.access().visibleMediaPlaylist();
        // Entries compare as objects: equal paths are told apart. Without a
        // filter the lists are shared; under one, additions do not reach it.
        if (*full != entries || (visible == full) != filter.isEmpty() ||
            (!filter.isEmpty() && *visible != shown))
            return "the lists differ from the model";
        if (d()->mediaPreviews()->size() != full->size() ||
            app.access().visibleMediaPreviews()->size() != visible->size())
            return "entries and previews unpaired";
        for (qsizetype i = 0; i < full->size(); ++i) {
            if (AppDelegate::indexOfObjectInArray(full->at(i), full) != i)
                return QStringLiteral("entry %1 found elsewhere").arg(i);
        }
        if (d()->mediaIndex() != (current ? entries.indexOf(current) : -1))
            return QStringLiteral("current index %1").arg(d()->mediaIndex());
        return {};
    }
};

} // namespace

class PlaylistTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PlaybackApp> _app;
    AppDelegate *d() const { return _app->appDelegate; }

public:
    // The desktop's type registry plus Flash as video: swf must be refused
    // though the registry would take it.
    static void initMain()
    {
        static QTemporaryDir dataHome;
        QFile package(dataHome.filePath("mime/packages/glaze-test.xml"));
        if (!QDir().mkpath(dataHome.filePath("mime/packages")) ||
            !package.open(QIODevice::WriteOnly) ||
            package.write("<?xml version='1.0'?><mime-info "
                          "xmlns='http://www.freedesktop.org/standards/shared-mime-info'>"
                          "<mime-type type='video/x-glaze-test-flash'>"
                          "<glob pattern='*.swf' weight='100'/></mime-type></mime-info>") < 0)
            qFatal("cannot register the test's types");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    }

private slots:
    void init() { QVERIFY((_app = std::make_unique<PlaybackApp>())->launch()); }
    void cleanup() { _app.reset(); }

    void additionTellsWhatItCannotTake()
    {
        // Files the engine finds nothing to play in are left out without an alert.
        for (const char *junk : {"/m/junk.mkv", "/m/junk.mp3"}) {
            _app->backend.setThumbnailFails(junk);
            _app->backend.setTracks(junk, {true, false, false});
        }
        QVERIFY(d()->appendPlaylistWithoutDublicates(
            {"/m/clip.mkv", "/m/a.txt", "/m/junk.mkv", "/m/b.swf", "/m/junk.mp3"}));
        QCOMPARE(namesOf(d()->mediaPlaylist()), "clip");
        QCOMPARE(_app->access().alertSheets().currentSheet()->text(), "Unsupported format");
        QCOMPARE(acknowledgeSheets(_app->mainWindow()), QStringList{"a.txt\nb.swf"});
        QCOMPARE(_app->access().additionStatusBar()->currentMessage(), "2 files could not be read");
        QCOMPARE(_app->access().additionStatusBar()->toolTip(), "junk.mkv\njunk.mp3");
    }

    void randomSequencesKeepTheModel()
    {
        ExpectedPlaylist model{*_app};
        // The table's model must follow every change exactly.
        QAbstractItemModelTester tester(_app->access().playlistTableView()->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        bool seeded = false, counted = false;
        const quint32 seed = qEnvironmentVariableIntValue("GLAZE_PLAYLIST_SEED", &seeded);
        const int sequences = qEnvironmentVariableIntValue("GLAZE_PLAYLIST_SEQUENCES", &counted);
        const quint32 masterSeed = seeded ? seed : 20261206u;
        for (int sequence = 0; sequence < (counted ? sequences : 1000); ++sequence) {
            _app->access().playlist().create();
            _app->access().setMediaIndex(-1);
            d()->dropFilter();
            model.entries.clear(), model.current.reset(), model.filter.clear();
            QRandomGenerator random(masterSeed + quint32(sequence));
            QString log = QStringLiteral("seed %1, sequence %2: ").arg(masterSeed).arg(sequence);
            for (int steps = random.bounded(1, 7); steps > 0; --steps) {
                QString error = model.step(random, log);
                error = error.isEmpty() ? model.check() : error;
                QVERIFY2(error.isEmpty(), qPrintable(error + " after " + log));
            }
        }
    }

    void removalFromThePanel_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("current");  // full-list index playing
        QTest::addColumn<int>("selected"); // visible row
        QTest::addColumn<int>("key");      // none: the remove button
        QTest::addColumn<QString>("left");
        QTest::addColumn<int>("playing");   // its place in what is left; -1: nothing
        QTest::addColumn<QString>("shown"); // empty: all that is left
        QTest::addRow("before the current, which plays on")
            << "" << 2 << 0 << 0 << "bee cat antelope" << 1 << "";
        QTest::addRow("after the current, by Delete")
            << "" << 0 << 2 << int(Qt::Key_Delete) << "ant bee antelope" << 0 << "";
        QTest::addRow("the current stops playback, by Backspace")
            << "" << 1 << 1 << int(Qt::Key_Backspace) << "ant cat antelope" << -1 << "";
        QTest::addRow("with a filter, which stays, as the current does")
            << "ant" << 1 << 1 << 0 << "ant bee cat" << 1 << "ant";
    }
    void removalFromThePanel()
    {
        QFETCH(QString, filter);
        QFETCH(int, current);
        QFETCH(int, selected);
        QFETCH(int, key);
        QFETCH(QString, left);
        QFETCH(int, playing);
        QFETCH(QString, shown);
        for (const char *name : {"ant.mp4", "bee.mp4", "cat.mp4", "antelope.mp4"})
            _app->add(name, 10000);
        QVERIFY(_app->loadAndPlay(current));
        d()->showPlaylistButtonClick();
        QLineEdit *field = _app->access().filterTextField();
        field->setText(filter);
        emit field->textEdited(filter);
        QTableView *table = _app->access().playlistTableView();
        table->selectionModel()->setCurrentIndex(table->model()->index(selected, 0),
                                                 QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
        QApplication::setActiveWindow(_app->mainWindow());
        table->setFocus();
        if (key)
            QTest::keyClick(table, Qt::Key(key));
        else
            _app->mainWindow()->findChild<QAbstractButton *>("removeMediaButton")->click();
        QCOMPARE(namesOf(d()->mediaPlaylist()), left);
        QCOMPARE(namesOf(_app->access().visibleMediaPlaylist()), shown.isEmpty() ? left : shown);
        QCOMPARE(field->text(), filter);
        QCOMPARE(PathComponents::baseName(_app->currentPath()), left.split(' ').value(playing));
        QCOMPARE(d()->isPlaying(), playing >= 0);
        QVERIFY(d()->isPlaylistOpen());
    }

    void quittingDuringAWaitEndsTheAddition()
    {
        _app->backend.setThumbnailsHeld(true);
        bool appended = true;
        // Quits as soon as the first fetch is held: the files are known to be files by then.
        QTimer quitting;
        quitting.callOnTimeout([&] {
            if (_app->backend.heldThumbnailCount() > 0)
                QCoreApplication::quit();
        });
        QTimer::singleShot(0, &quitting, [&] {
            quitting.start(0);
            appended = d()->appendPlaylistWithoutDublicates({"/m/one.mkv", "/m/two.mp3"});
        });
        // Should quitting not end the wait, the answer comes after all: a failure, not a hang.
        QTimer::singleShot(5000, &quitting, [&] {
            _app->backend.setThumbnailsHeld(false);
            _app->backend.answerHeldThumbnails();
        });
        QCoreApplication::exec();
        QVERIFY(!appended);
        QCOMPARE(_app->backend.thumbnailsFetched, QStringList{"/m/one.mkv"});
    }
};

QTEST_MAIN(PlaylistTest)
#include "tst_playlist.moc"
