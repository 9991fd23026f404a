#include "InstanceChannel.h"

#include "media/NativePath.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A second player's files reach the first within this, or are not handed over.
constexpr int kSendTimeoutSeconds = 10;

std::optional<sockaddr_un> addressOf(const QByteArray &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address.sun_path))
        return std::nullopt;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return address;
}

// A socket connected to the player listening there, or -1. Nobody listening
// fails at once, whether the file is missing or left behind by a crash.
int connectTo(const QByteArray &path)
{
    const std::optional<sockaddr_un> address = addressOf(path);
    if (!address)
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&*address), sizeof(*address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool sendAll(int fd, const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        // MSG_NOSIGNAL: a player that went away fails the send, not the process.
        const ssize_t n =
            ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

// A folder only this user can enter: made if missing, refused when it is
// anything else (another user may have made it first).
bool isPrivateFolder(const QByteArray &folder)
{
    ::mkdir(folder.constData(), 0700);
    struct stat status {};
    return ::lstat(folder.constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}

quint64 inodeOf(const QByteArray &path)
{
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0 ? quint64(status.st_ino) : 0;
}

} // namespace

QByteArray InstanceChannel::socketPath(const QString &name)
{
    QByteArray folder = qgetenv("XDG_RUNTIME_DIR");
    struct stat status {};
    if (!folder.startsWith('/') || ::stat(folder.constData(), &status) != 0 ||
        !S_ISDIR(status.st_mode)) {
        folder = "/tmp/glaze-" + QByteArray::number(::getuid());
        if (!isPrivateFolder(folder))
            return {};
    }
    const QByteArray path = folder + '/' + NativePath::toNative(name);
    return addressOf(path) ? path : QByteArray();
}

bool InstanceChannel::handOver(const QByteArray &socketPath, Request request,
                               const QStringList &paths)
{
    const int fd = connectTo(socketPath);
    if (fd < 0)
        return false;
    const timeval timeout{kSendTimeoutSeconds, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
    // The request, then each path followed by a NUL: the one byte no path holds.
    QByteArray message(1, char(request));
    for (const QString &path : paths)
        message += NativePath::toNative(path) + '\0';
    const bool sent = sendAll(fd, message);
    ::close(fd);
    return sent;
}

InstanceListener::InstanceListener(QByteArray socketPath, QObject *parent)
    : QObject(parent)
    , _path(std::move(socketPath))
{
    if (const int other = connectTo(_path); other >= 0) {
        ::close(other);
        return;
    }
    const std::optional<sockaddr_un> address = addressOf(_path);
    if (!address)
        return;
    // Only a socket is taken for one left behind; any other file stays.
    struct stat status {};
    if (::lstat(_path.constData(), &status) == 0 && S_ISSOCK(status.st_mode))
        ::unlink(_path.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&*address), sizeof(*address)) != 0 ||
        ::listen(fd, SOMAXCONN) != 0) {
        ::close(fd);
        return;
    }
    _fd = fd;
    _inode = inodeOf(_path);
    auto *notifier = new QSocketNotifier(_fd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &InstanceListener::acceptConnections);
}

InstanceListener::~InstanceListener()
{
    for (auto it = _connections.cbegin(); it != _connections.cend(); ++it) {
        delete it->notifier;
        ::close(it.key());
    }
    if (_fd < 0)
        return;
    ::close(_fd);
    // Another player may have replaced a socket it took for ours: that one stays.
    if (inodeOf(_path) == _inode)
        ::unlink(_path.constData());
}

void InstanceListener::acceptConnections()
{
    for (;;) {
        const int fd = ::accept4(_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;
        auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        _connections.insert(fd, Connection{notifier, {}});
        connect(notifier, &QSocketNotifier::activated, this, [this, fd] { readConnection(fd); });
    }
}

void InstanceListener::readConnection(int fd)
{
    Connection &connection = _connections[fd];
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof(buffer));
        if (n > 0) {
            connection.received.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        break; // the sender is done (or gone)
    }
    const QByteArray received = std::move(connection.received);
    closeConnection(fd);
    if (received.isEmpty())
        return;
    const auto request = InstanceChannel::Request(received.front());
    if (request != InstanceChannel::Request::Open && request != InstanceChannel::Request::Enqueue)
        return;
    // Every path ends in a NUL; what follows the last one was cut short.
    QList<QByteArray> parts = received.mid(1).split('\0');
    parts.removeLast();
    QStringList paths;
    for (const QByteArray &path : std::as_const(parts)) {
        if (!path.isEmpty())
            paths.append(NativePath::fromNative(path));
    }
    emit requested(request, paths);
}

void InstanceListener::closeConnection(int fd)
{
    const Connection connection = _connections.take(fd);
    // Deleted later, as this may run inside its own notification; disabled
    // now, as the descriptor's number may come back with the next connection.
    connection.notifier->setEnabled(false);
    connection.notifier->deleteLater();
    ::close(fd);
}
