#include "PlaylistWidgets.h"

#include "PlaylistCell.h"

WidgetFactories playlistWidgetFactories()
{
    WidgetFactories factories = controlsWidgetFactories();
    factories.insert(QStringLiteral("PlaylistCell"), widgetFactory<PlaylistCell>());
    return factories;
}
