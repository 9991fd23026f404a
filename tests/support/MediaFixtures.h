#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

// Media made at test time by ffmpeg, never shipped: cached by name in
// GLAZE_TEST_MEDIA_DIR (or a temporary folder). Each returns the path, or an
// empty string on failure.
struct MediaFixtures {
    static QString directory();
    // ffmpeg with the arguments, unless `name` exists already.
    static QString generate(const QString &name, const QStringList &ffmpegArguments);
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
    static QString file(const QString &name, const QByteArray &contents);
    static QString randomBytes(const QString &name, int size, quint32 seed = 1);
    // Takes no room on disk; big ones are best removed after use.
    static QString sparseZeros(const QString &name, qint64 size);
    // Nobody writes to it: opening it for reading blocks.
    static QString fifo(const QString &name);
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
