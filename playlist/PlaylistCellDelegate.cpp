#include "PlaylistCellDelegate.h"

#include "PlaylistCell.h"
#include "PlaylistModel.h"

#include <QIcon>
#include <QPainter>

PlaylistCellDelegate::PlaylistCellDelegate(PlaylistCell *cell, QObject *parent)
    : CustomTableRowView(parent)
    , _cell(cell)
{
    if (!_cell)
        return;
    // Out of the window: to render a widget that is not shown, Qt first lays
    // out its whole window as if it were, and the cell would take a place of
    // its own in the panel at every row drawn.
    _cell->setParent(nullptr);
    _cell->connectOutlets();
}

PlaylistCellDelegate::~PlaylistCellDelegate() = default;

PlaylistCell *PlaylistCellDelegate::viewForIndex(const QModelIndex &index, int width,
                                                 qreal ratio) const
{
    const auto *model = qobject_cast<const PlaylistModel *>(index.model());
    const PlaylistEntry *entry = model ? model->entryAt(index) : nullptr;
    if (!_cell || !entry)
        return nullptr;
    _cell->fitWidth(width);
    _cell->configureCell(*entry);
    if (QLabel *preview = _cell->preview()) {
        const QImage image = index.data(PlaylistModel::PreviewRole).value<QImage>();
        preview->setPixmap(image.isNull() ? backgroundIcon(ratio) : QPixmap::fromImage(image));
    }
    return _cell.get();
}

int PlaylistCellDelegate::rowHeight() const
{
    return _cell ? _cell->height() : 0;
}

QSize PlaylistCellDelegate::previewSize() const
{
    QLabel *preview = _cell ? _cell->preview() : nullptr;
    return preview ? preview->size() : QSize();
}

void PlaylistCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    if (option.state & QStyle::State_Selected)
        drawSelectionInRect(painter, option.rect);
    const qreal ratio = painter->device()->devicePixelRatio();
    PlaylistCell *cell = viewForIndex(index, option.rect.width(), ratio);
    if (!cell)
        return;
    // Rendered straight into the table's painter, the cell would leave it
    // clipped to the first row when the table is itself being rendered (a
    // grab of the window): it goes through a canvas of its own instead.
    if (_canvas.size() != option.rect.size() * ratio || _canvas.devicePixelRatio() != ratio) {
        _canvas = QImage(option.rect.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        _canvas.setDevicePixelRatio(ratio);
    }
    _canvas.fill(Qt::transparent);
    // The children only: the row's own background and selection show through.
    cell->render(&_canvas, QPoint(), QRegion(), QWidget::DrawChildren);
    painter->drawImage(option.rect.topLeft(), _canvas);
}

QSize PlaylistCellDelegate::sizeHint(const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    return {CustomTableRowView::sizeHint(option, index).width(), rowHeight()};
}

QPixmap PlaylistCellDelegate::backgroundIcon(qreal ratio) const
{
    if (_backgroundIcon.isNull() || _backgroundIcon.devicePixelRatio() != ratio) {
        _backgroundIcon =
            QIcon(QStringLiteral(":/images/background_icon.svg")).pixmap(previewSize(), ratio);
    }
    return _backgroundIcon;
}
