// The application menu takes the bundle name at launch.
#include "LaunchedApp.h"
#include "app/ApplicationMenu.h"
#include "app/InfoDictionary.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

class ApplicationMenuTest : public QObject {
    Q_OBJECT
private slots:
    void retitles_data();
    void retitles();
    void mainMenuReadsTheBundleName();
    void infoDictionaryReadsStringKeys();
};

void ApplicationMenuTest::retitles_data()
{
    QTest::addColumn<QString>("bundleName");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    const QStringList standard = {"About X", "Hide X", "Hide Others", "Services", "Quit X"};
    QTest::addRow("standard items")
        << "N" << standard << QStringList{"About N", "Hide N", "Hide Others", "Services", "Quit N"};
    // The quit test reads the title the about and hide tests have just set.
    QTest::addRow("bundle name containing Quit")
        << "Quit Now" << standard
        << QStringList{"Quit Quit Now", "Quit Quit Now", "Hide Others", "Services",
                       "Quit Quit Now"};
    QTest::addRow("case-sensitive") << "N" << QStringList{"about x", "hide x", "quit x"}
                                    << QStringList{"about x", "hide x", "quit x"};
    QTest::addRow("empty menu") << "N" << QStringList{} << QStringList{};
}

void ApplicationMenuTest::retitles()
{
    QFETCH(QString, bundleName);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QMenu menu(QStringLiteral("X"));
    for (const QString &title : before)
        menu.addAction(title);
    retitleApplicationMenu(&menu, bundleName);
    QStringList titles;
    for (QAction *item : menu.actions())
        titles << item->text();
    QCOMPARE(titles, after);
    QCOMPARE(menu.title(), bundleName);
}

void ApplicationMenuTest::mainMenuReadsTheBundleName()
{
    LaunchedApp app;
    QVERIFY(app.launch());
    auto *window = qobject_cast<QMainWindow *>(app.mainWindow());
    QVERIFY(window);
    QMenu *applicationMenu = window->menuBar()->actions().constFirst()->menu();
    QCOMPARE(applicationMenu->title(), QStringLiteral("Glaze"));
    QStringList titles;
    for (QAction *item : applicationMenu->actions())
        if (!item->isSeparator())
            titles << item->text();
    QCOMPARE(titles, QStringList({"About Glaze", "Hide Glaze", "Hide Others", "Quit Glaze"}));
}

void ApplicationMenuTest::infoDictionaryReadsStringKeys()
{
    const InfoDictionary info =
        InfoDictionary::fromXml("<plist><dict><key>CFBundleName</key><string>Glaze</string>"
                                "<key>LSMinimumSystemVersion</key><integer>12</integer>"
                                "<key>NSMainNibFile</key><string>MainMenu</string></dict></plist>");
    QCOMPARE(info.objectForInfoDictionaryKey("CFBundleName"), QStringLiteral("Glaze"));
    QCOMPARE(info.objectForInfoDictionaryKey("NSMainNibFile"), QStringLiteral("MainMenu"));
    QVERIFY(info.objectForInfoDictionaryKey("LSMinimumSystemVersion").isEmpty());
    QCOMPARE(InfoDictionary::mainBundle().objectForInfoDictionaryKey("CFBundleName"),
             QStringLiteral("Glaze"));
}

QTEST_MAIN(ApplicationMenuTest)
#include "tst_applicationmenu.moc"
