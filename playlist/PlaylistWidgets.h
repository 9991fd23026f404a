#pragma once

#include "controls/InterfaceFile.h"

// Glaze's classes that interface files name, up to this library's.
WidgetFactories playlistWidgetFactories();
