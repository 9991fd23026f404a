#include "CustomButtonCell.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

constexpr int kTitleFlags = Qt::AlignCenter | Qt::TextShowMnemonic;

} // namespace

CustomButtonCell::CustomButtonCell(QWidget *parent)
    : QPushButton(parent)
{
}

QRectF CustomButtonCell::titleRectForBounds(const QRectF &bounds) const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = bounds.toAlignedRect();
    QRectF title = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const qreal textHeight = QFontMetricsF(font()).size(kTitleFlags, text()).height();
    title.moveTop(bounds.y() - (bounds.height() - textHeight) / 8.0);
    return title;
}

void CustomButtonCell::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    // As the style draws a push button, but for the title: drawn by hand, as
    // the style's label takes whole-pixel rectangles only and the move is a
    // fraction of a point.
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(titleRectForBounds(rect()), kTitleFlags, text());
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
