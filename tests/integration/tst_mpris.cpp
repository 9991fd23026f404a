// MPRIS on a real bus: a private dbus-daemon, the player on the stand-in engine,
// and a client of its own connection that reads properties, calls methods and
// hears signals as a desktop's media controls do.
#include "PlaybackApp.h"
#include "app/DesktopPlayerAdapter.h"
#include "app/desktop/MprisService.h"
#include "media/NativePath.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QProcess>
#include <QtTest>
#include <sys/stat.h>

namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr qlonglong kSecond = 1000000; // microseconds

// Values as they come off the bus: nested maps arrive still marshalled.
QVariant plain(const QVariant &value)
{
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
    return value;
}

} // namespace

// A method called 2 s into a, b or c (10 s each); times in seconds.
struct Command {
    QString from; // "playing", "paused" or "stopped"
    int current;
    QString method;
    QVariantList args; // "@track": the current track's id
    QString status;
    QString plays; // afterwards
    QStringList changed;
    int at = -1;     // the position afterwards; -1: not looked at
    int seeked = -1; // what Seeked told; -1: nothing
};
Q_DECLARE_METATYPE(Command)

class MprisTest : public QObject {
    Q_OBJECT
    QProcess _daemon;
    QTemporaryDir _cache;
    std::unique_ptr<PlaybackApp> app;
    std::unique_ptr<MprisService> service;
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;

    static QDBusConnection client() { return QDBusConnection(QStringLiteral("client")); }
    QDBusMessage call(const QString &iface, const QString &method, const QVariantList &args = {})
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(service->serviceName(), kPath, iface, method);
        message.setArguments(args);
        // The service answers on this thread: the wait must keep the event loop turning.
        return client().call(message, QDBus::BlockWithGui, 5000);
    }
    QVariant get(const QString &name, const QString &iface = kPlayer)
    {
        const QVariantList reply = call(kProperties, "Get", {iface, name}).arguments();
        return reply.isEmpty() ? QVariant() : plain(reply.first().value<QDBusVariant>().variant());
    }
    void set(const QString &name, const QVariant &value)
    {
        call(kProperties, "Set", {kPlayer, name, QVariant::fromValue(QDBusVariant(value))});
    }
    QVariantMap metadata() { return get("Metadata").toMap(); }
    // Whether a PropertiesChanged told each of these properties its present value.
    bool announced(const QStringList &names)
    {
        return std::all_of(names.cbegin(), names.cend(), [this](const QString &name) {
            return std::any_of(changes.cbegin(), changes.cend(), [&](const QVariantMap &c) {
                return c.contains(name) && plain(c.value(name)) == get(name);
            });
        });
    }

private slots:
    void propertiesChanged(const QString &, const QVariantMap &changed, const QStringList &)
    {
        changes.append(changed);
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
        QVERIFY(QDBusConnection::connectToBus(address, "client").isConnected());
        // From whoever sends them: each test's service.
        QVERIFY(client().connect({}, kPath, kProperties, "PropertiesChanged", this,
                                 SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
        QVERIFY(client().connect({}, kPath, kPlayer, "Seeked", this, SLOT(seeked(qlonglong))));
    }
    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus("service");
        QDBusConnection::disconnectFromBus("client");
        _daemon.kill();
        _daemon.waitForFinished(5000);
    }

    void init()
    {
        app = std::make_unique<PlaybackApp>();
        QVERIFY(app->launch());
        for (const char *name : {"a.mp4", "b.mp4", "c.mp4"})
            app->add(name, 10000);
        service =
            std::make_unique<MprisService>(new DesktopPlayerAdapter(app->appDelegate),
                                           QDBusConnection("service"), _cache.filePath("art"));
        QVERIFY(service->registerOnBus());
        QCOMPARE(service->serviceName(), "org.mpris.MediaPlayer2.glaze");
        // A reply comes after the signals the service sent before: the last
        // test's are heard, then forgotten.
        QVERIFY(get("PlaybackStatus").isValid());
        QCoreApplication::processEvents();
        changes.clear();
        seeks.clear();
    }
    void cleanup()
    {
        service.reset();
        app.reset();
    }

    void fixedProperties_data()
    {
        QTest::addColumn<QString>("iface");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("Identity") << kRoot << QVariant("Glaze");
        QTest::newRow("DesktopEntry") << kRoot << QVariant("org.glaze.Glaze");
        QTest::newRow("CanQuit") << kRoot << QVariant(true);
        QTest::newRow("CanRaise") << kRoot << QVariant(true);
        QTest::newRow("HasTrackList") << kRoot << QVariant(false);
        QTest::newRow("SupportedUriSchemes") << kRoot << QVariant(QStringList{"file"});
        QTest::newRow("Rate") << kPlayer << QVariant(1.0);
        QTest::newRow("MinimumRate") << kPlayer << QVariant(1.0);
        QTest::newRow("MaximumRate") << kPlayer << QVariant(1.0);
        QTest::newRow("CanControl") << kPlayer << QVariant(true);
    }
    void fixedProperties()
    {
        QFETCH(QString, iface);
        QFETCH(QVariant, value);
        const QString name = QTest::currentDataTag();
        // A rate it cannot play at is not taken.
        if (name == "Rate")
            set(name, 2.0);
        QCOMPARE(get(name, iface), value);
    }

    void supportedMimeTypesAreWhatIsPlayed()
    {
        const QStringList types = get("SupportedMimeTypes", kRoot).toStringList();
        for (const char *type : {"video/mp4", "video/x-matroska", "audio/mpeg", "audio/flac"})
            QVERIFY2(types.contains(type), type);
        QVERIFY(!types.contains("image/png"));
    }

    void stateProperties_data()
    {
        QTest::addColumn<int>("loaded"); // -1: nothing
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("can"); // CanPlay Pause Seek GoNext GoPrevious, as bits
        QTest::addColumn<QString>("command");
        // Previous then plays the one before the last, as the button does.
        QTest::newRow("nothing current") << -1 << "Stopped" << 0b00001 << "";
        QTest::newRow("the first playing") << 0 << "Playing" << 0b11110 << "";
        QTest::newRow("the middle paused") << 1 << "Paused" << 0b11111 << "Pause";
        QTest::newRow("the last stopped") << 2 << "Stopped" << 0b11001 << "Stop";
    }
    void stateProperties()
    {
        QFETCH(int, loaded);
        QFETCH(QString, status);
        QFETCH(int, can);
        QFETCH(QString, command);
        if (loaded >= 0)
            QVERIFY(app->loadAndPlay(loaded));
        if (!command.isEmpty())
            call(kPlayer, command);
        QCOMPARE(get("PlaybackStatus").toString(), status);
        int told = 0;
        for (const char *name : {"CanPlay", "CanPause", "CanSeek", "CanGoNext", "CanGoPrevious"})
            told = told << 1 | int(get(name).toBool());
        QCOMPARE(told, can);
        const QVariantMap metadata = this->metadata();
        const QString track = metadata.value("mpris:trackid").value<QDBusObjectPath>().path();
        QCOMPARE(track == "/org/mpris/MediaPlayer2/TrackList/NoTrack", loaded < 0);
        QCOMPARE(metadata.value("mpris:length").toLongLong(), loaded < 0 ? 0 : 10 * kSecond);
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
        const QByteArray art =
            QFile::encodeName(QUrl(metadata.value("mpris:artUrl").toString()).toLocalFile());
        QCOMPARE(QImage(QFile::decodeName(art)).pixelColor(0, 0), QColor(Qt::red));
        // Written once: read again, the same file is named, not written anew.
        struct stat before {
        }, after{};
        QCOMPARE(::stat(art.constData(), &before), 0);
        QCOMPARE(this->metadata().value("mpris:artUrl"), metadata.value("mpris:artUrl"));
        QCOMPARE(::stat(art.constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        // The track id changes with the entry; audio has no art.
        app->appDelegate->prevMediaButtonClick();
        QVERIFY(this->metadata().value("mpris:trackid") != metadata.value("mpris:trackid"));
        QVERIFY(!this->metadata().contains("mpris:artUrl"));
    }

    void commands_data()
    {
        QTest::addColumn<Command>("c");
        const QStringList status{"PlaybackStatus"};
        const QStringList media{"Metadata", "CanGoPrevious"};
        const auto row = [](const char *name, Command c) { QTest::newRow(name) << c; };
        row("Play resumes", {"paused", 0, "Play", {}, "Playing", "a", status, 2});
        row("Pause pauses", {"playing", 0, "Pause", {}, "Paused", "a", status, 2});
        row("PlayPause pauses", {"playing", 0, "PlayPause", {}, "Paused", "a", status});
        row("PlayPause resumes", {"paused", 0, "PlayPause", {}, "Playing", "a", status});
        row("Stop keeps the entry current",
            {"playing", 0, "Stop", {}, "Stopped", "a", {"PlaybackStatus", "CanSeek"}, 0});
        row("Play after Stop starts over", {"stopped", 0, "Play", {}, "Playing", "a", status, 0});
        row("Next plays the next entry", {"playing", 0, "Next", {}, "Playing", "b", media, 0});
        row("Previous plays the one before",
            {"playing", 1, "Previous", {}, "Playing", "a", {"Metadata"}});
        row("Next from the last does nothing", {"playing", 2, "Next", {}, "Playing", "c", {}, 2});
        row("Seek moves on", {"playing", 0, "Seek", {3}, "Playing", "a", {}, 5, 5});
        row("Seek before the start goes to the start",
            {"paused", 0, "Seek", {-60}, "Paused", "a", {}, 0, 0});
        row("Seek past the end plays the next entry",
            {"playing", 0, "Seek", {60}, "Playing", "b", media, 0});
        row("Seek while stopped is ignored", {"stopped", 0, "Seek", {3}, "Stopped", "a", {}, 0});
        row("SetPosition moves there",
            {"playing", 1, "SetPosition", {"@track", 7}, "Playing", "b", {}, 7, 7});
        row("SetPosition past the end is ignored",
            {"playing", 1, "SetPosition", {"@track", 11}, "Playing", "b", {}, 2});
        row("SetPosition before the start is ignored",
            {"playing", 1, "SetPosition", {"@track", -1}, "Playing", "b", {}, 2});
        row("SetPosition of a stale track is ignored",
            {"playing", 1, "SetPosition", {"/org/glaze/Glaze/Track/0", 7}, "Playing", "b", {}, 2});
    }
    void commands()
    {
        QFETCH(Command, c);
        QVERIFY(app->loadAndPlay(c.current));
        app->tick(2);
        if (c.from == "paused")
            app->appDelegate->playPauseButtonClick();
        if (c.from == "stopped")
            app->appDelegate->stopCurrentMedia();
        QVariantList args;
        for (const QVariant &arg : c.args) {
            if (arg == "@track")
                args.append(metadata().value("mpris:trackid"));
            else if (arg.typeId() == QMetaType::QString)
                args.append(QVariant::fromValue(QDBusObjectPath(arg.toString())));
            else
                args.append(arg.toLongLong() * kSecond);
        }
        QCOMPARE(call(kPlayer, c.method, args).type(), QDBusMessage::ReplyMessage);

        QCOMPARE(get("PlaybackStatus").toString(), c.status);
        QCOMPARE(QFileInfo(app->currentPath()).completeBaseName(), c.plays);
        QTRY_VERIFY_WITH_TIMEOUT(announced(c.changed), 5000);
        if (c.at >= 0)
            QCOMPARE(get("Position").toLongLong(), c.at * kSecond);
        if (c.seeked >= 0)
            QTRY_COMPARE_WITH_TIMEOUT(seeks, QList<qlonglong>{c.seeked * kSecond}, 5000);
        else
            QCOMPARE(seeks, QList<qlonglong>());
    }

    void volume_data()
    {
        QTest::addColumn<double>("asked");
        QTest::addColumn<double>("volume");
        QTest::newRow("below silence is silence") << -1.0 << 0.0;
        QTest::newRow("silence") << 0.0 << 0.0;
        QTest::newRow("the unamplified level") << 1.0 << 1.0;
        QTest::newRow("beyond the slider is its top") << 5.0 << 2.0;
    }
    void volume()
    {
        QFETCH(double, asked);
        QFETCH(double, volume);
        QVERIFY(app->loadAndPlay(0));
        set("Volume", asked);
        QCOMPARE(get("Volume").toDouble(), volume);
        const int level = qRound(volume * 100);
        QCOMPARE(app->appDelegate->volumeSlider()->value(), level);
        QCOMPARE(app->player()->audio()->volume(), level);
        // The unamplified level is where it starts: no change to announce.
        if (volume != 1.0)
            QTRY_VERIFY_WITH_TIMEOUT(announced({"Volume"}), 5000);
    }

    void openUri_data()
    {
        QTest::addColumn<QByteArray>("file"); // made in the app's folder; none when empty
        QTest::addColumn<QString>("uri");     // "@" stands for the app's folder
        QTest::addColumn<QString>("error");
        const QString refused = "org.freedesktop.DBus.Error.NotSupported";
        const QString invalid = "org.freedesktop.DBus.Error.InvalidArgs";
        QTest::newRow("a local file plays") << QByteArray("open.mp4") << "file://@/open.mp4"
                                            << "";
        QTest::newRow("percent escapes are the name's bytes")
            << QByteArray("\xe9t\xc3\xa9 %.mp4") << "file://@/%E9t%C3%A9%20%25.mp4"
            << "";
        QTest::newRow("not a file: URI") << QByteArray() << "http://localhost/a.mp4" << refused;
        QTest::newRow("a missing file") << QByteArray() << "file://@/gone.mp4" << invalid;
        QTest::newRow("a folder") << QByteArray() << "file://@/" << invalid;
    }
    void openUri()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, uri);
        QFETCH(QString, error);
        const QString name = NativePath::fromNative(file);
        if (!file.isEmpty())
            QVERIFY(app->makeFile(name));
        uri.replace("@", QUrl::toPercentEncoding(app->folder.path(), "/"));
        QCOMPARE(call(kPlayer, "OpenUri", {uri}).errorName(), error);
        if (error.isEmpty()) {
            QTRY_COMPARE_WITH_TIMEOUT(app->currentPath(), app->pathOf(name), 5000);
            QVERIFY(app->appDelegate->isPlaying());
        } else {
            QCOMPARE(app->appDelegate->mediaPlaylist()->size(), 3);
        }
    }

    void quickPlayPauseKeepsTheState()
    {
        QVERIFY(app->loadAndPlay(0));
        QList<QDBusPendingCall> calls;
        for (int i = 0; i < 100; ++i) {
            calls.append(client().asyncCall(QDBusMessage::createMethodCall(
                service->serviceName(), kPath, kPlayer, "PlayPause")));
        }
        for (QDBusPendingCall &pending : calls)
            QTRY_VERIFY_WITH_TIMEOUT(pending.isFinished(), 5000);
        QCOMPARE(get("PlaybackStatus").toString(), "Playing");
        QVERIFY(app->appDelegate->isPlaying());
        QCOMPARE(app->player()->calls.count("pause"), 50);
        QCOMPARE(app->player()->calls.count("play"), 51);
    }

    void raiseShowsTheWindow()
    {
        app->mainWindow()->showMinimized();
        call(kRoot, "Raise");
        QVERIFY(!app->mainWindow()->isMinimized());
        QVERIFY(app->mainWindow()->isVisible());
    }

    // Last: the event loop runs until the application quits.
    void quitEndsTheApplication()
    {
        client().asyncCall(
            QDBusMessage::createMethodCall(service->serviceName(), kPath, kRoot, "Quit"));
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(MprisTest)
#include "tst_mpris.moc"
