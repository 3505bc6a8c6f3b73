#pragma once

#include <QObject>

class CDataSetMeasurement;
class CDataSetMapping;
class QIODevice;

// Writes a recording to, and reads it from, an already opened device.
class CResultsSerializer : public QObject
{
    Q_OBJECT
public:
    explicit CResultsSerializer(QObject* parent = nullptr);

public slots:
    virtual bool Serialize(CDataSetMeasurement* dataSet, QIODevice* device) = 0;
    virtual bool Serialize(CDataSetMapping* dataSet, QIODevice* device) = 0;
    virtual bool Deserialize(QIODevice* device, CDataSetMeasurement* dataSet) = 0;
    virtual bool Deserialize(QIODevice* device, CDataSetMapping* dataSet) = 0;
};
