#include "ChromeWidgets.h"

#include "NoTitleWindow.h"
#include "NotificateNSButton.h"
#include "NotificateNSSlider.h"
#include "OverlayWindow.h"
#include "TrackingMainView.h"
#include "TrackingTitlebarView.h"
#include "playlist/PlaylistWidgets.h"

WidgetFactories chromeWidgetFactories()
{
    WidgetFactories factories = playlistWidgetFactories();
    factories.insert(QStringLiteral("NoTitleWindow"), widgetFactory<NoTitleWindow>());
    factories.insert(QStringLiteral("OverlayWindow"), widgetFactory<OverlayWindow>());
    factories.insert(QStringLiteral("TrackingMainView"), widgetFactory<TrackingMainView>());
    factories.insert(QStringLiteral("TrackingTitlebarView"), widgetFactory<TrackingTitlebarView>());
    factories.insert(QStringLiteral("NotificateNSButton"), widgetFactory<NotificateNSButton>());
    factories.insert(QStringLiteral("NotificateNSSlider"), widgetFactory<NotificateNSSlider>());
    return factories;
}
