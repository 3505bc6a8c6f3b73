#pragma once

#include "model/COrientation.h"
#include "model/CPosition.h"
#include "viewmodels/CMeasurementOperationViewModel.h"

#include <QQuaternion>
#include <QSharedPointer>

#include <array>

class CAlarmParametersMeterViewModel;
class CArrowListModel;
class CColourMap;
class CChart2DMappingData;
class CMappingOperationDatasetViewModel;
class CMappingParametersViewModel;
class CMeasureBlockData;
class CMeasureBlockMapping;
class CMeasurementParametersViewModel;
class COperationMapping;
class CRangeCheck;

// The mapping page: the newest point's field, position and orientation, one
// arrow per measured point in 3-D, the chart against time or position, the
// sample table, the mapper and source panel, the alarm and the recording bar.
class CMappingOperationViewModel : public CMeasurementOperationViewModel
{
    Q_OBJECT
    Q_PROPERTY(CMeasurementParametersViewModel* MeasurementParametersViewModel READ
                   MeasurementParametersViewModel CONSTANT)
    Q_PROPERTY(
        CAlarmParametersMeterViewModel* AlarmParametersViewModel READ AlarmParametersViewModel CONSTANT)
    Q_PROPERTY(
        CMappingParametersViewModel* MappingParametersViewModel READ MappingParametersViewModel CONSTANT)
    Q_PROPERTY(CMappingOperationDatasetViewModel* MappingOperationDatasetViewModel READ
                   MappingOperationDatasetViewModel CONSTANT)
    Q_PROPERTY(CArrowListModel* Arrows READ Arrows CONSTANT)
    // For a planar grid: the chosen quantity over the grid's plane.
    Q_PROPERTY(CColourMap* ColourMap READ ColourMap CONSTANT)
    Q_PROPERTY(CPosition* Position READ Position CONSTANT)
    Q_PROPERTY(COrientation* Orientation READ Orientation CONSTANT)
    Q_PROPERTY(double BLastBlock READ BLastBlock NOTIFY LastBlockChanged)
    Q_PROPERTY(double dBLastBlock READ dBLastBlock NOTIFY LastBlockChanged)
    Q_PROPERTY(double BPrimeLastBlock READ BPrimeLastBlock NOTIFY LastBlockChanged)
    Q_PROPERTY(double BxLastBlock READ BxLastBlock NOTIFY LastBlockChanged)
    Q_PROPERTY(double ByLastBlock READ ByLastBlock NOTIFY LastBlockChanged)
    Q_PROPERTY(double BzLastBlock READ BzLastBlock NOTIFY LastBlockChanged)
    Q_PROPERTY(double XStart READ XStart NOTIFY ExtentChanged)
    Q_PROPERTY(double XStop READ XStop NOTIFY ExtentChanged)
    Q_PROPERTY(double YStart READ YStart NOTIFY ExtentChanged)
    Q_PROPERTY(double YStop READ YStop NOTIFY ExtentChanged)
    Q_PROPERTY(double ZStart READ ZStart NOTIFY ExtentChanged)
    Q_PROPERTY(double ZStop READ ZStop NOTIFY ExtentChanged)
    Q_PROPERTY(double MaxScale READ MaxScale NOTIFY MaxScaleChanged)
    Q_PROPERTY(double QuatX READ QuatX NOTIFY ArrowChanged)
    Q_PROPERTY(double QuatY READ QuatY NOTIFY ArrowChanged)
    Q_PROPERTY(double QuatZ READ QuatZ NOTIFY ArrowChanged)
    Q_PROPERTY(double QuatScalar READ QuatScalar NOTIFY ArrowChanged)
    Q_PROPERTY(double Scale READ Scale NOTIFY ArrowChanged)
    Q_PROPERTY(QString CommentBlock READ CommentBlock NOTIFY CommentBlockChanged)
    Q_PROPERTY(bool CanAcceptNewMeasure READ CanAcceptNewMeasure NOTIFY CanAcceptNewMeasureChanged)
    Q_PROPERTY(int MaxVectorCount READ MaxVectorCount NOTIFY MaxVectorCountChanged)

public:
    static constexpr double SmallestScale = 2.220446049250313e-16;

    CMappingOperationViewModel(CSettings& settings, COperationMapping* operation, QObject* parent = nullptr);

    CMeasurementParametersViewModel* MeasurementParametersViewModel() const { return m_pMeasurement; }
    CAlarmParametersMeterViewModel* AlarmParametersViewModel() const { return m_pAlarm; }
    CMappingParametersViewModel* MappingParametersViewModel() const { return m_pMappingParameters; }
    CMappingOperationDatasetViewModel* MappingOperationDatasetViewModel() const { return m_pDataset; }
    CArrowListModel* Arrows() const { return m_pArrows; }
    CColourMap* ColourMap() const { return m_pColourMap; }
    CChart2DMappingData* Chart() const { return m_pChart; }
    CMeasureBlockData* Table() const { return m_pTable; }
    CPosition* Position() { return &m_Position; }
    COrientation* Orientation() { return &m_Orientation; }
    double BLastBlock() const { return m_Last[0]; }
    double dBLastBlock() const { return m_Last[1]; }
    double BPrimeLastBlock() const { return m_Last[2]; }
    double BxLastBlock() const { return m_Last[3]; }
    double ByLastBlock() const { return m_Last[4]; }
    double BzLastBlock() const { return m_Last[5]; }
    double XStart() const { return m_Extent[0]; }
    double XStop() const { return m_Extent[1]; }
    double YStart() const { return m_Extent[2]; }
    double YStop() const { return m_Extent[3]; }
    double ZStart() const { return m_Extent[4]; }
    double ZStop() const { return m_Extent[5]; }
    double MaxScale() const { return m_MaxScale; }
    double QuatX() const { return double(m_Rotation.x()); }
    double QuatY() const { return double(m_Rotation.y()); }
    double QuatZ() const { return double(m_Rotation.z()); }
    double QuatScalar() const { return double(m_Rotation.scalar()); }
    double Scale() const { return m_Scale; }
    QString CommentBlock() const { return m_CommentBlock; }
    bool CanAcceptNewMeasure() const { return m_CanAcceptNewMeasure; }
    int MaxVectorCount() const { return m_MaxVectorCount; }
    void setMaxVectorCount(int value);

    void resume() override;
    void start() override;
    Q_INVOKABLE void setDefaultParameters() override;
    bool DefaultParametersOffered() const override { return true; }

public slots:
    QString HelpPath() override;
    void OnNewMeasure(const QSharedPointer<CMeasureBlockMapping>& block);
    void OnOperationParameterUnitChanged();
    void OnDataSetCleared();
    void OnPlayingBackChanged(bool isPlayingBack);
    void OnAlarmAxisUnitChanged();
    void OnMappingFileLoaded();
    void OnMappingParmsSourceChanged();
    void OnDatasetLoaded();

signals:
    void LastBlockChanged();
    void ExtentChanged();
    void MaxScaleChanged(double value);
    void ArrowChanged();
    void CommentBlockChanged(QString value);
    void CanAcceptNewMeasureChanged(bool value);
    void MaxVectorCountChanged(int value);
    void clear3DPlots();

protected:
    void OnDataLoaded() override;

private:
    void l_SetCanAccept(bool value);
    void l_ComputeLastBlockComponents(const CMeasureBlockMapping& block);
    void l_ComputeVector3D(const CMeasureBlockMapping& block);
    void l_SetExtent(std::array<double, 6> extent);
    void l_ExtentFromSource();
    void l_ExtentFromBlocks();
    void l_ReloadAllData(bool untilCurrentStep, bool reloadArrows);
    void l_ClearAll(bool arrows);
    void l_ShowPlace(const CMeasureBlockMapping& block);
    void l_AddToColourMap(CMeasureBlockMapping& block, bool update = true);

    COperationMapping* m_pMapping;
    CMeasureBlockData* m_pTable;
    CChart2DMappingData* m_pChart;
    CMappingOperationDatasetViewModel* m_pDataset;
    CAlarmParametersMeterViewModel* m_pAlarm;
    CRangeCheck* m_pRangeCheck;
    CMeasurementParametersViewModel* m_pMeasurement;
    CMappingParametersViewModel* m_pMappingParameters;
    CArrowListModel* m_pArrows;
    CColourMap* m_pColourMap;
    CPosition m_Position;
    COrientation m_Orientation;
    std::array<double, 6> m_Last{};
    std::array<double, 6> m_Extent{0, 1, 0, 1, 0, 1};
    double m_MaxScale = SmallestScale;
    double m_Scale = 0;
    QQuaternion m_Rotation;
    QString m_CommentBlock;
    bool m_CanAcceptNewMeasure = false;
    int m_MaxVectorCount = 1;
};
