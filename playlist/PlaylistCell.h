#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

struct PlaylistEntry;

// The table's one kind of cell: an entry's name, details and folder beside its
// preview. The main interface file lays it out ("PLAYLIST_CELL_ID") and keeps
// it hidden; the table draws every row with this one cell, configured anew for
// each, as a reused cell view.
class PlaylistCell : public QWidget {
    Q_OBJECT
public:
    explicit PlaylistCell(QWidget *parent = nullptr);

    // The interface file makes the children after the cell itself, so the
    // outlets are found by name once it has.
    void connectOutlets();

    QLabel *mediaName() const { return _mediaName; }
    QLabel *details() const { return _details; }
    QLabel *location() const { return _location; }
    QLabel *preview() const { return _preview; }

    // Lays the cell out for a row that wide, as tall as its layout asks.
    void fitWidth(int width);
    // Fills the three texts from what was stored when the entry was added; a
    // text too long for its line ends in an ellipsis. The preview is the data
    // source's to set.
    void configureCell(const PlaylistEntry &entry);

private:
    QPointer<QLabel> _mediaName;
    QPointer<QLabel> _details;
    QPointer<QLabel> _location;
    QPointer<QLabel> _preview;
    bool _laidOut = false;
};
