#pragma once

#include <QHash>
#include <QString>
#include <functional>

class QWidget;

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
