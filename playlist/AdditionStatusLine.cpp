#include "AdditionStatusLine.h"

#include "media/NativePath.h"
#include "playlist/PathComponents.h"

#include <QStatusBar>

AdditionStatusLine::AdditionStatusLine()
{
    _unreadableShown.setSingleShot(true);
    _unreadableShown.callOnTimeout(this, &AdditionStatusLine::hide);
}

void AdditionStatusLine::showProgress(bool adding, qsizetype current, qsizetype total)
{
    if (adding && total > 1) {
        show(tr("Adding %1 of %2").arg(std::max<qsizetype>(current, 1)).arg(total),
             tr("Files being added to the playlist"));
    } else if (!_unreadableShown.isActive()) {
        hide();
    }
}

void AdditionStatusLine::showSearching()
{
    show(tr("Looking for media files…"), tr("Folders being read for the media inside them"));
}

void AdditionStatusLine::showUnreadable(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    QStringList names;
    for (const QString &path : paths)
        names.append(NativePath::displayString(PathComponents::lastPathComponent(path)));
    show(paths.size() == 1 ? tr("1 file could not be read")
                           : tr("%1 files could not be read").arg(paths.size()),
         names.join(QLatin1Char('\n')));
    _unreadableShown.start(kUnreadableShownMs);
}

void AdditionStatusLine::show(const QString &message, const QString &toolTip)
{
    _unreadableShown.stop();
    if (!_bar)
        return;
    _bar->showMessage(message);
    _bar->setToolTip(toolTip);
    _bar->setVisible(true);
}

void AdditionStatusLine::hide()
{
    if (_bar)
        _bar->setVisible(false);
}
