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

QByteArray Separator()
{
    return QByteArray(F::ColumnSeparator.data(), F::ColumnSeparator.size());
}

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
    QTextStream stream(device);
    stream.setCodec("UTF-8");
    SerializeDocumentHeader(stream, F::MeasurementDescription);
    SerializeBodyHeader(stream, dataSet);
    SerializeDatasetHeader(stream, dataSet);
    m_WriteFailed = false;
    SerializeDataset(stream, dataSet);
    stream.flush();
    return stream.status() == QTextStream::Ok && !m_WriteFailed;
}

bool CCSVResultsSerializer::Serialize(CDataSetMapping* dataSet, QIODevice* device)
{
    if (!dataSet || !device || dataSet->MeasureBlocks()->empty())
        return false;
    QTextStream stream(device);
    stream.setCodec("UTF-8");
    SerializeDocumentHeader(stream, F::MappingDescription);
    SerializeBodyHeader(stream, dataSet);
    SerializeDatasetHeader(stream, dataSet);
    m_WriteFailed = false;
    SerializeDataset(stream, dataSet);
    stream.flush();
    return stream.status() == QTextStream::Ok && !m_WriteFailed;
}

void CCSVResultsSerializer::l_WriteRows(QTextStream& stream, const QByteArray& rows)
{
    // The rows are the bulk of the file: they go out as the UTF-8 bytes they are made in,
    // not through the text stream's conversions.
    stream.flush();
    if (stream.device()->write(rows) != rows.size() || stream.device()->write("\n", 1) != 1)
        m_WriteFailed = true;
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
    stream << "Timestamp" << F::ColumnSeparator << QDateTime::currentDateTime().toString(F::DateTimeFormat)
           << '\n';
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

void CCSVResultsSerializer::SerializeDataset(QTextStream& stream, CDataSetMeasurement* dataSet)
{
    stream << F::Headings << '\n';
    const MeasureBlockQueue& blocks = *dataSet->MeasureBlocks();
    CBlockRowsBatches rows([&blocks](std::size_t i) { return blocks[i].data(); }, blocks.size(), Separator());
    for (std::size_t i = 0; i < blocks.size(); ++i)
        l_WriteRows(stream, rows.Rows(i));
    stream << '\n';
}

void CCSVResultsSerializer::SerializeDataset(QTextStream& stream, CDataSetMapping* dataSet)
{
    const MeasureBlockMappingQueue& blocks = *dataSet->MeasureBlocks();
    CBlockRowsBatches rows([&blocks](std::size_t i) { return blocks[i].data(); }, blocks.size(), Separator());
    for (std::size_t i = 0; i < blocks.size(); ++i)
    {
        const CMeasureBlockMapping* block = blocks[i].data();
        stream << "Position (x y z)" << F::ColumnSeparator
               << triple(block->Position.X(), block->Position.Y(), block->Position.Z()) << '\n';
        stream << "Orientation (roll pitch yaw)" << F::ColumnSeparator
               << triple(block->Orientation.Roll(), block->Orientation.Pitch(), block->Orientation.Yaw())
               << '\n';
        stream << F::Headings << '\n';
        l_WriteRows(stream, rows.Rows(i));
        stream << '\n';
    }
}
