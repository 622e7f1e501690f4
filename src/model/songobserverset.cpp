#include "model/songobserverset.h"

#include <QtGlobal>

#include <algorithm>

SongObserverSet::~SongObserverSet()
{
    if (holdsList())
        delete list();
}

bool SongObserverSet::contains(const SongObserver *observer) const
{
    if (!holdsList())
        return observer && single() == observer;
    const List &observers = *list();
    return std::find(observers.begin(), observers.end(), observer) != observers.end();
}

int SongObserverSet::size() const
{
    if (!holdsList())
        return m_bits == 0 ? 0 : 1;
    return int(list()->size());
}

bool SongObserverSet::add(SongObserver *observer)
{
    if (!observer || contains(observer))
        return false;
    Q_ASSERT((reinterpret_cast<std::uintptr_t>(observer) & ListTag) == 0);
    if (m_bits == 0) {
        m_bits = reinterpret_cast<std::uintptr_t>(observer);
        return true;
    }
    if (!holdsList()) {
        auto *observers = new List{single()};
        m_bits = reinterpret_cast<std::uintptr_t>(observers) | ListTag;
    }
    list()->push_back(observer);
    return true;
}

bool SongObserverSet::remove(SongObserver *observer)
{
    if (!observer || !contains(observer))
        return false;
    if (!holdsList()) {
        m_bits = 0;
        return true;
    }
    List *observers = list();
    observers->erase(std::find(observers->begin(), observers->end(), observer));
    // Back to the room of one pointer once one observer is left.
    if (observers->size() == 1) {
        m_bits = reinterpret_cast<std::uintptr_t>(observers->front());
        delete observers;
    }
    return true;
}
