#pragma once

#include "files/CResultsSerializer.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>

#include <memory>

class CDataset;
class CMeasureBlock;
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

    // Writing a block at a time, for a recording still being read: Begin writes the
    // headers (the data set's header values must be in), Add each block with its rows
    // (CMeasureBlock::AppendRows), End the rest; false from End when a write failed.
    // Serialize is the three at once.
    void Begin(CDataset* dataSet, bool mapping, QIODevice* device);
    void Add(const CMeasureBlock& block, const QByteArray& rows);
    bool End();

private:
    void SerializeDocumentHeader(QTextStream& stream, const QString& description);
    void SerializeBodyHeader(QTextStream& stream, CDataset* dataSet);
    void SerializeDatasetHeader(QTextStream& stream, CDataset* dataSet);
    void SerializeDataset(QTextStream& stream, CDataSetMeasurement* dataSet);
    void SerializeDataset(QTextStream& stream, CDataSetMapping* dataSet);

    std::unique_ptr<QTextStream> m_Stream;
    bool m_Mapping = false;
    bool m_WriteFailed = false;
};
