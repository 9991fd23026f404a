// MPRIS on a real bus: a private dbus-daemon, the player on the stand-in engine,
// and a client of its own connection that reads properties, calls methods and
// hears signals as a desktop's media controls do.
#include "PlaybackApp.h"
#include "app/DesktopPlayerAdapter.h"
#include "app/desktop/MprisService.h"

#include <QProcess>
#include <QtDBus>
#include <QtTest>

namespace {
const QString kPath = "/org/mpris/MediaPlayer2", kRoot = "org.mpris.MediaPlayer2";
const QString kPlayer = kRoot + ".Player", kProperties = "org.freedesktop.DBus.Properties";
constexpr qlonglong kSecond = 1000000; // microseconds
} // namespace

// A method called 2 s into a, b or c (10 s each); times in seconds.
struct Command {
    QString from; // "playing", "paused", "stopped" or "none"
    int current;  // the entry loaded first; -1: none
    QString method;
    QVariantList args;     // "@track": the current track's id; "@" in a URI: the entries' folder
    QString status, plays; // afterwards
    int at, seeked = -1;   // the position afterwards; what Seeked told (-1: nothing)
    QString changed = {};  // the properties announced
    QString error = {};    // the answer's
};
Q_DECLARE_METATYPE(Command)

class MprisTest : public QObject {
    Q_OBJECT
    QProcess _daemon;
    QTemporaryDir _cache;
    std::unique_ptr<PlaybackApp> app;
    std::unique_ptr<MprisService> service;
    QStringList changed;
    QList<qlonglong> seeks;

    QDBusMessage call(const QString &iface, const QString &method, const QVariantList &args = {})
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(service->serviceName(), kPath, iface, method);
        message.setArguments(args);
        // The service answers on this thread: the wait must keep the event loop turning.
        return QDBusConnection("client").call(message, QDBus::BlockWithGui, 5000);
    }
    QVariant get(const QString &name, const QString &iface = kPlayer)
    {
        const QVariantList reply = call(kProperties, "Get", {iface, name}).arguments();
        const QVariant value = reply.value(0).value<QDBusVariant>().variant();
        // Nested maps arrive still marshalled.
        return value.canConvert<QDBusArgument>()
                   ? qdbus_cast<QVariantMap>(value.value<QDBusArgument>())
                   : value;
    }
    QVariantMap metadata() { return get("Metadata").toMap(); }

private slots:
    void propertiesChanged(const QString &, const QVariantMap &values, const QStringList &)
    {
        changed += values.keys();
    }
    void seeked(qlonglong position) { seeks.append(position); }

    void initTestCase()
    {
        qputenv("XDG_CACHE_HOME", _cache.path().toUtf8());
        nameApplication();
        _daemon.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1"});
        QVERIFY2(_daemon.waitForReadyRead(5000), "dbus-daemon did not start");
        const QString address = QString::fromUtf8(_daemon.readLine()).trimmed();
        QVERIFY(QDBusConnection::connectToBus(address, "service").isConnected());
        QDBusConnection client = QDBusConnection::connectToBus(address, "client");
        QVERIFY(client.connect({}, kPath, kProperties, "PropertiesChanged", this,
                               SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
        QVERIFY(client.connect({}, kPath, kPlayer, "Seeked", this, SLOT(seeked(qlonglong))));
    }
    void init()
    {
        service.reset(); // the last test's, before its player
        app = std::make_unique<PlaybackApp>();
        QVERIFY(app->launch());
        for (const char *name : {"a.mp4", "b.mp4", "c.mp4"})
            app->add(name, 10000);
        service =
            std::make_unique<MprisService>(new DesktopPlayerAdapter(app->appDelegate),
                                           QDBusConnection("service"), _cache.filePath("art"));
        QVERIFY(service->registerOnBus());
        // A reply comes after the signals sent before it: the last test's are heard, then dropped.
        QCOMPARE(get("Identity", kRoot).toString(), "Glaze");
        QCoreApplication::processEvents();
        changed.clear();
        seeks.clear();
    }

    void metadataNamesTheEntry()
    {
        // Bytes that are not UTF-8 and a space, in the name.
        QVERIFY(app->add(NativePath::fromNative("lat\xe9in b.mp4"), 4000));
        QImage preview(32, 24, QImage::Format_RGB32);
        preview.fill(Qt::red);
        app->appDelegate->mediaPreviews()->replace(3, std::make_shared<const QImage>(preview));
        QVERIFY(app->loadAndPlay(3));
        const QVariantMap metadata = this->metadata();
        QCOMPARE(metadata.value("xesam:title").toString(), "lat\u00e9in b");
        QCOMPARE(metadata.value("xesam:url").toString(),
                 "file://" + QUrl::toPercentEncoding(app->folder.path(), "/") +
                     "/lat%E9in%20b.mp4");
        QCOMPARE(metadata.value("mpris:length").toLongLong(), 4 * kSecond);
        const QUrl art = metadata.value("mpris:artUrl").toString();
        QCOMPARE(QImage(art.toLocalFile()).pixelColor(0, 0), QColor(Qt::red));
    }

    void commands_data()
    {
        QTest::addColumn<Command>("c");
        const QString status = "PlaybackStatus", media = "Metadata CanGoPrevious";
        const QString invalid = "org.freedesktop.DBus.Error.InvalidArgs",
                      refused = "org.freedesktop.DBus.Error.NotSupported";
        const auto row = [](const char *name, Command c) { QTest::newRow(name) << c; };
        row("Pause with nothing current", {"none", -1, "Pause", {}, "Stopped", "", 0, -1, "", ""});
        row("PlayPause pauses", {"playing", 0, "PlayPause", {}, "Paused", "a", 2, -1, status});
        row("Stop keeps the entry", {"playing", 2, "Stop", {}, "Stopped", "c", 0, -1, "CanSeek"});
        row("Play after Stop starts over",
            {"stopped", 0, "Play", {}, "Playing", "a", 0, -1, status});
        row("Next plays the next entry", {"playing", 0, "Next", {}, "Playing", "b", 0, -1, media});
        row("Next from the last does nothing", {"playing", 2, "Next", {}, "Playing", "c", 2});
        row("Seek moves on", {"playing", 0, "Seek", {3}, "Playing", "a", 5, 5});
        row("Seek before the start", {"paused", 0, "Seek", {-60}, "Paused", "a", 0, 0});
        row("Seek past the end plays the next", {"playing", 0, "Seek", {60}, "Playing", "b", 0});
        row("SetPosition moves there",
            {"playing", 1, "SetPosition", {"@track", 7}, "Playing", "b", 7, 7, ""});
        row("SetPosition of a stale track is ignored",
            {"playing", 1, "SetPosition", {"/org/glaze/Glaze/Track/0", 7}, "Playing", "b", 2});
        // The name's bytes, escaped.
        row("OpenUri plays the file",
            {"playing", 0, "OpenUri", {"file://@/d%20%C3%A9%20%25.mp4"}, "Playing", "d é %", 0});
        row("OpenUri of a missing file",
            {"playing", 0, "OpenUri", {"file://@/gone"}, "Playing", "a", 2, -1, "", invalid});
        row("OpenUri of no file: URI",
            {"playing", 0, "OpenUri", {"http://host/a"}, "Playing", "a", 2, -1, "", refused});
    }
    void commands()
    {
        QFETCH(Command, c);
        QVERIFY(c.current < 0 || app->loadAndPlay(c.current));
        app->tick(2);
        if (c.from == "paused")
            app->appDelegate->playPauseButtonClick();
        if (c.from == "stopped")
            app->appDelegate->stopCurrentMedia();
        QVERIFY(app->makeFile("d é %.mp4"));
        for (QVariant &arg : c.args) {
            const QString text = arg.toString();
            if (arg.typeId() != QMetaType::QString)
                arg = arg.toLongLong() * kSecond;
            else if (text == "@track")
                arg = metadata().value("mpris:trackid");
            else if (text.startsWith('/'))
                arg = QVariant::fromValue(QDBusObjectPath(text));
            else
                arg = QString(text).replace("@", QUrl::toPercentEncoding(app->folder.path(), "/"));
        }
        QCOMPARE(call(kPlayer, c.method, c.args).errorName(), c.error);
        // Opening a file adds it first, with the event loop turning.
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(app->currentPath()).completeBaseName(), c.plays, 5000);
        QCOMPARE(get("PlaybackStatus").toString(), c.status);
        QCOMPARE(get("Position").toLongLong(), c.at * kSecond);
        for (const QString &name : c.changed.split(' ', Qt::SkipEmptyParts))
            QTRY_VERIFY2_WITH_TIMEOUT(changed.contains(name), qPrintable(name), 5000);
        const QList<qlonglong> told{c.seeked * kSecond};
        // Not compared with an empty list: Qt's comparison hands memcmp a null pointer.
        if (c.seeked < 0)
            QVERIFY(seeks.isEmpty());
        else
            QTRY_COMPARE_WITH_TIMEOUT(seeks, told, 5000);
    }

    void volumeIsKeptWithinTheSlider()
    {
        QVERIFY(app->loadAndPlay(0));
        // Beyond the slider: its top.
        call(kProperties, "Set", {kPlayer, "Volume", QVariant::fromValue(QDBusVariant(5.0))});
        QCOMPARE(get("Volume").toDouble(), 2.0);
        QCOMPARE(app->appDelegate->volumeSlider()->value(), 200);
        QCOMPARE(app->player()->audio()->volume(), 200);
        QTRY_VERIFY_WITH_TIMEOUT(changed.contains("Volume"), 5000);
    }

    void rootInterfaceDescribesAndRaises()
    {
        QCOMPARE(get("DesktopEntry", kRoot).toString(), "org.glaze.Glaze");
        QVERIFY(get("SupportedMimeTypes", kRoot).toStringList().contains("video/x-matroska"));
        app->mainWindow()->showMinimized();
        call(kRoot, "Raise");
        QVERIFY(!app->mainWindow()->isMinimized() && app->mainWindow()->isVisible());
    }

    // Last: the event loop runs until the application quits.
    void quitEndsTheApplication()
    {
        QDBusConnection("client").asyncCall(
            QDBusMessage::createMethodCall(service->serviceName(), kPath, kRoot, "Quit"));
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(MprisTest)
#include "tst_mpris.moc"
