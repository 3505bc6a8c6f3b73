#include "viewmodels/CDisplayPacer.h"

#include <algorithm>

CDisplayPacer::CDisplayPacer(QObject* parent) : QObject(parent)
{
    m_Timer.setSingleShot(true);
    connect(&m_Timer, &QTimer::timeout, this, &CDisplayPacer::Flush);
}

void CDisplayPacer::Defer(const void* key, std::function<void()> emitter)
{
    const auto found = std::find_if(m_Pending.begin(), m_Pending.end(),
                                    [key](const auto& pending) { return pending.first == key; });
    if (found != m_Pending.end())
        found->second = std::move(emitter);
    else
        m_Pending.emplace_back(key, std::move(emitter));
    l_Schedule();
}

void CDisplayPacer::Drop(const void* key)
{
    m_Pending.erase(std::remove_if(m_Pending.begin(), m_Pending.end(),
                                   [key](const auto& pending) { return pending.first == key; }),
                    m_Pending.end());
}

void CDisplayPacer::SetHeld(bool held)
{
    m_Held = held;
    if (held)
        m_Timer.stop();
    else
        l_Schedule();
}

QElapsedTimer& CDisplayPacer::l_LastRelease()
{
    static QElapsedTimer last;
    return last;
}

void CDisplayPacer::l_Schedule()
{
    if (m_Held || m_Pending.empty() || m_Timer.isActive())
        return;
    const QElapsedTimer& last = l_LastRelease();
    const qint64 since = last.isValid() ? last.elapsed() : IntervalMs;
    m_Timer.start(int(std::max<qint64>(0, IntervalMs - since)));
}

void CDisplayPacer::Flush()
{
    m_Timer.stop();
    l_LastRelease().start();
    // An emitter may defer again (a slot that sets another value): those wait for the next turn.
    std::vector<std::pair<const void*, std::function<void()>>> pending;
    pending.swap(m_Pending);
    for (const auto& entry : pending)
        entry.second();
}
