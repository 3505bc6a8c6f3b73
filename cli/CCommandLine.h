#pragma once

#include "compute/CExposureAssessment.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <functional>

class QCommandLineParser;
class QTextStream;
class CRecordingFile;

// The commands of tesvana-cli: reads the arguments, runs the command, writes the
// result for people or (with --json) for machines. Exit status: 0 success, 1 a
// file or the instrument failed, 2 bad usage; every failure one line on stderr.
class CCommandLine
{
public:
    enum Status
    {
        Success = 0,
        Failed = 1,
        Usage = 2
    };

    // `programFolder`: where the plug-ins are looked for, as the program does.
    CCommandLine(const QString& programFolder, QTextStream& out, QTextStream& err);

    // The arguments after the program's name.
    int Run(const QStringList& arguments);

private:
    // An analysis of a loaded file: false with the reason.
    using FileAction = std::function<bool(const CRecordingFile& file, QJsonObject& result, QString* error)>;
    // Reads a file into `file`: false with the reason (the file's own load unless given).
    using FileLoader = std::function<bool(CRecordingFile& file, const QString& path, QString* error)>;

    int l_List(const QStringList& arguments);
    int l_Measure(const QStringList& arguments);
    int l_Info(const QStringList& arguments);
    int l_Stats(const QStringList& arguments);
    int l_Spectrum(const QStringList& arguments);
    int l_Ac(const QStringList& arguments);
    int l_Exposure(const QStringList& arguments);
    int l_Convert(const QStringList& arguments);
    int l_Report(const QStringList& arguments);

    // Parses a command's options; Usage (after the message) or -1 to go on; 0 after --help.
    int l_Parse(QCommandLineParser& parser, const QStringList& arguments, const QString& command,
                const QString& synopsis, const QString& description);
    // Every file given, folders opened to their results files (sorted); empty: a usage error was told.
    QStringList l_Files(const QStringList& inputs);
    // Loads each file of `inputs` and runs `action` on it, one failure not stopping the
    // others, and writes the results.
    int l_ForEachFile(const QStringList& inputs, bool json, const FileAction& action,
                      const std::function<void(const QJsonObject&)>& print, const FileLoader& load = {});
    // --standard NAME or --limits FILE, exactly one: the standard, or (None) the limits
    // file's text. -1 to go on, else the exit status after the message.
    int l_Limits(const QCommandLineParser& parser, const QString& command,
                 KVL::CExposureAssessment::Standard& standard, QByteArray& limitsText);
    // A limits file's text, when the program can use it; otherwise false after the reason.
    bool l_ReadLimits(const QString& path, QByteArray& text);
    int l_UsageError(const QString& message);
    void l_Error(const QString& message);
    void l_PrintJson(const QJsonValue& value);
    QString l_Usage() const;

    QString m_ProgramFolder;
    QTextStream& m_Out;
    QTextStream& m_Err;
};
