#pragma once

#include <QStringList>
#include <optional>

class QMimeData;

namespace DroppedFiles {

// The local files a drag carries, in order, read byte for byte from its
// text/uri-list so that names which are not UTF-8 survive. Nothing when the
// drag carries no local file at all (plain text, web addresses).
std::optional<QStringList> filenames(const QMimeData *data);

} // namespace DroppedFiles
