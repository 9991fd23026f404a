#include "FontConfigurationWarmUp.h"

#include <fontconfig/fontconfig.h>

FontConfigurationWarmUp::FontConfigurationWarmUp()
    : _thread([] { FcInit(); })
{
}

FontConfigurationWarmUp::~FontConfigurationWarmUp()
{
    wait();
}

void FontConfigurationWarmUp::wait()
{
    if (_thread.joinable())
        _thread.join();
}
