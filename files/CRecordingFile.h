#pragma once

#include "model/CDataSetMapping.h"
#include "model/CDataSetMeasurement.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CSettings;

// A results file of either kind (measurement or mapping), XML or the program's HDF5,
// read into the program's own data set, for the command-line tool's analyses.
class CRecordingFile
{
public:
    enum class Kind
    {
        Measurement,
        Mapping
    };

    explicit CRecordingFile(CSettings& settings);
    ~CRecordingFile();

    // False with ErrorText() when the file cannot be opened or read; the data set is then empty.
    // `blockRead` is called with each block as soon as it is read (see CXMLResultsSerializer).
    bool Load(const QString& path,
              const std::function<void(const QSharedPointer<CMeasureBlock>&)>& blockRead = {});
    QString ErrorText() const { return m_Error; }
    // After a load: empty, or what a file that ended early lost (its complete blocks loaded).
    QString Notice() const { return m_Notice; }
    QString Path() const { return m_Path; }

    Kind FileKind() const { return m_Kind; }
    QString KindName() const;
    CDataset* DataSet() const;
    CDataSetMeasurement* Measurement() const { return m_Measurement.get(); }
    CDataSetMapping* Mapping() const { return m_Mapping.get(); }
    // The blocks in file order, of either kind.
    const std::vector<const CMeasureBlock*>& Blocks() const { return m_Blocks; }
    // The position of block `index` of a mapping; null for a measurement.
    const CMeasureBlockMapping* MappingBlock(std::size_t index) const;
    qulonglong SampleCount() const { return m_Samples; }

private:
    // After a read: on failure the error says which file and the data set is left empty;
    // on success the blocks are listed. Returns `loaded`.
    bool l_Finish(bool loaded);
    // An HDF5 file written by the program, a stretch of blocks at a time.
    bool l_LoadHdf5(const QString& path,
                    const std::function<void(const QSharedPointer<CMeasureBlock>&)>& blockRead);

    CSettings& m_Settings;
    Kind m_Kind = Kind::Measurement;
    std::unique_ptr<CDataSetMeasurement> m_Measurement;
    std::unique_ptr<CDataSetMapping> m_Mapping;
    std::vector<const CMeasureBlock*> m_Blocks;
    qulonglong m_Samples = 0;
    QString m_Path;
    QString m_Error;
    QString m_Notice;
};
