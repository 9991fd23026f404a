#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

// Says that an interface file lacks an object the code expects of it.
void warnMissingOutlet(const char *name);

// The object an interface file names, found once at load; a missing one is
// a broken file and warned about, never silently a control that does nothing.
template <typename T> T *outlet(const QObject *root, const char *name)
{
    T *found = root ? root->findChild<T *>(QLatin1String(name)) : nullptr;
    if (!found)
        warnMissingOutlet(name);
    return found;
}

// Makes a widget of one of Glaze's own classes that an interface file names.
using WidgetFactory = std::function<QWidget *(QWidget *parent)>;
using WidgetFactories = QHash<QString, WidgetFactory>;

template <typename Widget> WidgetFactory widgetFactory()
{
    return [](QWidget *parent) -> QWidget * { return new Widget(parent); };
}

// The classes of this library that interface files name. Each library above
// adds its own to those of the libraries it builds on.
WidgetFactories controlsWidgetFactories();

// Loads a bundled interface file by name (":/ui/<name>.ui"), creating Glaze's
// own classes from `factories` where the file names them. Returns nullptr
// when there is no such file or it cannot be read.
QWidget *loadInterfaceFile(const QString &name, const WidgetFactories &factories,
                           QWidget *parent = nullptr);
