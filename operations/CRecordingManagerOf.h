#pragma once

#include "files/CHdf5ResultsFile.h"
#include "files/ResultsFileFormat.h"
#include "model/CDataSetMapping.h"
#include "operations/CRecordingManager.h"

#include <QFile>
#include <type_traits>

#include <QSharedPointer>

// What both recorders do alike with their own kind of data set: hold it, reach its
// blocks, add one, and write and read it through the results serializers.
template <typename TDataSet> class CRecordingManagerOf : public CRecordingManager
{
public:
    TDataSet* DataSet() { return &m_DataSet; }
    CDataset* BaseDataSet() override { return &m_DataSet; }

protected:
    CRecordingManagerOf(CSettings& settings, QObject* parent)
        : CRecordingManager(settings, parent), m_DataSet(settings)
    {
    }

    template <typename Block> void l_Add(const QSharedPointer<Block>& block)
    {
        if (!block)
            return;
        l_BeforeBlockAdded(*block);
        m_DataSet.AddMeasureBlock(block);
        if (IsRecording())
            l_StreamBlock(block);
        l_AfterBlockAdded();
    }
    bool l_SerializeXml(QIODevice* device) override
    {
        return m_XMLResultsSerializer.Serialize(&m_DataSet, device);
    }
    bool l_SerializeCsv(QIODevice* device) override
    {
        return m_CSVResultsSerializer.Serialize(&m_DataSet, device);
    }
    bool l_Deserialize(QIODevice* device) override
    {
        return m_XMLResultsSerializer.Deserialize(device, &m_DataSet);
    }
    QByteArray l_StreamHead() override { return CXMLResultsSerializer::Head(&m_DataSet); }
    bool l_CsvFromFile(const QString& path, QIODevice* device) override
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        TDataSet read(m_Settings);
        CXMLResultsSerializer reader;
        CCSVResultsSerializer csv;
        bool begun = false;
        QByteArray rows;
        reader.setBlockRead([&](const QSharedPointer<CMeasureBlock>& block) {
            if (!begun)
                csv.Begin(&read, std::is_same<TDataSet, CDataSetMapping>::value, device);
            begun = true;
            rows.resize(0);
            block->AppendRows(rows, ResultsFileFormat::ColumnSeparatorBytes());
            csv.Add(*block, rows);
            // Written: a file larger than memory passes through a block at a time.
            block->Results = {};
        });
        return reader.Deserialize(&file, &read) && begun && csv.End();
    }
    bool l_Hdf5(const QString& file, const QString& path, QString* error) override
    {
        if (file.isEmpty())
            return CHdf5ResultsFile::Write(m_DataSet, path, error);
        // The whole recording, which memory may hold only a part of: a block at a time.
        QFile results(file);
        TDataSet read(m_Settings);
        CXMLResultsSerializer reader;
        CHdf5ResultsFile::Writer writer;
        bool begun = false, written = true;
        QString why;
        reader.setBlockRead([&](const QSharedPointer<CMeasureBlock>& block) {
            if (!begun && written)
                written = begun =
                    writer.Begin(path, read, std::is_same<TDataSet, CDataSetMapping>::value, &why);
            if (written)
                written = writer.Add(*block);
            block->Results = {};
        });
        if (!results.open(QIODevice::ReadOnly) || !reader.Deserialize(&results, &read))
        {
            if (error)
                *error = QObject::tr("cannot read %1: %2").arg(file, reader.LastErrorMessage());
            return false; // the writer not ended leaves nothing behind
        }
        if (!begun)
            return CHdf5ResultsFile::Write(read, path, error);
        if (!writer.End(&why) || !written)
        {
            if (error)
                *error = why;
            return false;
        }
        return true;
    }
    int l_BlockCount() const override { return int(m_DataSet.MeasureBlocks()->size()); }
    const CMeasureBlock* l_BlockAt(int index) const override
    {
        // The data set holds the recording from its block m_WindowFirst on.
        index -= m_WindowFirst;
        if (index < 0 || index >= l_BlockCount())
            return nullptr;
        return m_DataSet.MeasureBlocks()->at(std::size_t(index)).data();
    }

    TDataSet m_DataSet;
};
