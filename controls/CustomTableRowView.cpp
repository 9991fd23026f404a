#include "CustomTableRowView.h"

#include <QPainter>

CustomTableRowView::CustomTableRowView(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

void CustomTableRowView::drawSelectionInRect(QPainter *painter, const QRect &bounds) const
{
    if (_style == SelectionHighlightStyle::None)
        return;
    // Fill, then stroke the edge once more with a 1-point pen centred on it.
    const QRectF rect(bounds);
    painter->save();
    painter->setPen(QPen(_highlightedColor, 1.0));
    painter->setBrush(_highlightedColor);
    painter->fillRect(rect, _highlightedColor);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(rect);
    painter->restore();
}

void CustomTableRowView::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    QStyleOptionViewItem plain(option);
    if (option.state & QStyle::State_Selected) {
        drawSelectionInRect(painter, option.rect);
        plain.state &= ~QStyle::State_Selected;
    }
    QStyledItemDelegate::paint(painter, plain, index);
}
