#pragma once

#include <QString>

// The desktop's file-type registry (shared-mime-info), asked about a file-name
// extension. Some extensions name several types ("ogg" is audio and video):
// every candidate counts.
class TypeRegistry {
public:
    // Some candidate type is video or audio.
    static bool conformsToAudiovisualContent(const QString &extension);
    // Some candidate type is audio.
    static bool conformsToAudio(const QString &extension);
};
