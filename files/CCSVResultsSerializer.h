#pragma once

#include "files/CResultsSerializer.h"

#include <QByteArray>
#include <QString>

class CDataset;
class QTextStream;

// Semicolon-separated export of a recording for spreadsheets; it cannot be read back.
class CCSVResultsSerializer : public CResultsSerializer
{
    Q_OBJECT
public:
    explicit CCSVResultsSerializer(QObject* parent = nullptr);

    bool Serialize(CDataSetMeasurement* dataSet, QIODevice* device) override;
    bool Serialize(CDataSetMapping* dataSet, QIODevice* device) override;
    bool Deserialize(QIODevice* device, CDataSetMeasurement* dataSet) override;
    bool Deserialize(QIODevice* device, CDataSetMapping* dataSet) override;

private:
    void SerializeDocumentHeader(QTextStream& stream, const QString& description);
    void SerializeBodyHeader(QTextStream& stream, CDataset* dataSet);
    void SerializeDatasetHeader(QTextStream& stream, CDataset* dataSet);
    void SerializeDataset(QTextStream& stream, CDataSetMeasurement* dataSet);
    void SerializeDataset(QTextStream& stream, CDataSetMapping* dataSet);
    void l_WriteRows(QTextStream& stream, const QByteArray& rows);

    bool m_WriteFailed = false;
};
