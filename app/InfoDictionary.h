#pragma once

#include <QHash>
#include <QString>

// The application's information dictionary: the string keys of the bundled
// Info.plist, read once.
class InfoDictionary {
public:
    static const InfoDictionary &mainBundle();
    // Parses the string entries of a property list; anything else is skipped.
    static InfoDictionary fromXml(const QByteArray &plist);

    QString objectForInfoDictionaryKey(const QString &key) const { return _strings.value(key); }

private:
    QHash<QString, QString> _strings;
};
