#include "NativePath.h"

#include <QDir>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace NativePath {

namespace {

constexpr char16_t EscapeBase = 0xdc00;

bool isEscapedByte(char16_t unit)
{
    return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xff;
}

// Length of the valid UTF-8 sequence starting at `i`, or 0 when it is not one.
int validSequenceLength(const QByteArray &bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes.at(k)); };
    const unsigned char lead = at(i);
    int length = 0;
    unsigned char low = 0x80, high = 0xbf; // allowed range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0)
            low = 0xa0; // overlong
        if (lead == 0xed)
            high = 0x9f; // UTF-16 surrogates
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0)
            low = 0x90; // overlong
        if (lead == 0xf4)
            high = 0x8f; // past U+10FFFF
    } else {
        return 0;
    }
    if (i + length > bytes.size() || at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xbf)
            return 0;
    }
    return length;
}

} // namespace

QString fromNative(const QByteArray &bytes)
{
    QString path;
    path.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = validSequenceLength(bytes, i);
        if (length == 0) {
            path.append(QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes.at(i)))));
            ++i;
            continue;
        }
        path.append(QString::fromUtf8(bytes.constData() + i, length));
        i += length;
    }
    return path;
}

QByteArray toNative(const QString &path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        bytes.append(QStringView(path).mid(runStart, end - runStart).toUtf8());
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t unit = path.at(i).unicode();
        // A surrogate pair is a character of its own, not an escape.
        if (!isEscapedByte(unit) || (i > 0 && path.at(i - 1).isHighSurrogate()))
            continue;
        flush(i);
        bytes.append(char(unit - EscapeBase));
        runStart = i + 1;
    }
    flush(path.size());
    return bytes;
}

QString displayString(const QString &path)
{
    QString shown = path;
    for (QChar &c : shown) {
        if (isEscapedByte(c.unicode()))
            c = QChar(char16_t(c.unicode() - EscapeBase));
    }
    return shown;
}

QUrl fileUrl(const QString &path)
{
    // Everything but the unreserved characters and the slashes is escaped, so
    // that the bytes come back exactly.
    return QUrl::fromEncoded("file://" + toNative(path).toPercentEncoding("/"));
}

QString fromFileUrl(const QByteArray &encodedUrl)
{
    QByteArray url = encodedUrl.trimmed();
    if (url.startsWith('/'))
        return fromNative(QByteArray::fromPercentEncoding(url));
    if (!url.startsWith("file:"))
        return {};
    url = url.mid(5);
    // file://host/path, file:///path and the bare file:/path.
    if (url.startsWith("//")) {
        const qsizetype slash = url.indexOf('/', 2);
        if (slash < 0)
            return {};
        const QByteArray host = url.mid(2, slash - 2);
        if (!host.isEmpty() && host != "localhost")
            return {};
        url = url.mid(slash);
    }
    return url.startsWith('/') ? fromNative(QByteArray::fromPercentEncoding(url)) : QString();
}

QString absolutePath(const QString &path)
{
    if (path.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(path);
    const auto release = [](char *text) { ::free(text); };
    std::unique_ptr<char, decltype(release)> cwd(::getcwd(nullptr, 0), release);
    const QString base = cwd ? fromNative(cwd.get()) : QStringLiteral("/");
    return QDir::cleanPath(base + QLatin1Char('/') + path);
}

Status status(const QString &path)
{
    struct stat info = {};
    if (path.isEmpty() || ::stat(toNative(path).constData(), &info) != 0)
        return {};
    const Kind kind = S_ISREG(info.st_mode)   ? Kind::RegularFile
                      : S_ISDIR(info.st_mode) ? Kind::Directory
                                              : Kind::Other;
    return {kind, quint64(info.st_dev), quint64(info.st_ino)};
}

std::optional<QStringList> folderEntries(const QString &folder)
{
    const auto closeDir = [](DIR *dir) { ::closedir(dir); };
    std::unique_ptr<DIR, decltype(closeDir)> dir(::opendir(toNative(folder).constData()), closeDir);
    if (!dir)
        return std::nullopt;
    QStringList names;
    while (const dirent *entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(fromNative(name));
    }
    return names;
}

QString recover(const QString &path)
{
    if (!path.contains(QChar::ReplacementCharacter) || exists(path))
        return path;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return path;
    const QString folder = slash == 0 ? QStringLiteral("/") : recover(path.left(slash));
    const QString name = path.mid(slash + 1);
    const std::optional<QStringList> entries = folderEntries(folder);
    if (!entries)
        return path;
    QString found;
    for (const QString &entry : *entries) {
        if (QString::fromUtf8(toNative(entry)) != name)
            continue;
        // Two names that read the same: no telling which was meant.
        if (!found.isNull())
            return path;
        found = entry;
    }
    if (found.isNull())
        return path;
    return (folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')) + found;
}

} // namespace NativePath
