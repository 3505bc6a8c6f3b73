#pragma once

#include <cstddef>
#include <list>
#include <memory>

namespace KVL
{
// A transform of size n kept for this thread among its few most recently used:
// building one computes its tables, which blocks of one size can share; no
// locking, and nothing shared between threads.
template <typename Transform, std::size_t Kept> std::shared_ptr<Transform> RecentTransform(int n)
{
    thread_local std::list<std::shared_ptr<Transform>> recent;
    for (auto it = recent.begin(); it != recent.end(); ++it)
    {
        if ((*it)->Size() == n)
        {
            recent.splice(recent.begin(), recent, it);
            return recent.front();
        }
    }
    recent.push_front(std::make_shared<Transform>(n));
    if (recent.size() > Kept)
        recent.pop_back();
    return recent.front();
}
} // namespace KVL
