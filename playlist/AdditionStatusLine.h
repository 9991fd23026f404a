#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <QStatusBar>

// The main window's status line while files are being added: the progress,
// then which files could not be read. It is hidden whenever it has nothing to
// say, so that it takes no room from the picture.
class AdditionStatusLine : public QObject {
    Q_OBJECT
public:
    // How long the files that could not be read stay told.
    static constexpr int kUnreadableShownMs = 20000;

    AdditionStatusLine();
    void setStatusBar(QStatusBar *bar) { _bar = bar; }

    // "Adding k of n"; hidden when nothing is being added or for a single file.
    void showProgress(bool adding, qsizetype current, qsizetype total);
    // Folders being read for the media inside them.
    void showSearching();
    // "n files could not be read", their names on hover; nothing for none.
    void showUnreadable(const QStringList &paths);

private:
    void show(const QString &message, const QString &toolTip);
    void hide();

    QPointer<QStatusBar> _bar;
    QTimer _unreadableShown;
};
