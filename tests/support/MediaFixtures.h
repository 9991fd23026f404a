#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Media made at test time with the ffmpeg command; never shipped. Files are
// cached by name in GLAZE_TEST_MEDIA_DIR (or a temporary folder), so each is
// generated once per build tree.
namespace MediaFixtures {

// The folder the fixtures go in.
QString directory();

// Runs ffmpeg with the arguments (after "-y -loglevel error") to make `name`
// unless it exists; returns its path, or an empty string when ffmpeg failed.
QString generate(const QString &name, const QStringList &ffmpegArguments);

// A test pattern video of the given length in milliseconds and size, H.264 in
// the container that the name's extension picks.
QString video(const QString &name, int lengthMs, int width = 320, int height = 240);
// A sine tone of the given length in milliseconds.
QString audio(const QString &name, int lengthMs);
// A file of the given bytes.
QString file(const QString &name, const QByteArray &contents);

// A test pattern video with a sine tone, both of the given length.
QString videoWithAudio(const QString &name, int lengthMs, int width = 320, int height = 240);
// A video of solid colours, one after the other, each lasting its milliseconds:
// what a frame shows tells where in the media it was taken.
QString colourSequence(const QString &name, const QList<QPair<QString, int>> &colourLengthsMs,
                       int width = 320, int height = 240);
// `size` bytes that look like nothing: the same for the same seed.
QString randomBytes(const QString &name, int size, quint32 seed = 1);
// A file of `size` zero bytes that takes no room on disk (sparse). Big ones
// are best removed after use.
QString sparseZeros(const QString &name, qint64 size);
// A named pipe nobody writes to: opening it for reading blocks.
QString fifo(const QString &name);
// An empty folder, for instance one named like a media file.
QString folder(const QString &name);

} // namespace MediaFixtures
