#pragma once

#include <memory>

struct libvlc_instance_t;

// The process's one libVLC instance. Whoever uses libVLC holds a reference,
// so the instance is released only after the last player, media and
// thumbnail worker let go of it (at the earliest when the process exits).
class LibVlcEngine {
public:
    ~LibVlcEngine();
    LibVlcEngine(const LibVlcEngine &) = delete;
    LibVlcEngine &operator=(const LibVlcEngine &) = delete;

    // Made on the first call, from any thread; null when libVLC cannot start
    // (no plugins, for instance), in which case nothing plays and nothing parses.
    static std::shared_ptr<LibVlcEngine> shared();

    libvlc_instance_t *instance() const { return _instance; }

private:
    explicit LibVlcEngine(libvlc_instance_t *instance)
        : _instance(instance)
    {
    }

    libvlc_instance_t *_instance = nullptr;
};
