#include "model/CMeasureBlockMapping.h"

CMeasureBlockMapping::CMeasureBlockMapping(QObject* parent) : CMeasureBlock(parent) {}

void CMeasureBlockMapping::setRotAppliedOnMeasBlock(bool value)
{
    if (m_RotAppliedOnMeasBlock == value)
        return;
    m_RotAppliedOnMeasBlock = value;
    emit RotAppliedOnMeasBlockChanged(value);
}

void CMeasureBlockMapping::CopyFrom(const CMeasureBlock& source)
{
    setComment(source.Comment());
    Results = source.Results;
    Bprime.setX(source.Bprime.X());
    Bprime.setY(source.Bprime.Y());
    Bprime.setZ(source.Bprime.Z());
}
