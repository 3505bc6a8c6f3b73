#pragma once

#include "model/CMeasureBlock.h"
#include "model/COrientation.h"
#include "model/CPosition.h"

// A block taken at one mapping position.
class CMeasureBlockMapping : public CMeasureBlock
{
    Q_OBJECT
    Q_PROPERTY(bool RotAppliedOnMeasBlock READ RotAppliedOnMeasBlock WRITE setRotAppliedOnMeasBlock NOTIFY
                   RotAppliedOnMeasBlockChanged)
public:
    explicit CMeasureBlockMapping(QObject* parent = nullptr);

    bool RotAppliedOnMeasBlock() const { return m_RotAppliedOnMeasBlock; }
    void setRotAppliedOnMeasBlock(bool value);

    // Shares the samples of `source` and copies its comment and B' vector.
    void CopyFrom(const CMeasureBlock& source);

    COrientation Orientation;
    CPosition Position;

signals:
    void RotAppliedOnMeasBlockChanged(bool value);

private:
    bool m_RotAppliedOnMeasBlock = false;
};

Q_DECLARE_METATYPE(QSharedPointer<CMeasureBlockMapping>)
