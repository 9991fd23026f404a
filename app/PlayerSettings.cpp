#include "PlayerSettings.h"

#include <QDebug>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kVolume = QStringLiteral("volume");
const QString kUnmutedVolume = QStringLiteral("unmutedVolume");
const QString kWindowGeometry = QStringLiteral("windowGeometry");
const QString kPlaylistOpen = QStringLiteral("playlistOpen");
const QString kResume = QStringLiteral("resume");
// Paths are kept as bytes (QSettings writes them as @ByteArray), so that any
// name comes back exactly.
const QString kFile = QStringLiteral("file");
const QString kPositionMs = QStringLiteral("positionMs");

std::optional<int> number(const QVariant &value)
{
    bool isNumber = false;
    const int result = value.toInt(&isNumber);
    return isNumber ? std::optional<int>(result) : std::nullopt;
}

} // namespace

PlayerSettings::PlayerSettings(QString filePath)
    : _filePath(std::move(filePath))
{
}

QString PlayerSettings::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/glaze/glaze.conf");
}

void PlayerSettings::load()
{
    if (std::exchange(_loaded, true))
        return;
    const QFileInfo folder(QFileInfo(_filePath).absolutePath());
    if (folder.exists() && !(folder.isDir() && folder.isWritable()))
        complainOnce(QStringLiteral("Glaze: settings cannot be saved in %1; they will not be "
                                    "remembered")
                         .arg(folder.filePath()));
    QSettings file(_filePath, QSettings::IniFormat);
    const QVariant volumeValue = file.value(kVolume);
    if (file.status() != QSettings::NoError) {
        complainOnce(QStringLiteral("Glaze: the settings in %1 cannot be read; starting with "
                                    "the defaults")
                         .arg(_filePath));
        return;
    }
    volume = number(volumeValue);
    unmutedVolume = number(file.value(kUnmutedVolume));
    windowGeometry = file.value(kWindowGeometry).toByteArray();
    playlistOpen = file.value(kPlaylistOpen).toBool();
    QList<ResumePositions::Position> positions;
    const int count = file.beginReadArray(kResume);
    for (int i = 0; i < count; ++i) {
        file.setArrayIndex(i);
        positions.append({file.value(kFile).toByteArray(), file.value(kPositionMs).toLongLong()});
    }
    file.endArray();
    resumePositions.setPositions(positions);
}

void PlayerSettings::save()
{
    QSettings file(_filePath, QSettings::IniFormat);
    file.setAtomicSyncRequired(true);
    // Whatever else the file held (a damaged file's remains) goes.
    file.clear();
    if (volume)
        file.setValue(kVolume, *volume);
    if (unmutedVolume)
        file.setValue(kUnmutedVolume, *unmutedVolume);
    if (!windowGeometry.isEmpty())
        file.setValue(kWindowGeometry, windowGeometry);
    file.setValue(kPlaylistOpen, playlistOpen);
    const QList<ResumePositions::Position> &positions = resumePositions.positions();
    file.beginWriteArray(kResume, int(positions.size()));
    for (int i = 0; i < positions.size(); ++i) {
        file.setArrayIndex(i);
        file.setValue(kFile, positions.at(i).file);
        file.setValue(kPositionMs, qlonglong(positions.at(i).positionMs));
    }
    file.endArray();
    file.sync();
    // A damaged file read before the writing reports a format error; only
    // access decides whether the new one was written.
    if (file.status() == QSettings::AccessError)
        complainOnce(QStringLiteral("Glaze: settings cannot be saved to %1").arg(_filePath));
}

void PlayerSettings::complainOnce(const QString &message)
{
    // One problem is enough to know of: each save would repeat it.
    if (!std::exchange(_complained, true))
        qWarning().noquote() << message;
}
