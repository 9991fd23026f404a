#pragma once

#include <QString>

// The parts of a file path that classification and the filter look at. A
// leading dot starts a hidden name, not an extension: ".mkv" has none.
namespace PathComponents {

// The file name: the text after the last slash, trailing slashes ignored.
QString lastPathComponent(const QString &path);
// The text after the last dot of the file name; empty when there is none.
QString pathExtension(const QString &path);
// The file name without its extension and its dot.
QString baseName(const QString &path);

} // namespace PathComponents
