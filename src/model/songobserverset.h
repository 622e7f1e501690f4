#pragma once

#include <QVarLengthArray>
#include <QtGlobal>

#include <cstdint>
#include <vector>

class Song;

// The fields of a song that observers are told about and that can be read and written by name.
// The first SongFlaggedFieldCount of them, in this order, each carry a modification flag; the
// plain properties after them carry none.
enum class SongField : std::uint8_t {
    Track,
    Title,
    Artist,
    Album,
    Disc,
    AlbumArtist,
    Composer,
    Genre,
    Year,
    Comment,
    Lyrics,
    IsCompilation,
    FileName,
    Images,
    Bitrate,
    Length,
    FilePath,
    IsRenamable,
};
inline constexpr int SongFlaggedFieldCount = 14;
inline constexpr int SongFieldCount = 18;

// Told of every effective change of a song. A song has any number of observers; each must
// outlive its subscription (removeObserver() ends it) or the song.
class SongObserver {
public:
    virtual ~SongObserver() = default;
    // After a field (or the image list) really changed.
    virtual void songFieldChanged(Song &song, SongField field) = 0;
    // Around every setter that changes something, and around resetModifications().
    virtual void songModifiedWillChange(Song &song) { Q_UNUSED(song); }
    virtual void songModifiedDidChange(Song &song) { Q_UNUSED(song); }
};

// The observers of one song in one pointer's room: none, one held directly, or several in a
// list on the heap. Most songs have no observer or one (the song table), so a library of songs
// pays no allocation for them. Notifying goes over the observers present when it starts and
// skips any removed meanwhile; one added meanwhile hears from the next change on.
class SongObserverSet {
public:
    SongObserverSet() = default;
    ~SongObserverSet();
    SongObserverSet(const SongObserverSet &) = delete;
    SongObserverSet &operator=(const SongObserverSet &) = delete;

    // False if the observer was already there (it is not added twice) or is null.
    bool add(SongObserver *observer);
    // False if the observer was not there.
    bool remove(SongObserver *observer);
    bool contains(const SongObserver *observer) const;
    int size() const;
    bool isEmpty() const { return m_bits == 0; }

    template <typename Call>
    void notify(Call call) const;

private:
    using List = std::vector<SongObserver *>;
    static constexpr std::uintptr_t ListTag = 1;
    bool holdsList() const { return m_bits & ListTag; }
    SongObserver *single() const { return reinterpret_cast<SongObserver *>(m_bits); }
    List *list() const { return reinterpret_cast<List *>(m_bits & ~ListTag); }

    // 0, a SongObserver pointer, or a List pointer with ListTag set.
    std::uintptr_t m_bits = 0;
};

static_assert(sizeof(SongObserverSet) == sizeof(void *), "a song pays one pointer for its observers");

template <typename Call>
void SongObserverSet::notify(Call call) const
{
    if (!holdsList()) {
        if (SongObserver *observer = single())
            call(observer);
        return;
    }
    const QVarLengthArray<SongObserver *, 8> present(list()->begin(), list()->end());
    for (SongObserver *observer : present) {
        if (contains(observer))
            call(observer);
    }
}
