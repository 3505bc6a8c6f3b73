#pragma once

#include "operations/CMapperPositionSourceCartesian.h"
#include "operations/CMapperPositionSourceMappingFile.h"

#include <QObject>

class CMapperPlugin;

// How a mapping proceeds: the mapper plug-in and the source of positions.
class CMappingParameters : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CMapperPlugin* SelectedMapper READ SelectedMapper WRITE setSelectedMapper NOTIFY
                   SelectedMapperChanged)
    Q_PROPERTY(CMapperPositionSource* MapperSource READ MapperSource WRITE setMapperSource NOTIFY
                   MapperSourceChanged)
    Q_PROPERTY(CMapperPositionSourceCartesian* MapperSourceCartesian READ MapperSourceCartesian CONSTANT)
    Q_PROPERTY(CMapperPositionSourceMappingFile* MapperSourceFile READ MapperSourceFile CONSTANT)
public:
    explicit CMappingParameters(QObject* parent = nullptr);

    CMapperPlugin* SelectedMapper() const { return m_SelectedMapper; }
    CMapperPositionSource* MapperSource() const { return m_MapperSource; }
    CMapperPositionSourceCartesian* MapperSourceCartesian() { return &m_MapperSourceCartesian; }
    CMapperPositionSourceMappingFile* MapperSourceFile() { return &m_MapperSourceFile; }

    void setSelectedMapper(CMapperPlugin* value);
    void setMapperSource(CMapperPositionSource* value);

    void SignalMappingSourceChanged();

signals:
    void SelectedMapperChanged(CMapperPlugin* value);
    void MapperSourceChanged(CMapperPositionSource* value);
    void SourceChanged();

private:
    CMapperPlugin* m_SelectedMapper = nullptr;
    CMapperPositionSourceCartesian m_MapperSourceCartesian;
    CMapperPositionSourceMappingFile m_MapperSourceFile;
    // The grid until the view chooses otherwise.
    CMapperPositionSource* m_MapperSource = &m_MapperSourceCartesian;
};
