#include "OpenPanelFilter.h"

#include <QFileSystemModel>

OpenPanelFilter::OpenPanelFilter(ShouldShowFilename shouldShow, QObject *parent)
    : QSortFilterProxyModel(parent)
    , _shouldShow(std::move(shouldShow))
{
}

bool OpenPanelFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (!files)
        return true;
    return _shouldShow(files->filePath(files->index(sourceRow, 0, sourceParent)));
}
