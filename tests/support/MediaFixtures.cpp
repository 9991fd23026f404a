#include "MediaFixtures.h"

#include <QProcess>
#include <QRandomGenerator>
#include <sys/stat.h>
#include <unistd.h>

QString MediaFixtures::directory()
{
    const QString dir =
        qEnvironmentVariable("GLAZE_TEST_MEDIA_DIR", QDir::tempPath() + "/glaze-test-media");
    QDir().mkpath(dir);
    return dir;
}

QString MediaFixtures::generate(const QString &name, const QStringList &ffmpegArguments)
{
    const QString path = pathOf(name);
    if (QFile::exists(path))
        return path;
    // Written beside and renamed, so that tests running side by side never see half a file.
    const QString partial =
        QStringLiteral("%1.%2.%3").arg(path).arg(getpid()).arg(name.section('.', -1));
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", QStringList{"-y", "-loglevel", "error"} + ffmpegArguments << partial);
    if (ffmpeg.waitForFinished(120000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
        ffmpeg.exitCode() == 0)
        QFile::rename(partial, path);
    else
        qWarning("ffmpeg failed for %s: %s", qPrintable(name),
                 ffmpeg.readAllStandardError().data());
    QFile::remove(partial);
    return QFile::exists(path) ? path : QString();
}

QString MediaFixtures::file(const QString &name, const QByteArray &contents)
{
    QFile out(pathOf(name));
    return out.open(QIODevice::WriteOnly) && out.write(contents) == contents.size() ? out.fileName()
                                                                                    : QString();
}

QString MediaFixtures::randomBytes(const QString &name, int size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return file(name, bytes);
}

QString MediaFixtures::sparseZeros(const QString &name, qint64 size)
{
    // Resizing writes nothing, so the file stays sparse.
    QFile out(pathOf(name));
    return out.open(QIODevice::WriteOnly) && out.resize(size) ? out.fileName() : QString();
}

QString MediaFixtures::fifo(const QString &name)
{
    const QByteArray path = QFile::encodeName(pathOf(name));
    struct stat info = {};
    if (::stat(path.constData(), &info) == 0 && S_ISFIFO(info.st_mode))
        return pathOf(name);
    ::unlink(path.constData());
    return ::mkfifo(path.constData(), 0600) == 0 ? pathOf(name) : QString();
}
