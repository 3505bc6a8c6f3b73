#pragma once

#include <QObject>
#include <QStringList>

class COperationMapping;
class CMapperPositionSourceCartesian;

// The mapping page's mapper and source panel: which mapper moves the probe, and
// whether the positions come from a Cartesian grid or a mapping file.
class CMappingParametersViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList Mappers READ Mappers NOTIFY MappersChanged)
    Q_PROPERTY(int SelectedMapperIndex READ SelectedMapperIndex WRITE setSelectedMapperIndex NOTIFY
                   SelectedMapperIndexChanged)
    Q_PROPERTY(QStringList Sources READ Sources CONSTANT)
    Q_PROPERTY(int SelectedSourceIndex READ SelectedSourceIndex WRITE setSelectedSourceIndex NOTIFY
                   SelectedSourceIndexChanged)
    Q_PROPERTY(bool IsCartesianSource READ IsCartesianSource NOTIFY IsCartesianSourceChanged)
    Q_PROPERTY(bool IsMapperOnTheFly READ IsMapperOnTheFly NOTIFY IsMapperOnTheFlyChanged)
    // The mapping file's name and points, or why it could not be read.
    Q_PROPERTY(QString MappingFileText READ MappingFileText NOTIFY MappingFileTextChanged)
    // The grid's axes as they stand (start, stop, step), and why the last entry was refused.
    Q_PROPERTY(CMapperPositionSourceCartesian* Grid READ Grid CONSTANT)
    Q_PROPERTY(QString InputError READ InputError NOTIFY InputErrorChanged)
    // How many points the grid has, and that it will be cut when it is too large.
    Q_PROPERTY(QString GridText READ GridText NOTIFY GridTextChanged)

public:
    // The finest step the grid source takes.
    static constexpr double MinimumStep = 0.001;

    explicit CMappingParametersViewModel(COperationMapping* operation, QObject* parent = nullptr);

    QStringList Mappers() const { return m_Mappers; }
    int SelectedMapperIndex() const { return m_SelectedMapperIndex; }
    QStringList Sources() const { return {tr("Cartesian"), tr("File")}; }
    int SelectedSourceIndex() const { return m_SelectedSourceIndex; }
    bool IsCartesianSource() const { return m_IsCartesianSource; }
    bool IsMapperOnTheFly() const { return m_IsMapperOnTheFly; }
    QString MappingFileText() const { return m_MappingFileText; }
    CMapperPositionSourceCartesian* Grid() const;
    QString InputError() const { return m_InputError; }
    QString GridText() const;
    // Points of the grid as it stands (start to stop by step on each axis).
    static double GridPointCount(double xStart, double xStop, double xStep, double yStart, double yStop,
                                 double yStep, double zStart, double zStop, double zStep);
    void setSelectedMapperIndex(int value);
    void setSelectedSourceIndex(int value);

    // A mapping file chosen in the file dialog.
    Q_INVOKABLE void chooseMappingFile();
    // One axis of the grid (0 X, 1 Y, 2 Z): start, stop and step; refused with a
    // reason when the step is not positive or the start lies above the stop.
    Q_INVOKABLE bool applyAxis(int axis, double start, double stop, double step);

public slots:
    void OnSelectedSourceIndexChanged(int index);
    void OnSelectedMapperIndexChanged(int index);

signals:
    void MappersChanged(QStringList value);
    void SelectedMapperIndexChanged(int value);
    void SelectedSourceIndexChanged(int value);
    void IsCartesianSourceChanged(bool value);
    void IsMapperOnTheFlyChanged(bool value);
    void MappingFileTextChanged(QString value);
    void InputErrorChanged(QString value);
    void GridTextChanged();

private:
    void l_UpdateFileText();

    COperationMapping* m_pOperation;
    QStringList m_Mappers;
    int m_SelectedMapperIndex = -1;
    int m_SelectedSourceIndex = 0;
    bool m_IsCartesianSource = true;
    bool m_IsMapperOnTheFly = false;
    QString m_MappingFileText;
    QString m_InputError;
};
