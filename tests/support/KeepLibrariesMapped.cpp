// Linked into the sanitized test programs only. libVLC unloads its plugins
// when its last instance goes, so a leak found at exit would point into
// memory no longer mapped, an unknown module that no suppression can name.
// Keeping every library mapped until exit lets scripts/lsan.supp name the
// plugin, and keeps a leak of our own in view instead of lumped with theirs.
extern "C" int dlclose(void *) noexcept
{
    return 0;
}
