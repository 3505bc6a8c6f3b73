#include "viewmodels/CMappingParametersViewModel.h"

#include "app/CPrompt.h"
#include "app/CSettings.h"
#include "instruments/CMapperPlugin.h"
#include "operations/CMapperPositionSourceCartesian.h"
#include "operations/CMapperPositionSourceMappingFile.h"
#include "operations/COperationMapping.h"

#include <QFileInfo>

#include <cmath>

CMappingParametersViewModel::CMappingParametersViewModel(COperationMapping* operation, QObject* parent)
    : QObject(parent), m_pOperation(operation)
{
    const auto mappers = operation->AvailableMapperPlugins();
    for (const CMapperPlugin* mapper : mappers)
        m_Mappers << mapper->GetName();
    CMappingParameters* parameters = operation->MappingParameters();
    MappingXmlFile* file = parameters->MapperSourceFile()->MappingFile();
    connect(file, &MappingXmlFile::Loaded, this, &CMappingParametersViewModel::l_UpdateFileText);
    connect(file, &MappingXmlFile::FileErrorChanged, this, &CMappingParametersViewModel::l_UpdateFileText);
    for (CAxisStepSeries* axis : {Grid()->X(), Grid()->Y(), Grid()->Z()})
    {
        connect(axis, &CAxisStepSeries::StartChanged, this, &CMappingParametersViewModel::GridTextChanged);
        connect(axis, &CAxisStepSeries::StopChanged, this, &CMappingParametersViewModel::GridTextChanged);
        connect(axis, &CAxisStepSeries::StepSizeChanged, this, &CMappingParametersViewModel::GridTextChanged);
    }
    connect(this, &CMappingParametersViewModel::SelectedSourceIndexChanged, this,
            &CMappingParametersViewModel::OnSelectedSourceIndexChanged);
    connect(this, &CMappingParametersViewModel::SelectedMapperIndexChanged, this,
            &CMappingParametersViewModel::OnSelectedMapperIndexChanged);
    // The source and mapper in use when the page opens.
    m_SelectedSourceIndex = parameters->MapperSource() == parameters->MapperSourceFile() ? 1 : 0;
    OnSelectedSourceIndexChanged(m_SelectedSourceIndex);
    const int selected =
        m_Mappers.isEmpty() ? -1
        : parameters->SelectedMapper()
            ? std::max(0, int(operation->AvailableMapperPlugins().indexOf(parameters->SelectedMapper())))
            : 0;
    m_SelectedMapperIndex = selected;
    OnSelectedMapperIndexChanged(selected);
    l_UpdateFileText();
}

void CMappingParametersViewModel::setSelectedMapperIndex(int value)
{
    if (m_SelectedMapperIndex == value)
        return;
    m_SelectedMapperIndex = value;
    emit SelectedMapperIndexChanged(value);
}

void CMappingParametersViewModel::setSelectedSourceIndex(int value)
{
    if (m_SelectedSourceIndex == value)
        return;
    m_SelectedSourceIndex = value;
    emit SelectedSourceIndexChanged(value);
}

void CMappingParametersViewModel::OnSelectedSourceIndexChanged(int index)
{
    const bool cartesian = index == 0;
    if (m_IsCartesianSource != cartesian)
    {
        m_IsCartesianSource = cartesian;
        emit IsCartesianSourceChanged(cartesian);
    }
    CMappingParameters* parameters = m_pOperation->MappingParameters();
    if (cartesian)
        parameters->setMapperSource(parameters->MapperSourceCartesian());
    else
        parameters->setMapperSource(parameters->MapperSourceFile());
    emit parameters->SourceChanged();
}

void CMappingParametersViewModel::OnSelectedMapperIndexChanged(int index)
{
    const QList<CMapperPlugin*> mappers = m_pOperation->AvailableMapperPlugins();
    if (index < 0 || index >= mappers.size())
        return;
    m_pOperation->MappingParameters()->setSelectedMapper(mappers.at(index));
    const bool onTheFly = mappers.at(index)->GetKind() == 1;
    if (m_IsMapperOnTheFly != onTheFly)
    {
        m_IsMapperOnTheFly = onTheFly;
        emit IsMapperOnTheFlyChanged(onTheFly);
    }
}

void CMappingParametersViewModel::chooseMappingFile()
{
    MappingXmlFile* file = m_pOperation->MappingParameters()->MapperSourceFile()->MappingFile();
    const QString path =
        CPrompt::Current().OpenFileName(tr("Open mapping file"), QString(), QStringLiteral("XML (*.xml)"));
    if (path.isEmpty())
        return;
    file->setFilePath(path);
    file->ReadFile(path);
    l_UpdateFileText();
}

double CMappingParametersViewModel::GridPointCount(double xStart, double xStop, double xStep, double yStart,
                                                   double yStop, double yStep, double zStart, double zStop,
                                                   double zStep)
{
    const auto along = [](double start, double stop, double step) {
        return step > 0 && stop >= start ? std::floor((stop - start) / step + 1e-9) + 1.0 : 0.0;
    };
    return along(xStart, xStop, xStep) * along(yStart, yStop, yStep) * along(zStart, zStop, zStep);
}

QString CMappingParametersViewModel::GridText() const
{
    CMapperPositionSourceCartesian* grid = Grid();
    const double points = GridPointCount(grid->X()->Start(), grid->X()->Stop(), grid->X()->StepSize(),
                                         grid->Y()->Start(), grid->Y()->Stop(), grid->Y()->StepSize(),
                                         grid->Z()->Start(), grid->Z()->Stop(), grid->Z()->StepSize());
    if (points > CMapperPositionSourceCartesian::MaxPoints)
        return tr("%1 points: too many, the run stops after the first %2")
            .arg(points, 0, 'g', 4)
            .arg(CMapperPositionSourceCartesian::MaxPoints);
    return tr("%1 points").arg(points, 0, 'f', 0);
}

CMapperPositionSourceCartesian* CMappingParametersViewModel::Grid() const
{
    return m_pOperation->MappingParameters()->MapperSourceCartesian();
}

bool CMappingParametersViewModel::applyAxis(int axis, double start, double stop, double step)
{
    CMapperPositionSourceCartesian* grid = Grid();
    CAxisStepSeries* series = axis == 0 ? grid->X() : axis == 1 ? grid->Y() : axis == 2 ? grid->Z() : nullptr;
    QString error;
    if (!series)
        error = tr("No such axis");
    else if (!(step > MinimumStep))
        error = tr("The step must be above %1 mm").arg(MinimumStep); // the grid takes no finer step
    else if (!(start <= stop))
        error = tr("The start must not be above the stop");
    if (error != m_InputError)
    {
        m_InputError = error;
        emit InputErrorChanged(error);
    }
    if (!error.isEmpty())
        return false;
    series->setStart(start);
    series->setStop(stop);
    series->setStepSize(step);
    return true;
}

void CMappingParametersViewModel::l_UpdateFileText()
{
    MappingXmlFile* file = m_pOperation->MappingParameters()->MapperSourceFile()->MappingFile();
    QString text;
    if (file->FileError())
        text = tr("The mapping file could not be read");
    else if (file->FileLoaded())
        text = tr("%1: %2 points, X %3 to %4, Y %5 to %6, Z %7 to %8")
                   .arg(QFileInfo(file->FilePath()).fileName())
                   .arg(file->Positions()->size())
                   .arg(file->PositionXMin())
                   .arg(file->PositionXMax())
                   .arg(file->PositionYMin())
                   .arg(file->PositionYMax())
                   .arg(file->PositionZMin())
                   .arg(file->PositionZMax());
    if (text == m_MappingFileText)
        return;
    m_MappingFileText = text;
    emit MappingFileTextChanged(text);
}
