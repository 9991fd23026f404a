// Which files a drop names: the local files of a text/uri-list, byte for byte,
// and the media files inside a dropped folder, in reading order.
#include "media/NativePath.h"
#include "playlist/DroppedFiles.h"
#include "playlist/FolderContents.h"

#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Names = QList<QByteArray>;

Names bytesOf(const QStringList &paths, const QByteArray &root = {})
{
    Names names;
    for (const QString &path : paths)
        names.append(NativePath::toNative(path).mid(root.isEmpty() ? 0 : root.size() + 1));
    return names;
}

// Builds a tree under `root` from entries relative to it: "dir/" makes a
// folder, "link -> target" a symbolic link, anything else an empty file.
bool build(const QByteArray &root, const Names &entries)
{
    for (const QByteArray &entry : entries) {
        const qsizetype arrow = entry.indexOf(" -> ");
        const QByteArray path = root + '/' + (arrow < 0 ? entry : entry.left(arrow));
        bool made = false;
        if (arrow >= 0)
            made = ::symlink(entry.mid(arrow + 4).constData(), path.constData()) == 0;
        else if (entry.endsWith('/'))
            made = ::mkdir(path.constData(), 0700) == 0;
        else if (const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0600); fd >= 0)
            made = ::close(fd) == 0;
        if (!made)
            return false;
    }
    return true;
}

QStringList expand(const QByteArray &root, const Names &given)
{
    MediaClassifier classifier;
    classifier.setSupportedVideoFormats({"mkv", "mp4"});
    classifier.setSupportedAudioFormats({"mp3"});
    QStringList paths;
    for (const QByteArray &name : given)
        paths.append(NativePath::fromNative(root + '/' + name));
    const std::atomic<bool> cancelled = false;
    return FolderContents::expandFolders(paths, classifier, cancelled);
}

} // namespace

class DroppedFilesTest : public QObject {
    Q_OBJECT
private slots:
    void uriListGivesLocalFilesByteForByte_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<Names>("files"); // none: the drop names no file
        const QByteArray list = "text/uri-list";
        QTest::addRow("CRLF lines, in order")
            << list << QByteArray("file:///m/b.mkv\r\nfile:///m/a.mp4\r\n")
            << Names{"/m/b.mkv", "/m/a.mp4"};
        QTest::addRow("comments and blank lines passed over")
            << list << QByteArray("# dragged\r\n\r\nfile:///m/a.mp4\r\n") << Names{"/m/a.mp4"};
        QTest::addRow("file://localhost is this machine")
            << list << QByteArray("file://localhost/m/a.mp4") << Names{"/m/a.mp4"};
        QTest::addRow("escaped newline, percent and hash")
            << list << QByteArray("file:///m/take%0A100%25%20%232.mp4")
            << Names{"/m/take\n100% #2.mp4"};
        QTest::addRow("escaped bytes that are not UTF-8")
            << list << QByteArray("file:///m/lat%E9in%FF.mp4") << Names{"/m/lat\xe9in\xff.mp4"};
        QTest::addRow("a web address beside a file leaves the file")
            << list << QByteArray("http://example.org/a.mp4\r\nfile:///m/b.mp4\r\n")
            << Names{"/m/b.mp4"};
        QTest::addRow("a web address alone names nothing")
            << list << QByteArray("http://example.org/a.mp4\r\n") << Names{};
        QTest::addRow("another machine's file names nothing")
            << list << QByteArray("file://nas/m/a.mp4\r\n") << Names{};
        QTest::addRow("a bare path is no URI") << list << QByteArray("/m/a.mp4\r\n") << Names{};
        QTest::addRow("plain text names nothing")
            << QByteArray("text/plain") << QByteArray("/m/a.mp4") << Names{};
    }
    void uriListGivesLocalFilesByteForByte()
    {
        QFETCH(QByteArray, format);
        QFETCH(QByteArray, data);
        QFETCH(Names, files);
        QMimeData mime;
        mime.setData(QString::fromLatin1(format), data);
        const std::optional<QStringList> paths = DroppedFiles::filenames(&mime);
        QCOMPARE(paths.has_value(), !files.isEmpty());
        if (paths)
            QCOMPARE(bytesOf(*paths), files);
    }

    void folderGivesItsMediaInReadingOrder_data()
    {
        QTest::addColumn<Names>("tree");
        QTest::addColumn<Names>("given"); // relative to the tree's root
        QTest::addColumn<Names>("added");
        QTest::addRow("numbers by value, case ignored")
            << Names{"d/", "d/10 clip.mp4", "d/2 clip.mp4", "d/clip 3.mkv", "d/Clip 1.mkv"}
            << Names{"d"} << Names{"d/2 clip.mp4", "d/10 clip.mp4", "d/Clip 1.mkv", "d/clip 3.mkv"};
        QTest::addRow("subfolders in place, at any depth")
            << Names{"d/", "d/c.mp4", "d/b/", "d/b/z/", "d/b/z/y.mp3", "d/b/a.mkv", "d/a.mp4"}
            << Names{"d"} << Names{"d/a.mp4", "d/b/a.mkv", "d/b/z/y.mp3", "d/c.mp4"};
        QTest::addRow("hidden names and other files passed over")
            << Names{"d/",          "d/.hidden.mp4", "d/.cache/", "d/.cache/x.mp4",
                     "d/notes.txt", "d/cover.jpg",   "d/clip.mp4"}
            << Names{"d"} << Names{"d/clip.mp4"};
        QTest::addRow("a link to its own folder ends")
            << Names{"d/", "d/a.mp4", "d/self -> .", "d/sub/", "d/sub/up -> .."} << Names{"d"}
            << Names{"d/a.mp4"};
        QTest::addRow("names that are not UTF-8 kept as bytes")
            << Names{"d/", "d/lat\xe9in.mp4", "d/sub\xff/", "d/sub\xff/a.mp3"} << Names{"d"}
            << Names{"d/lat\xe9in.mp4", "d/sub\xff/a.mp3"};
        QTest::addRow("files named beside a folder kept as named, in place")
            << Names{"d/", "d/a.mp4", "notes.txt"} << Names{"notes.txt", "d", "gone.mkv"}
            << Names{"notes.txt", "d/a.mp4", "gone.mkv"};
        QTest::addRow("an empty folder adds nothing") << Names{"d/"} << Names{"d"} << Names{};
    }
    void folderGivesItsMediaInReadingOrder()
    {
        QFETCH(Names, tree);
        QFETCH(Names, given);
        QTemporaryDir folder;
        const QByteArray root = QFile::encodeName(folder.path());
        QVERIFY(build(root, tree));
        QTEST(bytesOf(expand(root, given), root), "added");
    }

    void unreadableSubfolderIsPassedOver()
    {
        if (::geteuid() == 0) {
            // Root reads every folder: this runs again as nobody.
            QCOMPARE(
                QProcess::execute("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                              QCoreApplication::applicationFilePath(),
                                              "unreadableSubfolderIsPassedOver"}),
                0);
            return;
        }
        QTemporaryDir folder;
        const QByteArray root = QFile::encodeName(folder.path());
        QVERIFY(build(root, {"d/", "d/a.mp4", "d/locked/", "d/locked/x.mp4", "d/z.mp4"}));
        QVERIFY(::chmod(root + "/d/locked", 0) == 0);
        const QStringList added = expand(root, {"d"});
        ::chmod(root + "/d/locked", 0700); // so that the folder can be removed
        QCOMPARE(bytesOf(added, root), Names({"d/a.mp4", "d/z.mp4"}));
    }
};

QTEST_GUILESS_MAIN(DroppedFilesTest)
#include "tst_droppedfiles.moc"
