#include "InterfaceFile.h"

#include "CustomButtonCell.h"
#include "CustomScroller.h"
#include "CustomTextField.h"
#include "CustomView.h"
#include "ImageButton.h"
#include "VACell.h"

#include <QCoreApplication>
#include <QFile>
#include <QUiLoader>

namespace {

class GlazeUiLoader : public QUiLoader {
public:
    // The loader would load every Qt Designer plugin on the library paths
    // (one pulls in Qt Quick), which costs start-up tens of milliseconds.
    // Glaze's files use only Qt's widgets and its own classes.
    explicit GlazeUiLoader(const WidgetFactories &factories)
        : QUiLoader(nullptr)
        , _factories(factories)
    {
        clearPluginPaths();
    }

    QWidget *createWidget(const QString &className, QWidget *parent, const QString &name) override
    {
        if (const auto factory = _factories.constFind(className); factory != _factories.cend()) {
            QWidget *widget = (*factory)(parent);
            widget->setObjectName(name);
            return widget;
        }
        return QUiLoader::createWidget(className, parent, name);
    }

private:
    const WidgetFactories &_factories;
};

} // namespace

WidgetFactories controlsWidgetFactories()
{
    return {
        {QStringLiteral("CustomButtonCell"), widgetFactory<CustomButtonCell>()},
        {QStringLiteral("CustomScroller"), widgetFactory<CustomScroller>()},
        {QStringLiteral("CustomTextField"), widgetFactory<CustomTextField>()},
        {QStringLiteral("CustomView"), widgetFactory<CustomView>()},
        {QStringLiteral("ImageButton"), widgetFactory<ImageButton>()},
        {QStringLiteral("VACell"), widgetFactory<VACell>()},
    };
}

QWidget *loadInterfaceFile(const QString &name, const WidgetFactories &factories, QWidget *parent)
{
    QFile file(QStringLiteral(":/ui/%1.ui").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    const QStringList libraryPaths = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths({});
    GlazeUiLoader loader(factories);
    QCoreApplication::setLibraryPaths(libraryPaths);
    return loader.load(&file, parent);
}

void warnMissingOutlet(const char *name)
{
    qWarning("Interface file: no outlet named \"%s\"", name);
}
