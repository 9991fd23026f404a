// What the player remembers between runs, on the stand-in engine: kept over a
// quit, and a settings file or folder that fails never keeps it from starting.
#include "PlaybackApp.h"

#include <QtTest>
#include <cstdio>

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void rememberedOverAQuit_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stop");
        QTest::addColumn<int>("resumedAt");
        const QString plain = QStringLiteral("film.mkv");
        QTest::addRow("stopped by quitting") << plain << "quit" << 40;
        QTest::addRow("stopped by quitting, a name that is not UTF-8")
            << NativePath::fromNative(QByteArrayLiteral("lat\xe9in\xff.mkv")) << "quit" << 40;
        QTest::addRow("stopped by switching to another entry") << plain << "next" << 40;
        QTest::addRow("stopped by removing the entry") << plain << "remove" << 40;
        QTest::addRow("continued and played to its end") << plain << "end" << 0;
    }
    void rememberedOverAQuit()
    {
        QFETCH(QString, name);
        QFETCH(QString, stop);
        QFETCH(int, resumedAt);
        PlaybackApp app;
        // The folder cannot remove by itself a name that Qt does not read back.
        const auto removeFile =
            qScopeGuard([&] { std::remove(NativePath::toNative(app.pathOf(name)).constData()); });
        QVERIFY(app.launch());
        AppDelegate *d = app.appDelegate;
        app.add(name, 100000);
        app.add(QStringLiteral("other.mkv"), 100000);
        QVERIFY(app.loadAndPlay(0));
        app.tick(40);
        if (stop == "next" || stop == "end")
            QVERIFY(d->nextMediaButtonClick());
        if (stop == "end") {
            // Back to where it stopped, and on to its end.
            d->prevMediaButtonClick();
            app.tick(60);
            QCOMPARE(app.currentPath(), app.pathOf("other.mkv"));
        }
        if (stop == "remove")
            app.access().removeVisibleRow(0);
        d->volumeSlider()->setValue(30);
        d->volumeSliderValueChanged();
        d->showPlaylistButtonClick();
        const QRect geometry(40, 60, 640, 400);
        app.mainWindow()->setGeometry(geometry);

        QVERIFY(app.relaunch());
        d = app.appDelegate;
        QCOMPARE(d->volumeSlider()->value(), 30);
        QCOMPARE(d->curVolume(), 30);
        QVERIFY(d->isPlaylistOpen());
        QCOMPARE(app.mainWindow()->geometry(), geometry);
        app.add(name, 100000);
        QVERIFY(app.loadAndPlay(0));
        QStringList calls = {"setMedia " + app.pathOf(name), "play"};
        if (resumedAt > 0)
            calls << "setTime " + QString::number(resumedAt * 1000);
        QCOMPARE(app.player()->calls, calls);
        QCOMPARE(d->timer()->getSpentTimeUint(), uint(resumedAt));
        QCOMPARE(d->mediaProgressSlider()->value(), resumedAt);
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
        if (fileOfRandomBytes)
            QVERIFY(QDir().mkpath(folder));
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
        QCOMPARE(d->volumeSlider()->value(), clean.appDelegate->volumeSlider()->value());
        QVERIFY(!d->isPlaylistOpen());
        app.add(QStringLiteral("one.mkv"), 100000);
        app.add(QStringLiteral("two.mkv"), 100000);
        QVERIFY(app.loadAndPlay(0));
        app.tick(30);
        QVERIFY(d->nextMediaButtonClick());
        QVERIFY(d->isPlaying());
        QCOMPARE(app.currentPath(), app.pathOf("two.mkv"));
        d->applicationWillTerminate();
    }
};

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
