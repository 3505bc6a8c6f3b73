#pragma once

#include "app/XmlFile.h"
#include "model/COrientation.h"
#include "model/CPosition.h"

#include <QList>

class QIODevice;

// Reads a mapping file: the positions and orientations a mapping visits, in
// file order, and the bounding box of the positions (which always holds 0).
class MappingXmlFile : public XmlFile
{
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE setFileName NOTIFY FileNameChanged)
    Q_PROPERTY(QString FilePath READ FilePath WRITE setFilePath NOTIFY FilePathChanged)
    Q_PROPERTY(bool FileError READ FileError WRITE setFileError NOTIFY FileErrorChanged)
    Q_PROPERTY(bool FileLoaded READ FileLoaded WRITE setFileLoaded NOTIFY FileLoadedChanged)
    Q_PROPERTY(double PositionXMin READ PositionXMin WRITE setPositionXMin NOTIFY PositionXMinChanged)
    Q_PROPERTY(double PositionXMax READ PositionXMax WRITE setPositionXMax NOTIFY PositionXMaxChanged)
    Q_PROPERTY(double PositionYMin READ PositionYMin WRITE setPositionYMin NOTIFY PositionYMinChanged)
    Q_PROPERTY(double PositionYMax READ PositionYMax WRITE setPositionYMax NOTIFY PositionYMaxChanged)
    Q_PROPERTY(double PositionZMin READ PositionZMin WRITE setPositionZMin NOTIFY PositionZMinChanged)
    Q_PROPERTY(double PositionZMax READ PositionZMax WRITE setPositionZMax NOTIFY PositionZMaxChanged)
    Q_PROPERTY(QList<CPosition>* Positions READ Positions CONSTANT)
    Q_PROPERTY(QList<COrientation>* Orientations READ Orientations CONSTANT)
public:
    explicit MappingXmlFile(QObject* parent = nullptr);

    QString FileName() const { return m_FileName; }
    QString FilePath() const { return m_FilePath; }
    bool FileError() const { return m_FileError; }
    bool FileLoaded() const { return m_FileLoaded; }
    double PositionXMin() const { return m_PositionXMin; }
    double PositionXMax() const { return m_PositionXMax; }
    double PositionYMin() const { return m_PositionYMin; }
    double PositionYMax() const { return m_PositionYMax; }
    double PositionZMin() const { return m_PositionZMin; }
    double PositionZMax() const { return m_PositionZMax; }
    QList<CPosition>* Positions() { return &m_Positions; }
    QList<COrientation>* Orientations() { return &m_Orientations; }

    void setFileName(const QString& value);
    void setFilePath(const QString& value);
    void setFileError(bool value);
    void setFileLoaded(bool value);
    void setPositionXMin(double value);
    void setPositionXMax(double value);
    void setPositionYMin(double value);
    void setPositionYMax(double value);
    void setPositionZMin(double value);
    void setPositionZMax(double value);

    // Loads the file named by FilePath (the argument is that same path).
    Q_INVOKABLE void ReadFile(const QString& path);
    enum class ParseResult
    {
        Ok,
        NotValid,  // empty document, wrong root or version, or a stranger under the root
        Malformed, // the XML itself is broken
    };
    // Reads the points of a mapping document from `device` into the lists; what
    // was read before a fault stays. No dialog: ReadFile decides what to show.
    ParseResult ParseDevice(QIODevice* device, QString* errorText = nullptr);

    void ClearPreviousData();
    void AddPosition(double x, double y, double z);
    void AddOrientation(double roll, double pitch, double yaw);

signals:
    void FileNameChanged(QString value);
    void FilePathChanged(QString value);
    void FileErrorChanged(bool value);
    void FileLoadedChanged(bool value);
    void PositionXMinChanged(double value);
    void PositionXMaxChanged(double value);
    void PositionYMinChanged(double value);
    void PositionYMaxChanged(double value);
    void PositionZMinChanged(double value);
    void PositionZMaxChanged(double value);
    void Loaded();

private:
    QString m_FileName;
    bool m_FileError = false;
    bool m_FileLoaded = false;
    double m_PositionXMin = 0;
    double m_PositionXMax = 0;
    double m_PositionYMin = 0;
    double m_PositionYMax = 0;
    double m_PositionZMin = 0;
    double m_PositionZMax = 0;
    QList<CPosition> m_Positions;
    QList<COrientation> m_Orientations;
};

Q_DECLARE_METATYPE(QList<CPosition>*)
Q_DECLARE_METATYPE(QList<COrientation>*)
