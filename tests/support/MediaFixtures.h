#pragma once

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <sys/stat.h>
#include <unistd.h>

// Media made at test time by ffmpeg, never shipped: cached by name in
// GLAZE_TEST_MEDIA_DIR (or a temporary folder). Each returns the path, or an
// empty string on failure.
struct MediaFixtures {
    static QString directory()
    {
        const QString dir =
            qEnvironmentVariable("GLAZE_TEST_MEDIA_DIR", QDir::tempPath() + "/glaze-test-media");
        QDir().mkpath(dir);
        return dir;
    }
    // ffmpeg with the arguments, unless `name` exists already.
    static QString generate(const QString &name, const QStringList &ffmpegArguments)
    {
        const QString path = pathOf(name);
        if (QFile::exists(path))
            return path;
        // Written beside and renamed, so that tests running side by side never see half a file.
        const QString partial =
            QStringLiteral("%1.%2.%3").arg(path).arg(getpid()).arg(name.section('.', -1));
        // Its errors go to the test's own output.
        if (QProcess::execute("ffmpeg", QStringList{"-y", "-loglevel", "error"} + ffmpegArguments
                                            << partial) == 0)
            QFile::rename(partial, path);
        QFile::remove(partial);
        return QFile::exists(path) ? path : QString();
    }
    static QString generate(const QString &name, const char *spacedArguments)
    {
        return generate(name, QString::fromUtf8(spacedArguments).split(' '));
    }
    // A test pattern, H.264 in the container the extension picks.
    static QString video(const QString &name, int lengthMs, int width = 320, int height = 240)
    {
        return generate(name, pattern(lengthMs, width, height).split(' '));
    }
    static QString videoWithAudio(const QString &name, int lengthMs, int width = 320,
                                  int height = 240)
    {
        return generate(name, (Tone + pattern(lengthMs, width, height) + " -c:a aac").split(' '));
    }
    static QString audio(const QString &name, int lengthMs)
    {
        return generate(name, (Tone + QStringLiteral("-t %1").arg(lengthMs / 1000.0)).split(' '));
    }
    static QString file(const QString &name, const QByteArray &contents)
    {
        QFile out(pathOf(name));
        return out.open(QIODevice::WriteOnly) && out.write(contents) == contents.size()
                   ? out.fileName()
                   : QString();
    }
    static QString randomBytes(const QString &name, int size, quint32 seed = 1)
    {
        QRandomGenerator generator(seed);
        QByteArray bytes(size, Qt::Uninitialized);
        for (char &byte : bytes)
            byte = char(generator.bounded(256));
        return file(name, bytes);
    }
    // Takes no room on disk (resizing writes nothing); big ones are best removed after use.
    static QString sparseZeros(const QString &name, qint64 size)
    {
        QFile out(pathOf(name));
        return out.open(QIODevice::WriteOnly) && out.resize(size) ? out.fileName() : QString();
    }
    // Nobody writes to it: opening it for reading blocks.
    static QString fifo(const QString &name)
    {
        const QByteArray path = QFile::encodeName(pathOf(name));
        struct stat info = {};
        if (::stat(path.constData(), &info) == 0 && S_ISFIFO(info.st_mode))
            return pathOf(name);
        ::unlink(path.constData());
        return ::mkfifo(path.constData(), 0600) == 0 ? pathOf(name) : QString();
    }
    static QString folder(const QString &name)
    {
        return QDir().mkpath(pathOf(name)) ? pathOf(name) : QString();
    }

private:
    static QString pathOf(const QString &name) { return directory() + QLatin1Char('/') + name; }
    static QString pattern(int lengthMs, int width, int height)
    {
        return QStringLiteral("-f lavfi -i testsrc2=size=%1x%2 -t %3 -pix_fmt yuv420p -c:v libx264 "
                              "-preset ultrafast")
            .arg(width)
            .arg(height)
            .arg(lengthMs / 1000.0);
    }
    static inline const QString Tone = QStringLiteral("-f lavfi -i sine=frequency=440 ");
};
