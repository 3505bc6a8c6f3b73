#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

class QTextStream;

// `tesvana-cli list` and `measure`: the instruments of the loaded driver plug-ins,
// and a recording taken with the measurement operation and saved with the program's
// serializers. The measurement starts from the window's last measurement parameters
// (the defaults when there are none), changed by the options; the tool never writes
// the window's settings or parameter files.
class CMeasureCommand
{
public:
    struct Options
    {
        QString serial;
        QString unit;
        double rate = 0;   // 0: the instrument's default
        int blockSize = 0; // 0: the instrument's default
        QString trigger = QStringLiteral("continuous");
        double duration = -1; // seconds; negative: not given
        int blocks = -1;      // negative: not given
        QString limits;
        QString out;
        QString csv;
        bool json = false;
        bool progress = false; // a progress line on standard error
    };

    explicit CMeasureCommand(const QString& programFolder);

    // The instruments found, one object each (model, serial number, connection...).
    // False with the reason when no driver plug-in could be loaded.
    bool List(QList<QJsonObject>& instruments, QString* error);
    // 0 when the recording was saved, 1 when the instrument, a file or the run failed.
    int Measure(const Options& options, QJsonObject& summary, QString* error);

private:
    QString m_ProgramFolder;
};
