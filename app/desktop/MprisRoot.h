#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>

class DesktopPlayer;

// org.mpris.MediaPlayer2: who the player is, what it opens, and raising and
// quitting it. Nothing here changes while the player runs.
class MprisRoot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)
public:
    MprisRoot(QObject *object, DesktopPlayer *player);

    QString identity() const;
    QString desktopEntry() const;
    bool yes() const { return true; }
    bool no() const { return false; }
    QStringList supportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList supportedMimeTypes() const;

public slots:
    void Raise();
    void Quit();

private:
    DesktopPlayer *_player;
};
