#include "tags/m4areader.h"

#include "model/imagepool.h"
#include "model/numbertext.h"
#include "model/song.h"
#include "tags/taglibconvert.h"

#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>

using TagLibConvert::toQString;

namespace {

// Item keys are four Latin-1 characters; lyrics and composer begin with the byte 0xA9.
struct ItemKeys {
    TagLib::String track{"trkn", TagLib::String::Latin1};
    TagLib::String lyrics{"\xa9lyr", TagLib::String::Latin1};
    TagLib::String covers{"covr", TagLib::String::Latin1};
    TagLib::String compilation{"cpil", TagLib::String::Latin1};
    TagLib::String albumArtist{"aART", TagLib::String::Latin1};
    TagLib::String composer{"\xa9wrt", TagLib::String::Latin1};
    TagLib::String disc{"disk", TagLib::String::Latin1};
};

const ItemKeys &itemKeys()
{
    static const ItemKeys keys;
    return keys;
}

// The item under the key, or null if the tag has none.
const TagLib::MP4::Item *findItem(const TagLib::MP4::ItemMap &items, const TagLib::String &key)
{
    const auto found = items.find(key);
    return found == items.end() ? nullptr : &found->second;
}

QString joined(const TagLib::MP4::Item &item)
{
    return toQString(item.toStringList().toString(" "));
}

} // namespace

std::unique_ptr<Song> M4AReader::parseStream(TagLib::IOStream *stream) const
{
    auto song = std::make_unique<Song>();
    TagLib::MP4::File file(stream, true, TagLib::AudioProperties::Average);
    const TagLib::MP4::Tag *tag = file.tag();
    if (!tag)
        return song;
    readTag(tag, song.get(), true);
    readAudioProps(file.audioProperties(), song.get());

    const ItemKeys &keys = itemKeys();
    const TagLib::MP4::ItemMap &items = tag->itemMap();
    if (const auto *item = findItem(items, keys.track)) {
        const TagLib::MP4::Item::IntPair pair = item->toIntPair();
        song->setTrack(pairText(pair.first, pair.second));
    }
    if (const auto *item = findItem(items, keys.lyrics))
        song->setLyrics(joined(*item));
    if (const auto *item = findItem(items, keys.covers)) {
        const TagLib::MP4::CoverArtList covers = item->toCoverArtList();
        for (const TagLib::MP4::CoverArt &cover : covers)
            song->addImage(ImagePool::shared().imageFor(TagLibConvert::toQByteArrayView(cover.data())));
    }
    if (const auto *item = findItem(items, keys.compilation))
        song->setIsCompilation(item->toBool() ? 1 : 0);
    if (const auto *item = findItem(items, keys.albumArtist))
        song->setAlbumArtist(joined(*item));
    if (const auto *item = findItem(items, keys.composer))
        song->setComposer(joined(*item));
    if (const auto *item = findItem(items, keys.disc)) {
        const TagLib::MP4::Item::IntPair pair = item->toIntPair();
        song->setDisc(pairText(pair.first, pair.second));
    }
    return song;
}

QString M4AReader::pairText(int number, int count) const
{
    if (count == 0)
        return number == 0 ? QStringLiteral("") : QString::number(number);
    const QString numberPart = number == 0
        ? QString()
        : NumberText::addLeadingZerosToNumber(number, count, leadingZeros());
    return numberPart + NumberText::addLeadingZerosAndSlashToCount(count, leadingZeros());
}
