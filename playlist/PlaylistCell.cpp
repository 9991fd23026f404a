#include "PlaylistCell.h"

#include "controls/InterfaceFile.h"

#include "PlaylistModel.h"

#include <QLayout>

namespace {

void setElidedText(QLabel *label, const QString &text)
{
    if (label)
        label->setText(
            label->fontMetrics().elidedText(text, Qt::ElideRight, label->contentsRect().width()));
}

} // namespace

PlaylistCell::PlaylistCell(QWidget *parent)
    : QWidget(parent)
{
}

void PlaylistCell::connectOutlets()
{
    _mediaName = outlet<QLabel>(this, "mediaName");
    _details = outlet<QLabel>(this, "details");
    _location = outlet<QLabel>(this, "location");
    _preview = outlet<QLabel>(this, "preview");
    // Never shown, the cell is never polished by showing: its fonts and
    // colours come from the style sheets only once asked for.
    ensurePolished();
    fitWidth(width());
}

void PlaylistCell::fitWidth(int width)
{
    if (_laidOut && width == this->width())
        return;
    resize(width, sizeHint().height());
    // Hidden, the cell hears of no resize: its layout is redone by hand.
    if (layout()) {
        layout()->invalidate();
        layout()->activate();
    }
    _laidOut = true;
}

void PlaylistCell::configureCell(const PlaylistEntry &entry)
{
    setElidedText(_mediaName, PlaylistModel::nameOf(entry));
    setElidedText(_details, PlaylistModel::detailsOf(entry));
    setElidedText(_location, PlaylistModel::locationOf(entry));
}
