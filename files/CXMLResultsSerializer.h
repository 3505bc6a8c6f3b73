#pragma once

#include "files/CFluxParsingThread.h"
#include "files/CResultsSerializer.h"

#include <QDateTime>
#include <QSharedPointer>
#include <QString>

#include <functional>
#include <memory>

class CDataset;
class CMeasureBlock;
class CMeasureBlockMapping;
class QXmlStreamReader;
class QXmlStreamWriter;

// The XML results file of a measurement or mapping recording. Reading streams
// through the document; it never builds a tree of the whole file.
class CXMLResultsSerializer : public CResultsSerializer
{
    Q_OBJECT
public:
    explicit CXMLResultsSerializer(QObject* parent = nullptr);

    bool Serialize(CDataSetMeasurement* dataSet, QIODevice* device) override;
    bool Serialize(CDataSetMapping* dataSet, QIODevice* device) override;
    bool Deserialize(QIODevice* device, CDataSetMeasurement* dataSet) override;
    bool Deserialize(QIODevice* device, CDataSetMapping* dataSet) override;

    // A results file in pieces, for a file written as it is measured: the head (up to the
    // data set's parameters, its elements left open), one measurements element per block
    // (`rows` as CMeasureBlock::AppendRows gives them, with the file's separator), and
    // the tail that closes the file. Head, blocks and tail are a whole-file save's bytes.
    static QByteArray Head(CDataSetMeasurement* dataSet);
    static QByteArray Head(CDataSetMapping* dataSet);
    static bool WriteBlock(QIODevice& device, const CMeasureBlock& block, const QByteArray& rows);
    static QByteArray Tail();

    QString LastErrorMessage() const { return m_LastErrorMessage; }
    // After a read that succeeded: empty, or what a file that ended early lost.
    QString CutShortNotice() const { return m_CutShortNotice; }
    // Called with each block as soon as it is read whole, while the rest of the file is
    // still being read (the data set's header values are all in by then).
    void setBlockRead(std::function<void(const QSharedPointer<CMeasureBlock>&)> handler)
    {
        m_BlockRead = std::move(handler);
    }
    int ResultsCounter() const { return m_ResultsCounter; }
    QString DatasetVersion() const { return m_DatasetVersion; }

    // The parameters element's text (as CMeasurementParameters::ToString writes it) made
    // the data set's parameters, as a file's are read.
    static void ApplyParametersText(CDataset* dataSet, const QString& text);

    static QDateTime StringToTimestamp(const QString& text);
    static quint64 StringToTimestampNanosecond(const QString& text);

private:
    template <typename DataSet>
    bool l_Serialize(DataSet* dataSet, QIODevice* device, const QString& description);
    template <typename DataSet> static QByteArray l_Head(DataSet* dataSet, const QString& description);
    static void SerializeDocumentHeader(QXmlStreamWriter& writer, const QString& description);
    static void SerializeBodyHeader(QXmlStreamWriter& writer, CDataset* dataSet);
    static void SerializeDatasetHeader(QXmlStreamWriter& writer, CDataSetMeasurement* dataSet);
    static void SerializeDatasetHeader(QXmlStreamWriter& writer, CDataSetMapping* dataSet);
    static void l_SerializeDatasetHeader(QXmlStreamWriter& writer, CDataset* dataSet, const QString& type);

    template <typename DataSet>
    bool l_Deserialize(QIODevice* device, DataSet* dataSet, const QString& notValid);
    void DeSerializeHeader(CDataset* dataSet, QXmlStreamReader& reader);
    bool DeSerializeDataset(CDataSetMeasurement* dataSet, QXmlStreamReader& reader);
    bool DeSerializeDataset(CDataSetMapping* dataSet, QXmlStreamReader& reader);
    template <typename DataSet>
    bool l_DeSerializeDataset(DataSet* dataSet, QXmlStreamReader& reader, const QString& type);
    void FillMeasurementParameters(CDataset* dataSet, const QString& text);
    bool DeSerializeMeasurements(CMeasureBlock* block, QXmlStreamReader& reader, const QString& separator);
    bool DeSerializeMeasurements(CMeasureBlockMapping* block, QXmlStreamReader& reader,
                                 const QString& separator);
    void DeSerializeMeasurement(CMeasureBlock* block, const QString& separator, QXmlStreamReader& reader);
    // A reader error ends every loop like a closing element; it must not pass for success.
    bool l_FailOnReaderError(const QXmlStreamReader& reader);

    QString m_LastErrorMessage;
    QString m_CutShortNotice;
    std::function<void(const QSharedPointer<CMeasureBlock>&)> m_BlockRead;
    int m_ResultsCounter = 0;
    QString m_DatasetVersion;
    QString m_FluxText;
    // While a data set is read: the thread parsing its large flux texts, and how many
    // texts it was given.
    std::unique_ptr<CFluxParsingThread> m_pParsing;
    int m_BlocksGivenToParse = 0;
    // Blocks of the data set read whole.
    int m_BlocksRead = 0;
};
