// What the player remembers between runs, on the stand-in engine: where a file
// continues and the volume; a settings file or folder that fails never keeps
// it from starting.
#include "PlaybackApp.h"
#include "app/ResumePositions.h"

#include <QtTest>

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void continuesOnlyFromWellInsideLongEnoughMedia_data()
    {
        QTest::addColumn<qint64>("lengthMs");
        QTest::addColumn<bool>("isAudio");
        QTest::addColumn<qint64>("stoppedMs");
        QTest::addColumn<qint64>("resumedMs");
        QTest::addRow("in the middle") << 100000ll << false << 50000ll << 50000ll;
        QTest::addRow("at 5 %%") << 100000ll << false << 5000ll << 0ll;
        QTest::addRow("just past 5 %%") << 100000ll << false << 5001ll << 5001ll;
        QTest::addRow("at 95 %%") << 100000ll << false << 95000ll << 0ll;
        QTest::addRow("audio shorter than 5 minutes") << 299999ll << true << 150000ll << 0ll;
        QTest::addRow("audio of 5 minutes") << 300000ll << true << 150000ll << 150000ll;
    }
    void continuesOnlyFromWellInsideLongEnoughMedia()
    {
        QFETCH(qint64, lengthMs);
        QFETCH(bool, isAudio);
        QFETCH(qint64, stoppedMs);
        ResumePositions positions;
        // An earlier stop in the middle: the latest stop decides.
        positions.stopped("/m/a.mkv", 50000, 100000, false);
        positions.stopped("/m/a.mkv", stoppedMs, lengthMs, isAudio);
        QTEST(qint64(positions.resumePosition("/m/a.mkv")), "resumedMs");
    }

    // The volume comes back after a quit, and so does what M unmutes to.
    void volumeAndMuteAreKeptOverAQuit_data()
    {
        QTest::addColumn<bool>("muted");
        QTest::addRow("lowered") << false;
        QTest::addRow("lowered, then muted") << true;
    }
    void volumeAndMuteAreKeptOverAQuit()
    {
        QFETCH(bool, muted);
        LaunchedApp app;
        QVERIFY(app.launch());
        app.appDelegate->volumeDown();
        app.appDelegate->volumeDown();
        const int lowered = app.appDelegate->volumeSlider()->value();
        if (muted)
            app.appDelegate->toggleMute();
        const int shown = app.appDelegate->volumeSlider()->value();
        QVERIFY(app.relaunch());
        QCOMPARE(app.appDelegate->volumeSlider()->value(), shown);
        if (muted) {
            app.appDelegate->toggleMute();
            QCOMPARE(app.appDelegate->volumeSlider()->value(), lowered);
        }
    }

    void failingSettingsLeaveAWorkingPlayerWithTheDefaults_data()
    {
        QTest::addColumn<bool>("fileOfRandomBytes");
        QTest::addRow("a settings file of random bytes") << true;
        QTest::addRow("a settings folder that cannot be written to") << false;
    }
    void failingSettingsLeaveAWorkingPlayerWithTheDefaults()
    {
        QFETCH(bool, fileOfRandomBytes);
        LaunchedApp clean;
        QVERIFY(clean.launch());
        PlaybackApp app;
        // A plain file where the folder should be cannot be written into, not even by root.
        const QString folder = isolatedSettings.glazeFolder();
        QVERIFY(!fileOfRandomBytes || QDir().mkpath(folder));
        QFile damaged(fileOfRandomBytes ? folder + "/glaze.conf" : folder);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        QRandomGenerator bytes(7);
        for (int i = 0; i < 4096; ++i)
            damaged.putChar(char(bytes.bounded(256)));
        damaged.close();

        // Said once, however often the settings are saved afterwards.
        const QRegularExpression complaint(QStringLiteral("^Glaze: "));
        QTest::ignoreMessage(QtWarningMsg, complaint);
        QTest::failOnWarning(complaint);
        QVERIFY(app.launch());
        AppDelegate *d = app.appDelegate;
        QCOMPARE(d->curVolume(), clean.appDelegate->curVolume());
        QVERIFY(!d->isPlaylistOpen());
        app.add(QStringLiteral("one.mkv"), 100000);
        app.add(QStringLiteral("two.mkv"), 100000);
        QVERIFY(app.loadAndPlay(0));
        app.tick(30);
        QVERIFY(d->nextMediaButtonClick());
        QVERIFY(d->isPlaying());
        d->applicationWillTerminate();
    }
};

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
