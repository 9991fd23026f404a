// File names as bytes: every name, valid UTF-8 or not, comes back to the same
// bytes, reads sensibly, and survives file URLs and Qt's lossy dialogs.
#include "media/NativePath.h"

#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <unistd.h>

class NativePathTest : public QObject {
    Q_OBJECT
private slots:
    void bytesComeBackUnchanged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addRow("ASCII") << QByteArray("/m/clip.mp4") << "/m/clip.mp4";
        QTest::addRow("UTF-8 with an emoji")
            << QByteArray("/m/\xc3\xa9t\xc3\xa9 \xf0\x9f\x8e\xac") << QString::fromUtf8("/m/été 🎬");
        QTest::addRow("Latin-1 byte") << QByteArray("/m/lat\xe9in1.mp4") << "/m/latéin1.mp4";
        QTest::addRow("stray continuation and lead bytes, and 0xFF")
            << QByteArray("/\x80\xbf\xc3\xff") << QString::fromLatin1("/\x80\xbf\xc3\xff");
        QTest::addRow("overlong slash stays two bytes")
            << QByteArray("/a\xc0\xaf") << QString::fromLatin1("/a\xc0\xaf");
        QTest::addRow("an encoded surrogate is not text")
            << QByteArray("/\xed\xb3\xa9") << QString::fromLatin1("/\xed\xb3\xa9");
    }
    void bytesComeBackUnchanged()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const QString path = NativePath::fromNative(bytes);
        QCOMPARE(NativePath::toNative(path), bytes);
        QCOMPARE(NativePath::displayString(path), shown);
        QCOMPARE(NativePath::fromFileUrl(NativePath::fileUrl(path).toEncoded()), path);
    }

    void fileUrlsGiveLocalPathsOnly_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addRow("three slashes")
            << QByteArray("file:///m/a%20b.mp4") << QByteArray("/m/a b.mp4");
        QTest::addRow("localhost")
            << QByteArray("file://localhost/m/x.mp4") << QByteArray("/m/x.mp4");
        QTest::addRow("one slash") << QByteArray("file:/m/x.mp4") << QByteArray("/m/x.mp4");
        QTest::addRow("escaped Latin-1, hash and newline")
            << QByteArray("file:///m/%E9%23%0A.mp4") << QByteArray("/m/\xe9#\n.mp4");
        QTest::addRow("another host") << QByteArray("file://nas/m/x.mp4") << QByteArray();
        QTest::addRow("web address") << QByteArray("http://example.org/x.mp4") << QByteArray();
    }
    void fileUrlsGiveLocalPathsOnly()
    {
        QFETCH(QByteArray, url);
        QFETCH(QByteArray, bytes);
        QCOMPARE(NativePath::toNative(NativePath::fromFileUrl(url)), bytes);
    }

    void lossyNameIsRecoveredFromItsFolder()
    {
        QTemporaryDir folder;
        const QByteArray bytes = QFile::encodeName(folder.path()) + "/lat\xe9in1.mp4";
        const int fd = ::open(bytes.constData(), O_CREAT | O_WRONLY, 0600);
        QVERIFY(fd >= 0);
        ::close(fd);
        // What Qt's file dialog hands back for it.
        const QString lossy = QString::fromUtf8(bytes);
        QVERIFY(!NativePath::exists(lossy));
        QCOMPARE(NativePath::toNative(NativePath::recover(lossy)), bytes);
        QCOMPARE(NativePath::kind(NativePath::recover(lossy)), NativePath::Kind::RegularFile);
        ::unlink(bytes.constData());
        QCOMPARE(NativePath::recover(lossy), lossy);
    }
};

QTEST_GUILESS_MAIN(NativePathTest)
#include "tst_nativepath.moc"
