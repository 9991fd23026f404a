#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>

class QSocketNotifier;

// One player per user: a second `glaze` hands its files to the running one
// through a Unix socket in the user's runtime folder, and exits. Paths travel
// as bytes, so names that are not UTF-8 survive. No session bus is needed.
namespace InstanceChannel {

enum class Request : char { Open = 'o', Enqueue = 'e' };

// Where the running player listens: in $XDG_RUNTIME_DIR, else in a folder of
// the user's own under /tmp (mode 0700). Empty when neither can be had safely.
QByteArray socketPath(const QString &name);

// Hands the request to the player listening there. False when none listens
// (a socket left by a player that crashed included) or it did not take it all.
bool handOver(const QByteArray &socketPath, Request request, const QStringList &paths);

} // namespace InstanceChannel

// The running player's end of the channel. It listens unless another player
// already does; a socket that nobody listens to any more is replaced.
class InstanceListener : public QObject {
    Q_OBJECT
public:
    explicit InstanceListener(QByteArray socketPath, QObject *parent = nullptr);
    ~InstanceListener() override;

    bool isListening() const { return _fd >= 0; }

signals:
    void requested(InstanceChannel::Request request, const QStringList &paths);

private:
    struct Connection {
        QSocketNotifier *notifier;
        QByteArray received;
    };

    void acceptConnections();
    void readConnection(int fd);
    void closeConnection(int fd);

    QByteArray _path;
    int _fd = -1;
    quint64 _inode = 0;
    QHash<int, Connection> _connections;
};
