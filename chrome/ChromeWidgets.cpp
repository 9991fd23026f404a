#include "ChromeWidgets.h"

#include "NoTitleWindow.h"
#include "NotificateNSButton.h"
#include "NotificateNSSlider.h"
#include "playlist/PlaylistWidgets.h"

WidgetFactories chromeWidgetFactories()
{
    WidgetFactories factories = playlistWidgetFactories();
    factories.insert(QStringLiteral("NoTitleWindow"), widgetFactory<NoTitleWindow>());
    factories.insert(QStringLiteral("NotificateNSButton"), widgetFactory<NotificateNSButton>());
    factories.insert(QStringLiteral("NotificateNSSlider"), widgetFactory<NotificateNSSlider>());
    return factories;
}
