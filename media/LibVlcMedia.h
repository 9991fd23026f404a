#pragma once

#include "LibVlcEngine.h"
#include "VLCMedia.h"

#include <QMutex>
#include <QWaitCondition>

struct libvlc_event_t;
struct libvlc_media_t;

// VLCMedia over a libvlc_media_t. The parse runs once, in libVLC's preparser;
// waiting for it sleeps on a condition that the parse event wakes.
class LibVlcMedia final : public VLCMedia {
public:
    LibVlcMedia(std::shared_ptr<LibVlcEngine> engine, const QString &path);
    ~LibVlcMedia() override;

    QString path() const override { return _path; }
    VLCTime length() override;
    VLCTime lengthWaitUntilDate(QDeadlineTimer deadline) override;
    void parseStop() override;
    Tracks tracks() override;

    // What the parse found, for the thumbnailer.
    struct ParseOutcome {
        bool finished = false;  // the parse has ended or was never possible
        bool completed = false; // it ran to the end (no time-out, no failure)
        bool failed = false;    // the engine could not read the file
        bool readable = true;   // a regular file the engine could be given
        bool hasAudio = false;
        bool hasVideo = false;
        unsigned width = 0, height = 0; // of the first video track as shown, pixels
        unsigned sarNum = 1, sarDen = 1;
    };
    ParseOutcome parseOutcome();

    // The engine side; null when libVLC did not start.
    libvlc_media_t *handle() const { return _media; }
    const std::shared_ptr<LibVlcEngine> &engine() const { return _engine; }

private:
    static void handleParsedChanged(const libvlc_event_t *event, void *opaque);
    void startParseOnce();
    VLCTime currentLength() const;

    const QString _path;
    const std::shared_ptr<LibVlcEngine> _engine;
    libvlc_media_t *_media = nullptr;

    QMutex _mutex;
    QWaitCondition _parseEnded;
    bool _parseStarted = false;
    bool _parseFinished = false;
    bool _readable = true;
    int _parseStatus = 0; // libvlc_media_parsed_status_t, 0 while none
};
