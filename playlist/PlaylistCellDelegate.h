#pragma once

#include "controls/CustomTableRowView.h"

#include <QImage>
#include <QPixmap>
#include <memory>

class PlaylistCell;

// Draws the playlist table's rows: the flat selection, then the one cell of
// the main interface file, configured for the row and rendered in its place.
// No widget is made per row, however long the playlist.
class PlaylistCellDelegate : public CustomTableRowView {
    Q_OBJECT
public:
    // Takes the interface file's hidden "PLAYLIST_CELL_ID" cell.
    explicit PlaylistCellDelegate(PlaylistCell *cell, QObject *parent = nullptr);
    ~PlaylistCellDelegate() override;

    // The cell, laid out `width` wide and showing the row of `index`: its
    // texts, and its preview or the background image (drawn for a screen of
    // `ratio` pixels per point) when it has none.
    PlaylistCell *viewForIndex(const QModelIndex &index, int width, qreal ratio) const;
    // Every row is as tall as the cell.
    int rowHeight() const;
    // The size, in points, at which rows draw previews.
    QSize previewSize() const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QPixmap backgroundIcon(qreal ratio) const;

    std::unique_ptr<PlaylistCell> _cell;
    // Drawn once for the screen's pixel ratio, not for every row without a preview.
    mutable QPixmap _backgroundIcon;
    // What the cell is rendered into for each row, reused from row to row.
    mutable QImage _canvas;
};
