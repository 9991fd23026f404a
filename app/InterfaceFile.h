#pragma once

#include <QString>

class QWidget;

// Loads a bundled interface file by name (":/ui/<name>.ui"), creating Glaze's
// own classes where the file names them. Returns nullptr when there is no
// such file or it cannot be read.
QWidget *loadInterfaceFile(const QString &name, QWidget *parent = nullptr);
