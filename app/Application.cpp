#include "Application.h"

#include "AppDelegate.h"

#include <QPointer>

namespace {
QPointer<AppDelegate> &delegateSlot()
{
    static QPointer<AppDelegate> delegate;
    return delegate;
}
} // namespace

AppDelegate *applicationDelegate()
{
    return delegateSlot();
}

void setApplicationDelegate(AppDelegate *delegate)
{
    delegateSlot() = delegate;
    setApplicationDragDropDelegate(delegate);
}
