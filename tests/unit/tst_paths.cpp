// File names as bytes, and where they come from: every name, valid UTF-8 or
// not, comes back to the same bytes; a drop's text/uri-list, a dropped folder
// and the command line name exactly the files meant.
#include "app/CommandLine.h"
#include "media/NativePath.h"
#include "playlist/DroppedFiles.h"
#include "playlist/FolderContents.h"

#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Names = QList<QByteArray>;

namespace {

Names bytesOf(const QStringList &paths, qsizetype cut = 0)
{
    Names names;
    for (const QString &path : paths)
        names.append(NativePath::toNative(path).mid(cut));
    return names;
}

// Under `root`: "dir/" makes a folder, "link -> target" a symbolic link,
// anything else an empty file (whose descriptor is closed).
bool build(const QByteArray &root, const Names &entries)
{
    for (const QByteArray &entry : entries) {
        const qsizetype arrow = entry.indexOf(" -> ");
        const QByteArray path = root + '/' + (arrow < 0 ? entry : entry.left(arrow));
        const int made = arrow >= 0 ? ::symlink(entry.mid(arrow + 4).constData(), path.constData())
                         : entry.endsWith('/') ? ::mkdir(path.constData(), 0700)
                                               : ::open(path.constData(), O_CREAT | O_WRONLY, 0600);
        if (made < 0 || (made > 0 && ::close(made) != 0))
            return false;
    }
    return true;
}

} // namespace

class PathsTest : public QObject {
    Q_OBJECT
private slots:
    void bytesComeBackUnchanged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addRow("UTF-8 with an emoji")
            << QByteArray("/m/\xc3\xa9t\xc3\xa9 \xf0\x9f\x8e\xac") << QString::fromUtf8("/m/été 🎬");
        QTest::addRow("Latin-1 byte") << QByteArray("/m/lat\xe9in1.mp4") << "/m/latéin1.mp4";
        QTest::addRow("stray continuation and lead bytes, 0xFF, an overlong slash")
            << QByteArray("/\x80\xbf\xc3\xff\xc0\xaf")
            << QString::fromLatin1("/\x80\xbf\xc3\xff\xc0\xaf");
    }
    void bytesComeBackUnchanged()
    {
        QFETCH(QByteArray, bytes);
        const QString path = NativePath::fromNative(bytes);
        QCOMPARE(NativePath::toNative(path), bytes);
        QTEST(NativePath::displayString(path), "shown");
        QCOMPARE(NativePath::fromFileUrl(NativePath::fileUrl(path).toEncoded()), path);
    }

    void droppedUriListNamesLocalFiles_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<Names>("files"); // none: the drop names no file
        QTest::addRow("lines in order; comments, blank lines and web addresses passed over")
            << QByteArray("# dragged\r\n\r\nfile:///m/b.mkv\r\nhttp://example.org/c.mp4\r\n"
                          "file://localhost/m/a.mp4\r\n")
            << Names{"/m/b.mkv", "/m/a.mp4"};
        QTest::addRow("escaped newline, percent, hash and bytes that are not UTF-8")
            << QByteArray("file:///m/take%0A100%25%20%232%E9%FF.mp4")
            << Names{"/m/take\n100% #2\xe9\xff.mp4"};
        QTest::addRow("a web address and another machine's file name nothing")
            << QByteArray("http://example.org/a.mp4\r\nfile://nas/m/a.mp4\r\n") << Names{};
        QTest::addRow("a bare path is no URI") << QByteArray("/m/a.mp4\r\n") << Names{};
    }
    void droppedUriListNamesLocalFiles()
    {
        QFETCH(QByteArray, data);
        QFETCH(Names, files);
        QMimeData mime;
        mime.setData("text/uri-list", data);
        const std::optional<QStringList> paths = DroppedFiles::filenames(&mime);
        QCOMPARE(paths.has_value(), !files.isEmpty());
        if (paths)
            QCOMPARE(bytesOf(*paths), files);
    }

    void droppedFolderGivesItsMediaInReadingOrder_data()
    {
        QTest::addColumn<Names>("tree");
        QTest::addColumn<Names>("given");
        QTest::addColumn<Names>("added");
        QTest::addRow("numbers by value, case ignored")
            << Names{"d/", "d/10 clip.mp4", "d/2 clip.mp4", "d/clip 3.mkv", "d/Clip 1.mkv"}
            << Names{"d"} << Names{"d/2 clip.mp4", "d/10 clip.mp4", "d/Clip 1.mkv", "d/clip 3.mkv"};
        QTest::addRow("subfolders in place; hidden names and other files passed over")
            << Names{"d/", "d/c.mp4", "d/b/", "d/b/z.mp3", "d/.h.mp4", "d/notes.txt", "d/a.mp4"}
            << Names{"d"} << Names{"d/a.mp4", "d/b/z.mp3", "d/c.mp4"};
        QTest::addRow("a link to its own folder ends; names not UTF-8 kept as bytes")
            << Names{"d/",         "d/lat\xe9in.mp4", "d/self -> .",
                     "d/sub\xff/", "d/sub\xff/a.mp3", "d/sub\xff/up -> .."}
            << Names{"d"} << Names{"d/lat\xe9in.mp4", "d/sub\xff/a.mp3"};
        QTest::addRow("files named beside a folder kept as named, in place")
            << Names{"d/", "d/a.mp4", "notes.txt"} << Names{"notes.txt", "d", "gone.mkv"}
            << Names{"notes.txt", "d/a.mp4", "gone.mkv"};
    }
    void droppedFolderGivesItsMediaInReadingOrder()
    {
        QFETCH(Names, tree);
        QFETCH(Names, given);
        QTemporaryDir folder;
        const QByteArray root = QFile::encodeName(folder.path());
        QVERIFY(build(root, tree));
        MediaClassifier classifier;
        classifier.setSupportedVideoFormats({"mkv", "mp4"});
        classifier.setSupportedAudioFormats({"mp3"});
        QStringList paths;
        for (const QByteArray &name : given)
            paths.append(NativePath::fromNative(root + '/' + name));
        const std::atomic<bool> cancelled = false;
        QTEST(bytesOf(FolderContents::expandFolders(paths, classifier, cancelled), root.size() + 1),
              "added");
    }

    void commandLine_data()
    {
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::addColumn<QByteArrayList>("files"); // relative ones from the current folder
        QTest::addColumn<bool>("enqueue");
        QTest::addColumn<bool>("newInstance");
        QTest::newRow("paths and file URLs, as bytes")
            << QByteArrayList{"a.mp4", "/m/\xff.mkv", "file:///m/%E9%20a.mp4"}
            << QByteArrayList{"a.mp4", "/m/\xff.mkv", "/m/\xe9 a.mp4"} << false << false;
        QTest::newRow("--enqueue and other options are no files")
            << QByteArrayList{"--enqueue", "--verbose", "a.mp4", "--x=1"} << QByteArrayList{"a.mp4"}
            << true << false;
        QTest::newRow("--new-instance is no file") << QByteArrayList{"a.mp4", "--new-instance"}
                                                   << QByteArrayList{"a.mp4"} << false << true;
    }
    void commandLine()
    {
        QFETCH(QByteArrayList, arguments);
        QFETCH(QByteArrayList, files);
        // The program's own name comes first and is no file.
        arguments.prepend("glaze");
        std::vector<char *> argv;
        for (QByteArray &argument : arguments)
            argv.push_back(argument.data());
        const CommandLine commandLine = CommandLine::parse(int(argv.size()), argv.data());
        QStringList expected;
        for (const QByteArray &file : files)
            expected.append(NativePath::absolutePath(NativePath::fromNative(file)));
        QCOMPARE(commandLine.files, expected);
        QTEST(commandLine.enqueue, "enqueue");
        QTEST(commandLine.newInstance, "newInstance");
    }
};

QTEST_GUILESS_MAIN(PathsTest)
#include "tst_paths.moc"
