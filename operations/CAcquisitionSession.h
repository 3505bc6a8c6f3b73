#pragma once

#include <QObject>
#include <QSharedPointer>

#include <functional>

class CInstrument;
class CMeasureBlock;

// The blocks of one acquisition session, from Start to Stop. The driver posts its
// blocks from its own thread; a block posted before Stop may still wait in the event
// queue when the session ends (the GUI thread was busy) and would land in whatever
// the data set holds next, a loaded recording say. Each session therefore receives
// through an object of its own, and the blocks of an ended session are dropped. The
// connection is kept, so that it is undone even when the instrument has gone.
class CAcquisitionSession : public QObject
{
    Q_OBJECT
public:
    using Deliver = std::function<void(QSharedPointer<CMeasureBlock>)>;

    CAcquisitionSession(CInstrument* instrument, Deliver deliver, QObject* parent = nullptr);
    ~CAcquisitionSession() override;

    // From now on nothing more is delivered, whatever is still queued.
    void End();
    bool IsActive() const { return m_Active; }

private slots:
    void OnNewMeasureBlock(QSharedPointer<CMeasureBlock> block);

private:
    Deliver m_Deliver;
    QMetaObject::Connection m_Connection;
    bool m_Active = true;
};
