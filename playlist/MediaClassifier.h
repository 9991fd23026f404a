#pragma once

#include <QStringList>

// Whether a file is playable media, and whether it is audio, judged by its
// file-name extension alone: the desktop's type registry first, then two fixed
// lists. The file's contents are never looked at.
class MediaClassifier {
public:
    enum class Kind { Unsupported, Video, Audio };

    QStringList supportedVideoFormats() const { return _supportedVideoFormats; }
    void setSupportedVideoFormats(const QStringList &formats) { _supportedVideoFormats = formats; }
    QStringList supportedAudioFormats() const { return _supportedAudioFormats; }
    void setSupportedAudioFormats(const QStringList &formats) { _supportedAudioFormats = formats; }

    bool isVideoOrAudio(const QString &path) const;
    bool isAudio(const QString &path) const;
    // The background image stands in for the picture of such a media.
    bool hasAudioLook(const QString &path) const;
    // Which files the open panel lists.
    bool panelShouldShowFilename(const QString &filename) const;
    Kind kind(const QString &path) const;

private:
    QStringList _supportedVideoFormats;
    QStringList _supportedAudioFormats;
};
