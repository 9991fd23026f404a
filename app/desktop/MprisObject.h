#pragma once

#include <QDBusContext>
#include <QObject>

// The object that MPRIS's adaptors are exported on. Qt tells an adaptor's
// caller to the adaptor's parent, through its QDBusContext: error replies to
// a call go out from here.
class MprisObject : public QObject, public QDBusContext {
    Q_OBJECT
public:
    using QObject::QObject;
};
