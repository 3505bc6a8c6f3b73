#pragma once

#include "compute/CExposureAssessment.h"
#include "compute/CExposureWindow.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

class CRecordingFile;
class CRecordingSummary;
class LimitsXmlFile;
class CMeasureBlock;

// What the command-line tool tells of a results file, each analysis as one JSON
// object: the machine output as it stands, and the source of the text for people.
// The computations are the program's own (field statistics, spectrum, figure of merit).
class CRecordingAnalysis
{
public:
    // Kind, instrument, date, units, blocks, samples, time span, comment: of a file summed
    // up as it was read (LoadSummary).
    static QJsonObject Info(const CRecordingFile& file, const CRecordingSummary& summary);
    // RMS, peak-to-peak, standard deviation, minimum and maximum of each quantity, over
    // the whole recording and, when the summary kept them, of each block.
    static QJsonObject Stats(const CRecordingFile& file, const CRecordingSummary& summary);
    // Loads `path` into `file` summing up each block as it is read, then letting its
    // samples go: info and stats of a file larger than memory.
    static bool LoadSummary(CRecordingFile& file, const QString& path, CRecordingSummary& summary,
                            QString* error);
    // The spectral peaks of one quantity of block `block` (negative: counted from the end).
    static QJsonObject Spectrum(const CRecordingFile& file, const QString& component, int block,
                                double thresholdDb, QString* error);
    // The band table (RMS of each quantity per band of the limits) and the exposure indices of a block.
    static QJsonObject Ac(const CRecordingFile& file, const LimitsXmlFile& limits, int block, QString* error);
    // The exposure indices of every block against a standard's curve (`limits` unused)
    // or a limits file (`standard` None): the largest summation index and weighted peak
    // index (a standard's only) and the block of each; with `perBlock`, every block's.
    static QJsonObject Exposure(const CRecordingFile& file, KVL::CExposureAssessment::Standard standard,
                                const LimitsXmlFile* limits, bool perBlock, QString* error);
    // Loads `path` into `file` writing its results as JSON meanwhile (one object per block,
    // then what the file tells as `info` does), each block let go once written; atomically.
    static bool LoadAsJson(CRecordingFile& file, const QString& path, const QString& outPath, QString* error);
    // Loads `path` into `file` and writes its results as the program's CSV meanwhile: each
    // block is written on a second thread as soon as it is read, so the conversion costs
    // little more than the reading, and its samples are let go once written (the blocks of
    // `file` are left empty), so memory is reused and a file larger than the memory
    // converts. Written atomically: nothing is left of a failed one.
    static bool LoadAsCsv(CRecordingFile& file, const QString& path, const QString& outPath, QString* error);
    // The same for HDF5, and for the program's XML results file (from HDF5): each block
    // written as it is read, then let go.
    static bool LoadAsHdf5(CRecordingFile& file, const QString& path, const QString& outPath, QString* error);
    static bool LoadAsXml(CRecordingFile& file, const QString& path, const QString& outPath, QString* error);

    // Loads `path` into `file` keeping the samples of block `block` only (negative: counted
    // from the end): the spectrum or band table of one block of a file larger than memory.
    static bool LoadKeeping(CRecordingFile& file, const QString& path, int block, QString* error);

    // The exposure assessment of a recording a block at a time, as the file is read: Start
    // once the file's parameters are in (at its first block), Add each block in order,
    // Finish for the result (empty with the reason in `error`).
    class ExposureRun
    {
    public:
        ExposureRun(KVL::CExposureAssessment::Standard standard, bool perBlock);
        bool Started() const { return m_Started; }
        void Start(const CRecordingFile& file, const LimitsXmlFile* limits);
        void Add(const CMeasureBlock& block);
        QJsonObject Finish(const CRecordingFile& file, QString* error);

    private:
        void l_Assess(int index);

        KVL::CExposureAssessment::Standard m_Standard;
        bool m_PerBlock;
        KVL::CExposureAssessment m_Assessment;
        KVL::CExposureWindow m_Window;
        bool m_Started = false;
        bool m_Ready = false;
        QString m_Error;
        double m_Rate = 0;
        int m_Count = 0;
        bool m_Pending = false;
        bool m_AnyFinite = false;
        int m_LargestSummation = -1, m_LargestPeak = -1;
        KVL::CExposureAssessment::Result m_AtSummation, m_AtPeak;
        QJsonArray m_Blocks;
    };

    // "B", "B.B'", "Bx", "By", "Bz": their index, or -1.
    static int ComponentIndex(const QString& name);
    static QString ComponentName(int index);
};
