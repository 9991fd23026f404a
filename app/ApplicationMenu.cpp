#include "ApplicationMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void retitleApplicationMenu(QMenu *applicationMenu, const QString &bundleName)
{
    if (!applicationMenu)
        return;
    applicationMenu->setTitle(bundleName);
    const QString aboutTitle = QStringLiteral("About %1").arg(bundleName);
    const QString hideTitle = QStringLiteral("Hide %1").arg(bundleName);
    const QString quitTitle = QStringLiteral("Quit %1").arg(bundleName);
    // Each test reads the title anew, so it sees what an earlier test set.
    for (QAction *item : applicationMenu->actions()) {
        if (item->text().contains(QLatin1String("About")))
            item->setText(aboutTitle);
        if (item->text().contains(QLatin1String("Hide")) &&
            !item->text().contains(QLatin1String("Others")))
            item->setText(hideTitle);
        if (item->text().contains(QLatin1String("Quit")))
            item->setText(quitTitle);
    }
}

QMenu *makeWindowMenu(QMenuBar *menuBar, QWidget *window)
{
    auto *menu = new QMenu(window);
    if (!menuBar)
        return menu;
    menuBar->hide();
    for (QAction *barItem : menuBar->actions()) {
        menu->addAction(barItem);
        // A hidden bar's shortcuts go quiet; the visible window's stay live.
        if (QMenu *submenu = barItem->menu())
            for (QAction *item : submenu->actions())
                if (!item->isSeparator() && !item->menu())
                    window->addAction(item);
    }
    return menu;
}
