#pragma once

#include <QStringList>

// What `glaze` was asked on its command line: the files to open, as absolute
// paths, and whether to hand them to a running player.
struct CommandLine {
    QStringList files;
    // --enqueue: appended to the playlist, as a drop on the table does.
    bool enqueue = false;
    // --new-instance: a player of its own, even when one runs.
    bool newInstance = false;

    // A file manager's "Open With" passes files as paths or as file URLs.
    // Read from the bytes themselves: a name that is not UTF-8 must still lead
    // back to its file. Any other argument that starts with "--" is no file.
    static CommandLine parse(int argc, char **argv);
};
