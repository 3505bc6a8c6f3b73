#pragma once

#include "operations/CMapperPositionSource.h"
#include "operations/MappingXmlFile.h"

// The points of a mapping file, in file order.
class CMapperPositionSourceMappingFile : public CMapperPositionSource
{
    Q_OBJECT
    Q_PROPERTY(MappingXmlFile* MappingFile READ MappingFile CONSTANT)
public:
    explicit CMapperPositionSourceMappingFile(QObject* parent = nullptr);

    MappingXmlFile* MappingFile() { return &m_MappingFile; }

    void ResetPosition() override;
    bool NextPosition(CPosition& position, COrientation& orientation) override;
    Q_INVOKABLE void loadMappingFile();

private:
    MappingXmlFile m_MappingFile;
    int m_NextIndex = 0;
};
