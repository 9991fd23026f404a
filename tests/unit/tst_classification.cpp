// Classification of paths by their extension, the open panel's filter and the
// "Unsupported format" sheets.
//
// The type registry is the desktop's (Debian's shared-mime-info), plus a few
// types this test registers itself (see testTypes below), so that the rules
// that only show where the registry disagrees with the fixed lists can be
// seen. Each row says which registry answer it relies on.
#include "LaunchedApp.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Types registered for this test only: they outweigh the desktop's globs.
const char testTypes[] =
    "<?xml version='1.0' encoding='UTF-8'?>\n"
    "<mime-info xmlns='http://www.freedesktop.org/standards/shared-mime-info'>\n"
    "  <mime-type type='video/x-glaze-test-flash'>\n"
    "    <glob pattern='*.swf' weight='100'/>\n"
    "  </mime-type>\n"
    "  <mime-type type='application/x-glaze-test-opaque'>\n"
    "    <glob pattern='*.flac' weight='100'/>\n"
    "    <glob pattern='*.oga' weight='100' case-sensitive='true'/>\n"
    "    <glob pattern='*.WMV' weight='100' case-sensitive='true'/>\n"
    "  </mime-type>\n"
    "</mime-info>\n";

// Registers the test's types in a data folder of their own, read before the
// desktop's. Must run before the registry is first asked.
bool registerTestTypes(const QString &dataHome)
{
    if (!QDir().mkpath(dataHome + QStringLiteral("/mime/packages")))
        return false;
    QFile package(dataHome + QStringLiteral("/mime/packages/glaze-test.xml"));
    if (!package.open(QIODevice::WriteOnly) || package.write(testTypes) < 0)
        return false;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    return true;
}

QList<QMessageBox *> openSheets(QWidget *window)
{
    QList<QMessageBox *> sheets;
    for (QMessageBox *box : window->findChildren<QMessageBox *>()) {
        if (box->isVisible())
            sheets.append(box);
    }
    return sheets;
}

} // namespace

class ClassificationTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void classification_data();
    void classification();
    void openPanelListing_data();
    void openPanelListing();
    void unsupportedSheetShowsThePathWithoutWaiting();
    void sheetsQueueAndOpenOneAfterAnother();
    void sheetClosedByEscapeOpensTheNext();

private:
    std::unique_ptr<LaunchedApp> _app;
};

void ClassificationTest::init()
{
    _app = std::make_unique<LaunchedApp>();
    QVERIFY(_app->launch());
}

void ClassificationTest::cleanup()
{
    _app.reset();
}

void ClassificationTest::classification_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("playable");
    QTest::addColumn<bool>("audio");
    QTest::addColumn<bool>("audioLook");

    // Debian: video/x-matroska.
    QTest::addRow("listed video extension") << "/media/clip.mkv" << true << false << false;
    // Debian's globs ignore case: "MKV" is video/x-matroska too.
    QTest::addRow("upper-case extension the registry knows")
        << "/media/clip.MKV" << true << false << false;
    // Test type: "WMV" (upper case only) is opaque data; the list holds "wmv".
    QTest::addRow("upper-case extension only the list could know is refused")
        << "/media/clip.WMV" << false << false << false;
    // Test type: "swf" is video.
    QTest::addRow("swf refused even where the registry calls it video")
        << "/media/movie.swf" << false << false << false;
    // Test type: the glob ignores case, so "SWF" is video too.
    QTest::addRow("upper-case SWF goes on to the registry")
        << "/media/movie.SWF" << true << false << false;
    // Test type: "flac" is opaque data.
    QTest::addRow("flac is audio through the list where the registry does not know it")
        << "/media/song.flac" << true << true << true;
    QTest::addRow("upper-case FLAC unknown to the registry is refused")
        << "/media/song.FLAC" << false << false << false;
    // Test type: "oga" is opaque data.
    QTest::addRow("oga is audio through the list, without the audio look")
        << "/media/track.oga" << true << true << false;
    // Debian: audio/mpeg.
    QTest::addRow("mp3 has the audio look through the registry")
        << "/media/song.mp3" << true << true << true;
    // Debian: audio/ogg among the candidates, beside video/ogg.
    QTest::addRow("ogg names audio and video types: audio wins")
        << "/media/clip.ogg" << true << true << true;
    // Debian: video/mp2t; in neither list.
    QTest::addRow("extension only the registry knows as video")
        << "/media/broadcast.m2ts" << true << false << false;
    // Debian: audio/ogg for opus; in neither list.
    QTest::addRow("extension only the registry knows as audio")
        << "/media/voice.opus" << true << true << true;
    // Debian: text/plain.
    QTest::addRow("text file refused") << "/media/notes.txt" << false << false << false;
    QTest::addRow("no extension refused") << "/media/README" << false << false << false;
    QTest::addRow("trailing dot is an empty extension")
        << "/media/clip." << false << false << false;
    QTest::addRow("hidden name has no extension") << "/media/.mkv" << false << false << false;
    QTest::addRow("only the last extension counts")
        << "/media/clip.mkv.txt" << false << false << false;
    QTest::addRow("folder names are not looked at")
        << "/media/songs.mp3/notes.txt" << false << false << false;
}

void ClassificationTest::classification()
{
    QFETCH(QString, path);
    QFETCH(bool, playable);
    QFETCH(bool, audio);
    QFETCH(bool, audioLook);
    AppDelegate *d = _app->appDelegate;
    QCOMPARE(d->isVideoOrAudio(path), playable);
    QCOMPARE(d->isAudio(path), audio);
    QCOMPARE(d->hasAudioLook(path), audioLook);
}

void ClassificationTest::openPanelListing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("listed");
    QTest::addRow("playable file") << "/media/clip.mkv" << true;
    QTest::addRow("file without extension, refused once chosen") << "/media/README" << true;
    QTest::addRow("folder without a dot") << "/media/Holiday" << true;
    QTest::addRow("folder named like a non-media file") << "/media/Holiday.2019" << false;
    QTest::addRow("text file") << "/media/notes.txt" << false;
    QTest::addRow("flash movie") << "/media/movie.swf" << false;
}

void ClassificationTest::openPanelListing()
{
    QFETCH(QString, path);
    QFETCH(bool, listed);
    QCOMPARE(_app->appDelegate->panelShouldShowFilename(nullptr, path), listed);
}

void ClassificationTest::unsupportedSheetShowsThePathWithoutWaiting()
{
    const QString path = QStringLiteral("/media/some folder/notes.txt");
    _app->appDelegate->displayUnsupportedMessageForPath(path);

    // Returned without waiting for the button: the sheet is still open.
    const QList<QMessageBox *> sheets = openSheets(_app->mainWindow());
    QCOMPARE(sheets.size(), 1);
    QMessageBox *sheet = sheets.first();
    QCOMPARE(sheet->parentWidget(), _app->mainWindow());
    QCOMPARE(sheet->windowModality(), Qt::WindowModal);
    QCOMPARE(sheet->text(), QStringLiteral("Unsupported format"));
    QCOMPARE(sheet->informativeText(), path);
    QCOMPARE(sheet->icon(), QMessageBox::Warning);
    QCOMPARE(sheet->buttons().size(), 1);
    QCOMPARE(sheet->buttons().first()->text(), QStringLiteral("OK"));

    sheet->buttons().first()->click();
    QTRY_VERIFY(openSheets(_app->mainWindow()).isEmpty());
}

void ClassificationTest::sheetsQueueAndOpenOneAfterAnother()
{
    const QStringList paths = {"/media/a.txt", "/media/b.doc", "/media/c.swf"};
    for (const QString &path : paths)
        _app->appDelegate->displayUnsupportedMessageForPath(path);

    for (const QString &path : paths) {
        // Never two at once: the others wait their turn.
        const QList<QMessageBox *> sheets = openSheets(_app->mainWindow());
        QCOMPARE(sheets.size(), 1);
        QCOMPARE(sheets.first()->informativeText(), path);
        sheets.first()->buttons().first()->click();
    }
    QTRY_VERIFY(openSheets(_app->mainWindow()).isEmpty());
    QCOMPARE(_app->access().alertSheets().waitingCount(), 0);
}

void ClassificationTest::sheetClosedByEscapeOpensTheNext()
{
    _app->appDelegate->displayUnsupportedMessageForPath(QStringLiteral("/media/first.txt"));
    _app->appDelegate->displayUnsupportedMessageForPath(QStringLiteral("/media/second.txt"));
    QMessageBox *first = openSheets(_app->mainWindow()).value(0);
    QVERIFY(first);
    QTest::keyClick(first, Qt::Key_Escape);
    QTRY_COMPARE(openSheets(_app->mainWindow()).size(), 1);
    QCOMPARE(openSheets(_app->mainWindow()).first()->informativeText(),
             QStringLiteral("/media/second.txt"));
}

int main(int argc, char **argv)
{
    QTemporaryDir dataHome;
    if (!dataHome.isValid() || !registerTestTypes(dataHome.path()))
        qFatal("cannot register the test's types");
    QApplication application(argc, argv);
    ClassificationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_classification.moc"
