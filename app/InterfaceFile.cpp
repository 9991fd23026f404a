#include "InterfaceFile.h"

#include "AppDelegate.h"
#include "chrome/NoTitleWindow.h"
#include "chrome/NotificateNSButton.h"
#include "chrome/NotificateNSSlider.h"
#include "controls/CustomView.h"

#include <QCoreApplication>
#include <QFile>
#include <QUiLoader>
#include <functional>

namespace {

class GlazeUiLoader : public QUiLoader {
public:
    // The loader would load every Qt Designer plugin on the library paths
    // (one pulls in Qt Quick), which costs start-up tens of milliseconds.
    // Glaze's files use only Qt's widgets and its own classes.
    GlazeUiLoader()
        : QUiLoader(nullptr)
    {
        clearPluginPaths();
    }

    QWidget *createWidget(const QString &className, QWidget *parent, const QString &name) override
    {
        using Factory = std::function<QWidget *(QWidget *)>;
        static const QHash<QString, Factory> factories = {
            {QStringLiteral("AppDelegate"), [](QWidget *p) { return new AppDelegate(p); }},
            {QStringLiteral("CustomView"), [](QWidget *p) { return new CustomView(p); }},
            {QStringLiteral("NoTitleWindow"), [](QWidget *p) { return new NoTitleWindow(p); }},
            {QStringLiteral("NotificateNSButton"),
             [](QWidget *p) { return new NotificateNSButton(p); }},
            {QStringLiteral("NotificateNSSlider"),
             [](QWidget *p) { return new NotificateNSSlider(p); }},
        };
        if (const auto factory = factories.constFind(className); factory != factories.cend()) {
            QWidget *widget = (*factory)(parent);
            widget->setObjectName(name);
            return widget;
        }
        return QUiLoader::createWidget(className, parent, name);
    }
};

} // namespace

QWidget *loadInterfaceFile(const QString &name, QWidget *parent)
{
    QFile file(QStringLiteral(":/ui/%1.ui").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QStringList libraryPaths = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths({});
    GlazeUiLoader loader;
    QCoreApplication::setLibraryPaths(libraryPaths);
    return loader.load(&file, parent);
}
