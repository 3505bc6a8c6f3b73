#pragma once

#include <QObject>
#include <QString>

// Common base of the limits and mapping file readers.
class XmlFile : public QObject
{
    Q_OBJECT
public:
    explicit XmlFile(QObject* parent = nullptr);

protected:
    QString m_FilePath;
};
