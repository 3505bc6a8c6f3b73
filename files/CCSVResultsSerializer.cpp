#include "files/CCSVResultsSerializer.h"

#include "app/CConstants.h"
#include "files/ResultsFileFormat.h"
#include "model/CBlockRowsBatches.h"
#include "model/CDataSetMapping.h"
#include "model/CDataSetMeasurement.h"
#include "model/CNumberText.h"

#include <QDateTime>
#include <QTextStream>

namespace
{
namespace F = ResultsFileFormat;

QString triple(double a, double b, double c)
{
    QString text;
    CNumberText::AppendG6(text, a);
    text += F::ColumnSeparator;
    CNumberText::AppendG6(text, b);
    text += F::ColumnSeparator;
    CNumberText::AppendG6(text, c);
    return text;
}
} // namespace

CCSVResultsSerializer::CCSVResultsSerializer(QObject* parent) : CResultsSerializer(parent) {}

bool CCSVResultsSerializer::Serialize(CDataSetMeasurement* dataSet, QIODevice* device)
{
    if (!dataSet || !device || dataSet->MeasureBlocks()->empty())
        return false;
    Begin(dataSet, false, device);
    SerializeDataset(*m_Stream, dataSet);
    return End();
}

bool CCSVResultsSerializer::Serialize(CDataSetMapping* dataSet, QIODevice* device)
{
    if (!dataSet || !device || dataSet->MeasureBlocks()->empty())
        return false;
    Begin(dataSet, true, device);
    SerializeDataset(*m_Stream, dataSet);
    return End();
}

void CCSVResultsSerializer::Begin(CDataset* dataSet, bool mapping, QIODevice* device)
{
    m_Stream = std::make_unique<QTextStream>(device);
    m_Stream->setCodec("UTF-8");
    m_Mapping = mapping;
    m_WriteFailed = false;
    SerializeDocumentHeader(*m_Stream, mapping ? F::MappingDescription : F::MeasurementDescription);
    SerializeBodyHeader(*m_Stream, dataSet);
    SerializeDatasetHeader(*m_Stream, dataSet);
    if (!mapping)
        *m_Stream << F::Headings << '\n';
}

void CCSVResultsSerializer::Add(const CMeasureBlock& block, const QByteArray& rows)
{
    QTextStream& stream = *m_Stream;
    if (m_Mapping)
    {
        const auto* mapping = qobject_cast<const CMeasureBlockMapping*>(&block);
        const CPosition position = mapping ? mapping->Position : CPosition();
        stream << "Position (x y z)" << F::ColumnSeparator << triple(position.X(), position.Y(), position.Z())
               << '\n';
        stream << "Orientation (roll pitch yaw)" << F::ColumnSeparator
               << (mapping ? triple(mapping->Orientation.Roll(), mapping->Orientation.Pitch(),
                                    mapping->Orientation.Yaw())
                           : triple(0, 0, 0))
               << '\n';
        stream << F::Headings << '\n';
    }
    // The rows are the bulk of the file: they go out as the UTF-8 bytes they are made in,
    // not through the text stream's conversions.
    stream.flush();
    if (stream.device()->write(rows) != rows.size() || stream.device()->write("\n", 1) != 1)
        m_WriteFailed = true;
    if (m_Mapping)
        stream << '\n';
}

bool CCSVResultsSerializer::End()
{
    if (!m_Stream)
        return false;
    if (!m_Mapping)
        *m_Stream << '\n';
    m_Stream->flush();
    const bool written = m_Stream->status() == QTextStream::Ok && !m_WriteFailed;
    m_Stream.reset();
    return written;
}

bool CCSVResultsSerializer::Deserialize(QIODevice*, CDataSetMeasurement*)
{
    return false;
}

bool CCSVResultsSerializer::Deserialize(QIODevice*, CDataSetMapping*)
{
    return false;
}

void CCSVResultsSerializer::SerializeDocumentHeader(QTextStream& stream, const QString& description)
{
    stream << "Source" << F::ColumnSeparator << CConstants::SoftwareName << '\n';
    stream << "Timestamp" << F::ColumnSeparator
           << CNumberText::DateTime(QDateTime::currentDateTime(), F::DateTimeFormat) << '\n';
    stream << "Description" << F::ColumnSeparator << description << '\n';
    stream << '\n';
}

void CCSVResultsSerializer::SerializeBodyHeader(QTextStream& stream, CDataset* dataSet)
{
    stream << "Type" << F::ColumnSeparator << F::BodyType << '\n';
    stream << "Version" << F::ColumnSeparator << "1.0" << '\n';
    stream << "Comment" << F::ColumnSeparator << dataSet->Comment() << '\n';
    stream << "Instrument" << F::ColumnSeparator << dataSet->InstrumentName() << '\n';
    stream << '\n';
}

void CCSVResultsSerializer::SerializeDatasetHeader(QTextStream& stream, CDataset* dataSet)
{
    const CMeasurementParameters defaults;
    const CMeasurementParameters* parameters = dataSet->MeasurementParameters();
    stream << "Parameters" << F::ColumnSeparator
           << (parameters ? parameters : &defaults)->ToString(F::ColumnSeparator) << '\n';
    stream << '\n';
}

void CCSVResultsSerializer::SerializeDataset(QTextStream&, CDataSetMeasurement* dataSet)
{
    const MeasureBlockQueue& blocks = *dataSet->MeasureBlocks();
    CBlockRowsBatches rows = CBlockRowsBatches::Of(blocks, F::ColumnSeparatorBytes());
    for (std::size_t i = 0; i < blocks.size(); ++i)
        Add(*blocks[i], rows.Rows(i));
}

void CCSVResultsSerializer::SerializeDataset(QTextStream&, CDataSetMapping* dataSet)
{
    const MeasureBlockMappingQueue& blocks = *dataSet->MeasureBlocks();
    CBlockRowsBatches rows = CBlockRowsBatches::Of(blocks, F::ColumnSeparatorBytes());
    for (std::size_t i = 0; i < blocks.size(); ++i)
        Add(*blocks[i], rows.Rows(i));
}
