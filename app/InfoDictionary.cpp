#include "InfoDictionary.h"

#include <QFile>
#include <QXmlStreamReader>

const InfoDictionary &InfoDictionary::mainBundle()
{
    static const InfoDictionary bundle = [] {
        QFile file(QStringLiteral(":/Info.plist"));
        return file.open(QIODevice::ReadOnly) ? fromXml(file.readAll()) : InfoDictionary();
    }();
    return bundle;
}

InfoDictionary InfoDictionary::fromXml(const QByteArray &plist)
{
    InfoDictionary dictionary;
    QXmlStreamReader xml(plist);
    QString key;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("key")) {
            key = xml.readElementText();
        } else if (xml.name() == QLatin1String("string")) {
            const QString value = xml.readElementText();
            if (!key.isEmpty())
                dictionary._strings.insert(key, value);
            key.clear();
        } else if (xml.name() != QLatin1String("plist") && xml.name() != QLatin1String("dict")) {
            key.clear();
        }
    }
    return dictionary;
}
