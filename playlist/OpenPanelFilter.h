#pragma once

#include <QSortFilterProxyModel>
#include <functional>

// Lets the open panel list only the files a predicate accepts, judged by path.
class OpenPanelFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using ShouldShowFilename = std::function<bool(const QString &path)>;
    OpenPanelFilter(ShouldShowFilename shouldShow, QObject *parent);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    ShouldShowFilename _shouldShow;
};
