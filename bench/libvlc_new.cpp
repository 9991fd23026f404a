// Times one libvlc_new + libvlc_release in a fresh process, with the
// arguments Glaze gives the engine plus GLAZE_VLC_OPTIONS. Prints
// "new_ms release_ms". One process per sample: within a process the second
// instance finds the plugins already loaded and would flatter the number.
#include <vlc/vlc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

int main()
{
    std::vector<std::string> arguments{"--intf=dummy", "--no-video-title-show", "--quiet"};
    if (const char *extra = std::getenv("GLAZE_VLC_OPTIONS")) {
        std::istringstream words(extra);
        for (std::string word; words >> word;)
            arguments.push_back(word);
    }
    std::vector<const char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(argument.c_str());

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    libvlc_instance_t *instance = libvlc_new(static_cast<int>(argv.size()), argv.data());
    const Clock::time_point created = Clock::now();
    if (!instance) {
        std::fprintf(stderr, "libvlc_new failed\n");
        return 1;
    }
    libvlc_release(instance);
    const Clock::time_point released = Clock::now();
    std::printf("%.2f %.2f\n", std::chrono::duration<double, std::milli>(created - start).count(),
                std::chrono::duration<double, std::milli>(released - created).count());
    return 0;
}
