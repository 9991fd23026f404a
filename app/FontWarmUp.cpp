#include "FontWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

FontWarmUp::FontWarmUp()
    : _thread([] { FcInit(); })
{
}

FontWarmUp::~FontWarmUp()
{
    wait();
}

void FontWarmUp::fillFontDatabase()
{
    wait();
    _thread = std::thread([] { QFontDatabase::families(); });
}

void FontWarmUp::wait()
{
    if (_thread.joinable())
        _thread.join();
}
