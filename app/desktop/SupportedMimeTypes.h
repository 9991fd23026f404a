#pragma once

#include <QStringList>

// The MIME types whose files Glaze plays, as the desktop entry lists them:
// written into the build by glaze_accepted_mime_types, so that asking costs
// nothing and the entry and the player never disagree.
QStringList acceptedMimeTypes();
