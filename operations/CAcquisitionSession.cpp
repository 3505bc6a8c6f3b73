#include "operations/CAcquisitionSession.h"

#include "instruments/CInstrument.h"

CAcquisitionSession::CAcquisitionSession(CInstrument* instrument, Deliver deliver, QObject* parent)
    : QObject(parent), m_Deliver(std::move(deliver))
{
    if (instrument)
        m_Connection = connect(instrument, &CInstrument::OnNewMeasureBlock, this,
                               &CAcquisitionSession::OnNewMeasureBlock);
}

CAcquisitionSession::~CAcquisitionSession()
{
    End();
}

void CAcquisitionSession::End()
{
    m_Active = false;
    disconnect(m_Connection);
}

void CAcquisitionSession::OnNewMeasureBlock(QSharedPointer<CMeasureBlock> block)
{
    if (m_Active && m_Deliver)
        m_Deliver(std::move(block));
}
