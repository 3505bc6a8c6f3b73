#pragma once

#include <QByteArray>
#include <QSharedPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CDataset;
class CDataSetMapping;
class CDataSetMeasurement;
class CMeasureBlock;

// A recording as an HDF5 file, for analysis in Python, MATLAB or Origin without parsing
// XML. One group per data set ("measurement" or "mapping") holds one row per sample:
// "timestamp" (int64, nanoseconds since the epoch, UTC) and float64 columns "B",
// "BBprime", "Bx", "By", "Bz", "temperature" and "dB", chunked and deflated; the group
// "blocks" holds, per block, "first_sample" (int64), "comment" (string) and for maps
// "position" and "orientation" (float64, three columns). The data set group's attributes
// give the parameters (the whole text and each one), the unit, the instrument, the comment,
// the date and the program. Reading gives back every sample exactly (values as measured,
// in single precision).
class CHdf5ResultsFile
{
public:
    // True when the file starts with the HDF5 signature.
    static bool IsHdf5(const QString& path);

    // Writes the data set to `path` whole or not at all; false with the reason.
    static bool Write(CDataSetMeasurement& dataSet, const QString& path, QString* error);
    static bool Write(CDataSetMapping& dataSet, const QString& path, QString* error);

    // The file written a block at a time, for a recording larger than memory: Begin once
    // the data set's header values are in, Add each block in order (its samples may go
    // after), End to put the file in place. A writer not ended leaves nothing behind.
    class Writer
    {
    public:
        Writer();
        ~Writer();
        Writer(const Writer&) = delete;
        Writer& operator=(const Writer&) = delete;
        bool Begin(const QString& path, CDataset& dataSet, bool mapping, QString* error);
        bool Add(const CMeasureBlock& block);
        bool End(QString* error);

    private:
        struct Open;
        bool l_FlushRows();
        bool l_FlushBlocks();
        void l_Close();

        QString m_Path, m_Partial;
        bool m_Mapping = false;
        bool m_Failed = false;
        std::unique_ptr<Open> m_pOpen;
        unsigned long long m_Rows = 0, m_Blocks = 0;
        std::vector<qint64> m_Times, m_Firsts;
        std::vector<std::vector<double>> m_Values;
        std::vector<QByteArray> m_Comments;
        std::vector<double> m_Positions, m_Orientations;
    };
    // The kind of data set the file holds: "measurement", "mapping", or empty (with the
    // reason) when it is no recording of this program.
    static QString Kind(const QString& path, QString* error);
    // Reads the file into an empty data set of its kind, a stretch of blocks at a time;
    // false with the reason. `blockRead` is given each block once read (it may let the
    // block's samples go: a file larger than memory then passes through).
    using BlockRead = std::function<void(const QSharedPointer<CMeasureBlock>&)>;
    static bool Read(const QString& path, CDataSetMeasurement& dataSet, QString* error,
                     const BlockRead& blockRead = {});
    static bool Read(const QString& path, CDataSetMapping& dataSet, QString* error,
                     const BlockRead& blockRead = {});
};
