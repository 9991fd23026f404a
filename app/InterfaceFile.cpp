#include "InterfaceFile.h"

#include "AppDelegate.h"
#include "chrome/NoTitleWindow.h"
#include "controls/CustomView.h"

#include <QFile>
#include <QUiLoader>
#include <functional>

namespace {

class GlazeUiLoader : public QUiLoader {
public:
    QWidget *createWidget(const QString &className, QWidget *parent, const QString &name) override
    {
        using Factory = std::function<QWidget *(QWidget *)>;
        static const QHash<QString, Factory> factories = {
            {QStringLiteral("AppDelegate"), [](QWidget *p) { return new AppDelegate(p); }},
            {QStringLiteral("CustomView"), [](QWidget *p) { return new CustomView(p); }},
            {QStringLiteral("NoTitleWindow"), [](QWidget *p) { return new NoTitleWindow(p); }},
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
    GlazeUiLoader loader;
    return loader.load(&file, parent);
}
