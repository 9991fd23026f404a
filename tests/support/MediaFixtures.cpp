#include "MediaFixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <sys/stat.h>

namespace MediaFixtures {

QString directory()
{
    QString dir = qEnvironmentVariable("GLAZE_TEST_MEDIA_DIR");
    if (dir.isEmpty())
        dir = QDir::tempPath() + QStringLiteral("/glaze-test-media");
    QDir().mkpath(dir);
    return dir;
}

QString generate(const QString &name, const QStringList &ffmpegArguments)
{
    const QString path = directory() + QLatin1Char('/') + name;
    if (QFile::exists(path))
        return path;
    // Write beside the target and rename, so that tests running side by side
    // never see half a file.
    const QString partial = path + QStringLiteral(".part.") +
                            QString::number(QCoreApplication::applicationPid()) + QLatin1Char('.') +
                            QFileInfo(name).suffix();
    QProcess ffmpeg;
    QStringList arguments = {QStringLiteral("-y"), QStringLiteral("-loglevel"),
                             QStringLiteral("error")};
    arguments += ffmpegArguments;
    arguments += partial;
    ffmpeg.start(QStringLiteral("ffmpeg"), arguments);
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0) {
        qWarning("ffmpeg failed for %s: %s", qPrintable(name),
                 ffmpeg.readAllStandardError().constData());
        QFile::remove(partial);
        return {};
    }
    QFile::remove(path);
    return QFile::rename(partial, path) ? path : QString();
}

QString video(const QString &name, int lengthMs, int width, int height)
{
    const QString seconds = QString::number(lengthMs / 1000.0, 'f', 3);
    return generate(name,
                    {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("testsrc2=size=%1x%2:rate=25").arg(width).arg(height),
                     QStringLiteral("-t"), seconds, QStringLiteral("-pix_fmt"),
                     QStringLiteral("yuv420p"), QStringLiteral("-c:v"), QStringLiteral("libx264"),
                     QStringLiteral("-preset"), QStringLiteral("ultrafast")});
}

QString audio(const QString &name, int lengthMs)
{
    const QString seconds = QString::number(lengthMs / 1000.0, 'f', 3);
    return generate(name, {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("sine=frequency=440:sample_rate=44100"),
                           QStringLiteral("-t"), seconds});
}

QString file(const QString &name, const QByteArray &contents)
{
    const QString path = directory() + QLatin1Char('/') + name;
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    out.write(contents);
    return path;
}

QString videoWithAudio(const QString &name, int lengthMs, int width, int height)
{
    const QString seconds = QString::number(lengthMs / 1000.0, 'f', 3);
    return generate(name,
                    {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("testsrc2=size=%1x%2:rate=25").arg(width).arg(height),
                     QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                     QStringLiteral("sine=frequency=440:sample_rate=44100"), QStringLiteral("-t"),
                     seconds, QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
                     QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-preset"),
                     QStringLiteral("ultrafast"), QStringLiteral("-c:a"), QStringLiteral("aac")});
}

QString colourSequence(const QString &name, const QList<QPair<QString, int>> &colourLengthsMs,
                       int width, int height)
{
    QStringList arguments;
    QString inputs;
    for (int i = 0; i < colourLengthsMs.size(); ++i) {
        arguments += {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                      QStringLiteral("color=c=%1:size=%2x%3:rate=25:duration=%4")
                          .arg(colourLengthsMs[i].first)
                          .arg(width)
                          .arg(height)
                          .arg(colourLengthsMs[i].second / 1000.0, 0, 'f', 3)};
        inputs += QStringLiteral("[%1:v]").arg(i);
    }
    arguments += {QStringLiteral("-filter_complex"),
                  inputs + QStringLiteral("concat=n=%1:v=1:a=0").arg(colourLengthsMs.size()),
                  QStringLiteral("-pix_fmt"),
                  QStringLiteral("yuv420p"),
                  QStringLiteral("-c:v"),
                  QStringLiteral("libx264"),
                  QStringLiteral("-preset"),
                  QStringLiteral("ultrafast")};
    return generate(name, arguments);
}

QString randomBytes(const QString &name, int size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return file(name, bytes);
}

QString sparseZeros(const QString &name, qint64 size)
{
    const QString path = directory() + QLatin1Char('/') + name;
    QFile out(path);
    // Resizing writes nothing, so the file stays sparse.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || !out.resize(size))
        return {};
    return path;
}

QString fifo(const QString &name)
{
    const QString path = directory() + QLatin1Char('/') + name;
    const QByteArray encoded = QFile::encodeName(path);
    struct stat info = {};
    if (::stat(encoded.constData(), &info) == 0 && S_ISFIFO(info.st_mode))
        return path;
    QFile::remove(path);
    return ::mkfifo(encoded.constData(), 0600) == 0 ? path : QString();
}

QString folder(const QString &name)
{
    const QString path = directory() + QLatin1Char('/') + name;
    return QDir().mkpath(path) ? path : QString();
}

} // namespace MediaFixtures
