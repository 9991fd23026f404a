#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

// File names on Linux are bytes, not text. Qt reads them as UTF-8 and turns
// every byte that is not valid UTF-8 into U+FFFD, after which the file can no
// longer be found. Glaze keeps paths as QString with every such byte escaped as
// the lone surrogate U+DC00 + byte, so they go back to the same bytes. Anything
// that hands a path to the system or the engine goes through toNative().
namespace NativePath {

QString fromNative(const QByteArray &bytes);
QByteArray toNative(const QString &path);

// For people to read: escaped bytes shown as Latin-1 ("lat\xe9in" reads "latéin").
QString displayString(const QString &path);

// A file: URL that keeps the escaped bytes (percent-encoded as they are).
QUrl fileUrl(const QString &path);
// The path of a local file: URL or of a plain path as given, with its
// percent escapes decoded as bytes; empty for other schemes.
QString fromFileUrl(const QByteArray &encodedUrl);
// An absolute path: relative ones are taken from the current folder.
QString absolutePath(const QString &path);

// What stat() says about the path, never blocking on a FIFO or a device.
enum class Kind { Missing, RegularFile, Directory, Other };
// The file a path reaches, links followed: its kind, and the device and inode
// that tell it apart from every other, whatever the name it is reached by.
struct Status {
    Kind kind = Kind::Missing;
    quint64 device = 0;
    quint64 inode = 0;
};
Status status(const QString &path);
inline Kind kind(const QString &path)
{
    return status(path).kind;
}
inline bool exists(const QString &path)
{
    return kind(path) != Kind::Missing;
}

// The names in a folder, byte for byte, in the order the system lists them,
// without "." and ".."; nothing when the folder cannot be read.
std::optional<QStringList> folderEntries(const QString &folder);

// A path that came through Qt's lossy decoding (a file dialog, a URL) and that
// no longer names a file: the file whose name reads the same once decoded, when
// exactly one does. Any other path comes back unchanged.
QString recover(const QString &path);

} // namespace NativePath
