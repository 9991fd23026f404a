#include "PlaylistWidgets.h"

#include "DragDropImageView.h"
#include "DragDropView.h"
#include "PlaylistCell.h"

WidgetFactories playlistWidgetFactories()
{
    WidgetFactories factories = controlsWidgetFactories();
    factories.insert(QStringLiteral("PlaylistCell"), widgetFactory<PlaylistCell>());
    factories.insert(QStringLiteral("DragDropView"), widgetFactory<DragDropView>());
    factories.insert(QStringLiteral("DragDropImageView"), widgetFactory<DragDropImageView>());
    return factories;
}
