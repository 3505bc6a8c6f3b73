#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

// What a page shows changes at most at the screen's pace, however fast blocks come:
// a view model keeps its values current with every block but lets its change
// signals (and redraws) out through the pacer, together, at the next turn of the
// event loop when the last ones are older than the interval, else when it is over;
// so one frame shows them all. The pacers of the program share one beat: a pacer
// whose values change between another's releases (the recording bar beside the
// chart) goes out with that one's next release, not a frame of its own. While held
// (the section is hidden) nothing goes out, and what is pending goes out when it is
// released.
class CDisplayPacer : public QObject
{
    Q_OBJECT
public:
    static constexpr int IntervalMs = 50; // 20 frames a second: smooth enough to read, light on a laptop

    explicit CDisplayPacer(QObject* parent = nullptr);

    // `emitter` runs at the next release; a later call with the same key replaces it.
    void Defer(const void* key, std::function<void()> emitter);
    // What `key` had pending never goes out.
    void Drop(const void* key);
    void SetHeld(bool held);
    bool Held() const { return m_Held; }
    // Everything pending, now.
    void Flush();

private:
    void l_Schedule();

    // When any pacer last let its changes out (all live on the GUI thread).
    static QElapsedTimer& l_LastRelease();

    QTimer m_Timer;
    bool m_Held = false;
    std::vector<std::pair<const void*, std::function<void()>>> m_Pending;
};
