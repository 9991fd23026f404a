#pragma once

#include <QColor>
#include <QStyledItemDelegate>

// Draws a table row's selection as a flat rectangle of one colour in place of
// the style's own highlight.
class CustomTableRowView : public QStyledItemDelegate {
    Q_OBJECT
    Q_PROPERTY(QColor HighlightedColor READ HighlightedColor WRITE setHighlightedColor)
public:
    enum class SelectionHighlightStyle { None, Regular };

    explicit CustomTableRowView(QObject *parent = nullptr);

    QColor HighlightedColor() const { return _highlightedColor; }
    void setHighlightedColor(const QColor &color) { _highlightedColor = color; }
    SelectionHighlightStyle selectionHighlightStyle() const { return _style; }
    void setSelectionHighlightStyle(SelectionHighlightStyle style) { _style = style; }

    void drawSelectionInRect(QPainter *painter, const QRect &bounds) const;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    QColor _highlightedColor;
    SelectionHighlightStyle _style = SelectionHighlightStyle::Regular;
};
