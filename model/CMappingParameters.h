#pragma once

#include <QObject>

class CMapperPlugin;
class CMapperPositionSource;
class CMapperPositionSourceCartesian;
class CMapperPositionSourceMappingFile;

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
    CMapperPositionSourceCartesian* MapperSourceCartesian() const { return m_MapperSourceCartesian; }
    CMapperPositionSourceMappingFile* MapperSourceFile() const { return m_MapperSourceFile; }

    void setSelectedMapper(CMapperPlugin* value);
    void setMapperSource(CMapperPositionSource* value);

    void SignalMappingSourceChanged();

signals:
    void SelectedMapperChanged(CMapperPlugin* value);
    void MapperSourceChanged(CMapperPositionSource* value);
    void SourceChanged();

private:
    CMapperPlugin* m_SelectedMapper = nullptr;
    CMapperPositionSource* m_MapperSource = nullptr;
    // The two position sources arrive with the mapping operation.
    CMapperPositionSourceCartesian* m_MapperSourceCartesian = nullptr;
    CMapperPositionSourceMappingFile* m_MapperSourceFile = nullptr;
};
