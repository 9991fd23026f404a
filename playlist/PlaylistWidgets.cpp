#include "PlaylistWidgets.h"

WidgetFactories playlistWidgetFactories()
{
    return controlsWidgetFactories();
}
