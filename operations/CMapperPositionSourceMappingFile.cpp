#include "operations/CMapperPositionSourceMappingFile.h"

CMapperPositionSourceMappingFile::CMapperPositionSourceMappingFile(QObject* parent)
    : CMapperPositionSource(File, parent)
{
}

void CMapperPositionSourceMappingFile::ResetPosition()
{
    m_NextIndex = 0;
}

bool CMapperPositionSourceMappingFile::NextPosition(CPosition& position, COrientation& orientation)
{
    if (m_NextIndex >= m_MappingFile.Positions()->size() ||
        m_NextIndex >= m_MappingFile.Orientations()->size())
        return false;
    orientation = m_MappingFile.Orientations()->at(m_NextIndex);
    position = m_MappingFile.Positions()->at(m_NextIndex);
    ++m_NextIndex;
    return true;
}

void CMapperPositionSourceMappingFile::loadMappingFile()
{
    m_MappingFile.ReadFile(m_MappingFile.FilePath());
}
