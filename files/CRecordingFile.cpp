#include "files/CRecordingFile.h"

#include "files/CHdf5ResultsFile.h"
#include "files/CXMLResultsSerializer.h"
#include "model/CMeasureBlockMapping.h"

#include <QCoreApplication>
#include <QFile>

CRecordingFile::CRecordingFile(CSettings& settings) : m_Settings(settings) {}

CRecordingFile::~CRecordingFile() = default;

bool CRecordingFile::Load(const QString& path,
                          const std::function<void(const QSharedPointer<CMeasureBlock>&)>& blockRead)
{
    m_Path = path;
    m_Error.clear();
    m_Blocks.clear();
    m_Samples = 0;
    m_Measurement = std::make_unique<CDataSetMeasurement>(m_Settings);
    m_Mapping.reset();
    m_Kind = Kind::Measurement;
    if (CHdf5ResultsFile::IsHdf5(path))
        return l_LoadHdf5(path, blockRead);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        m_Error =
            QCoreApplication::translate("CRecordingFile", "cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    // With a handler, the samples are counted as each block is handed on: the handler
    // may let a block's samples go (a conversion writing on another thread does).
    std::function<void(const QSharedPointer<CMeasureBlock>&)> counted;
    if (blockRead)
        counted = [this, &blockRead](const QSharedPointer<CMeasureBlock>& block) {
            m_Samples += qulonglong(block->Results.size());
            blockRead(block);
        };
    CXMLResultsSerializer reader;
    reader.setBlockRead(counted);
    bool loaded = reader.Deserialize(&file, m_Measurement.get());
    m_Notice = reader.CutShortNotice();
    // The kind is told by the data set element, met before any block: a second read costs nothing.
    if (!loaded && reader.LastErrorMessage().startsWith(QLatin1String("The file does not contain a dataset")))
    {
        m_Measurement.reset();
        m_Mapping = std::make_unique<CDataSetMapping>(m_Settings);
        m_Kind = Kind::Mapping;
        file.seek(0);
        m_Samples = 0;
        CXMLResultsSerializer mappingReader;
        mappingReader.setBlockRead(counted);
        loaded = mappingReader.Deserialize(&file, m_Mapping.get());
        m_Notice = mappingReader.CutShortNotice();
        if (!loaded)
            m_Error = mappingReader.LastErrorMessage();
    }
    else if (!loaded)
        m_Error = reader.LastErrorMessage();
    if (!l_Finish(loaded))
        return false;
    if (!blockRead)
        for (const CMeasureBlock* block : m_Blocks)
            m_Samples += qulonglong(block->Results.size());
    return true;
}

bool CRecordingFile::l_Finish(bool loaded)
{
    if (!loaded)
    {
        if (m_Error.isEmpty())
            m_Error = QCoreApplication::translate("CRecordingFile", "not a results file");
        m_Error = m_Path + QStringLiteral(": ") + m_Error;
        m_Measurement = std::make_unique<CDataSetMeasurement>(m_Settings);
        m_Mapping.reset();
        m_Kind = Kind::Measurement;
        return false;
    }
    if (m_Mapping)
        for (const auto& block : *m_Mapping->MeasureBlocks())
            m_Blocks.push_back(block.data());
    else
        for (const auto& block : *m_Measurement->MeasureBlocks())
            m_Blocks.push_back(block.data());
    return true;
}

bool CRecordingFile::l_LoadHdf5(const QString& path,
                                const std::function<void(const QSharedPointer<CMeasureBlock>&)>& blockRead)
{
    const QString kind = CHdf5ResultsFile::Kind(path, &m_Error);
    // With a handler, the samples are counted as each block is handed on (it may let them go).
    const CHdf5ResultsFile::BlockRead counted = [this,
                                                 &blockRead](const QSharedPointer<CMeasureBlock>& block) {
        m_Samples += qulonglong(block->Results.size());
        if (blockRead)
            blockRead(block);
    };
    bool loaded = false;
    if (kind == QLatin1String("mapping"))
    {
        m_Measurement.reset();
        m_Mapping = std::make_unique<CDataSetMapping>(m_Settings);
        m_Kind = Kind::Mapping;
        loaded = CHdf5ResultsFile::Read(path, *m_Mapping, &m_Error, counted);
    }
    else if (!kind.isEmpty())
        loaded = CHdf5ResultsFile::Read(path, *m_Measurement, &m_Error, counted);
    return l_Finish(loaded);
}

QString CRecordingFile::KindName() const
{
    return m_Kind == Kind::Mapping ? QStringLiteral("mapping") : QStringLiteral("measurement");
}

CDataset* CRecordingFile::DataSet() const
{
    return m_Mapping ? static_cast<CDataset*>(m_Mapping.get()) : m_Measurement.get();
}

const CMeasureBlockMapping* CRecordingFile::MappingBlock(std::size_t index) const
{
    if (!m_Mapping || index >= m_Mapping->MeasureBlocks()->size())
        return nullptr;
    return m_Mapping->MeasureBlocks()->at(index).data();
}
