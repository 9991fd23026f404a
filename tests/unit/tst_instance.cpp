// One player per user: what the command line asks for, and the channel through
// which a second glaze hands its files to the running one.
#include "app/CommandLine.h"
#include "app/desktop/InstanceChannel.h"
#include "media/NativePath.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(InstanceChannel::Request)

class InstanceTest : public QObject {
    Q_OBJECT
    QTemporaryDir _runtime;
    QByteArray _socket;

private slots:
    void init()
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(_runtime.path()));
        _socket = InstanceChannel::socketPath("glaze.instance");
    }

    void commandLine_data()
    {
        QTest::addColumn<QByteArrayList>("arguments");
        QTest::addColumn<QByteArrayList>("files"); // relative ones from the current folder
        QTest::addColumn<bool>("enqueue");
        QTest::addColumn<bool>("newInstance");
        QTest::newRow("files, absolute") << QByteArrayList{"a.mp4", "/m/b.mkv"}
                                         << QByteArrayList{"a.mp4", "/m/b.mkv"} << false << false;
        QTest::newRow("a file URL, its escapes as bytes")
            << QByteArrayList{"file:///m/%E9%20a.mp4"} << QByteArrayList{"/m/\xe9 a.mp4"} << false
            << false;
        QTest::newRow("bytes that are not UTF-8")
            << QByteArrayList{"/m/\xff.mp4"} << QByteArrayList{"/m/\xff.mp4"} << false << false;
        QTest::newRow("--enqueue is no file")
            << QByteArrayList{"--enqueue", "a.mp4"} << QByteArrayList{"a.mp4"} << true << false;
        QTest::newRow("--new-instance is no file") << QByteArrayList{"a.mp4", "--new-instance"}
                                                   << QByteArrayList{"a.mp4"} << false << true;
        QTest::newRow("other options are no files") << QByteArrayList{"--verbose", "a.mp4", "--x=1"}
                                                    << QByteArrayList{"a.mp4"} << false << false;
    }
    void commandLine()
    {
        QFETCH(QByteArrayList, arguments);
        QFETCH(QByteArrayList, files);
        QFETCH(bool, enqueue);
        QFETCH(bool, newInstance);
        arguments.prepend("glaze");
        std::vector<char *> argv;
        for (QByteArray &argument : arguments)
            argv.push_back(argument.data());
        const CommandLine commandLine = CommandLine::parse(int(argv.size()), argv.data());
        QStringList expected;
        for (const QByteArray &file : files)
            expected.append(NativePath::absolutePath(NativePath::fromNative(file)));
        QCOMPARE(commandLine.files, expected);
        QCOMPARE(commandLine.enqueue, enqueue);
        QCOMPARE(commandLine.newInstance, newInstance);
    }

    void socketIsInTheRuntimeFolder()
    {
        QCOMPARE(_socket, QFile::encodeName(_runtime.filePath("glaze.instance")));
        qunsetenv("XDG_RUNTIME_DIR");
        const QByteArray fallback = InstanceChannel::socketPath("glaze.instance");
        const QByteArray folder = "/tmp/glaze-" + QByteArray::number(getuid());
        QCOMPARE(fallback, folder + "/glaze.instance");
        struct stat status {};
        QCOMPARE(::stat(folder.constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0700u);
    }

    void filesArriveByteForByte_data()
    {
        QTest::addColumn<InstanceChannel::Request>("request");
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("opened") << InstanceChannel::Request::Open
                                << QStringList{"/m/a.mp4", "/m/b c.mkv"};
        QTest::newRow("enqueued, not UTF-8") << InstanceChannel::Request::Enqueue
                                             << QStringList{NativePath::fromNative("/m/\xe9.mp3")};
        QTest::newRow("nothing but the request") << InstanceChannel::Request::Open << QStringList{};
    }
    void filesArriveByteForByte()
    {
        QFETCH(InstanceChannel::Request, request);
        QFETCH(QStringList, paths);
        InstanceListener listener(_socket);
        QVERIFY(listener.isListening());
        QSignalSpy requested(&listener, &InstanceListener::requested);
        QVERIFY(InstanceChannel::handOver(_socket, request, paths));
        QVERIFY(requested.wait(5000));
        QCOMPARE(requested.first().at(0).value<InstanceChannel::Request>(), request);
        QCOMPARE(requested.first().at(1).toStringList(), paths);
    }

    void aSecondPlayerLeavesTheFirstOneListening()
    {
        InstanceListener first(_socket);
        QSignalSpy requested(&first, &InstanceListener::requested);
        delete new InstanceListener(_socket);
        QVERIFY(InstanceChannel::handOver(_socket, InstanceChannel::Request::Open, {"/m/a.mp4"}));
        QVERIFY(requested.wait(5000));
        // The second one's look at the socket asked for nothing.
        QCOMPARE(requested.size(), 1);
        QCOMPARE(requested.first().at(1).toStringList(), QStringList{"/m/a.mp4"});
    }
};

QTEST_GUILESS_MAIN(InstanceTest)
#include "tst_instance.moc"
