// Fuzz target for the strict JSON reading of web API responses and the release walker. Every
// input is parsed as a response; a document that is an object is walked into a release as the
// search does with a release document, and the release gets the covers of the document's
// images. The release must keep its rows aligned and its numbers numeric, and its covers must
// lose their back reference when it goes.

#include "fuzzing.h"

#include "lookup/cover.h"
#include "lookup/json2releasewalker.h"
#include "lookup/jsonreader.h"
#include "lookup/release.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringDecoder>

#include <memory>
#include <vector>

namespace {

using Fuzzing::require;

bool isValidUtf8(const QByteArray &data)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(data);
    return !decoder.hasError();
}

// A non-empty run of ASCII digits: what every disc and track number of a release is.
bool isNumber(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

qsizetype trackEntryCount(const QJsonArray &tracklist)
{
    qsizetype count = 0;
    for (const QJsonValue &value : tracklist) {
        const QJsonObject entry = value.toObject();
        if (entry.value(QLatin1String("title")).isString()
            && entry.value(QLatin1String("type_")).toString().compare(QLatin1String("track"), Qt::CaseInsensitive) == 0)
            ++count;
    }
    return count;
}

void checkRows(const Release &release, qsizetype expected)
{
    require(release.countOfTracks() == expected, "one row per track entry");
    require(release.countOfDiscs() == expected && release.countOfTitles() == expected
                && release.countOfTitleArtists() == expected && release.countOfFlags() == expected,
            "the row lists stay aligned");
    for (qsizetype i = 0; i < expected; ++i) {
        require(isNumber(release.objectInTracksAtIndex(i)), "track numbers are decimal");
        require(isNumber(release.objectInDiscsAtIndex(i)), "disc numbers are decimal");
        require(release.objectInFlagsAtIndex(i) == 1, "new rows are checked");
        require(release.artist().isEmpty() || !release.objectInTitleArtistsAtIndex(i).isEmpty(),
                "a row without an artist of its own takes the release's");
    }
}

void checkName(const Json2ReleaseWalker &walker, const QString &name)
{
    // The pattern ends in $, which also matches before a final line break: "Artist (2)\n"
    // becomes "Artist\n".
    const QString cleaned = walker.removeTrailingDiscogsParentheses(name);
    if (cleaned.size() == name.size()) {
        require(cleaned == name, "a name without a number stays");
        return;
    }
    const bool lineBreak = name.endsWith(u'\n') && cleaned.endsWith(u'\n');
    const QString before = lineBreak ? cleaned.chopped(1) : cleaned;
    require(name.startsWith(before), "only the end of a name is dropped");
    const QString dropped = name.sliced(before.size(), name.size() - before.size() - (lineBreak ? 1 : 0));
    require(dropped.size() >= 4 && dropped.at(0).isSpace() && dropped.at(1) == u'('
                && dropped.endsWith(u')') && isNumber(dropped.sliced(2, dropped.size() - 3)),
            "the dropped part is a number in parentheses after white space");
}

// Gives the release a cover per image URL, as the search does, and checks the back references.
void addCovers(const QJsonArray &images, const std::shared_ptr<Release> &release,
               std::vector<std::shared_ptr<Cover>> *covers)
{
    for (const QJsonValue &image : images) {
        const QJsonValue uri = image.toObject().value(QLatin1String("uri"));
        if (!uri.isString())
            continue;
        auto cover = std::make_shared<Cover>(uri.toString());
        release->addCover(cover);
        cover->setRel(release.get());
        require(!cover->imageUID().contains(u'/') || Cover::isPlaceholderUID(cover->imageUID()),
                "a picture's UID is the last part of its URL");
        require(cover->fullImagePath() == uri.toString(), "the URL is kept");
        require(!cover->description().isEmpty(), "a cover describes itself");
        covers->push_back(std::move(cover));
    }
    if (covers->empty()) {
        auto cover = std::make_shared<Cover>(NoImageUID);
        release->addCover(cover);
        cover->setRel(release.get());
        covers->push_back(std::move(cover));
    }
}

void walk(const QJsonObject &document)
{
    const Json2ReleaseWalker walker;
    std::shared_ptr<Release> release = walker.walkJson(document);
    const QJsonValue tracklist = document.value(QLatin1String("tracklist"));
    require((release != nullptr) == tracklist.isArray(), "a release exactly for a track list");
    if (!release)
        return;
    checkRows(*release, trackEntryCount(tracklist.toArray()));
    checkName(walker, walker.artist(document));
    for (const QJsonValue &entry : tracklist.toArray()) {
        checkName(walker, walker.artist(entry.toObject()));
        checkName(walker, walker.featuringArtist(entry.toObject()));
    }

    std::vector<std::shared_ptr<Cover>> covers;
    addCovers(document.value(QLatin1String("images")).toArray(), release, &covers);
    require(release->countOfCovers() == qsizetype(covers.size()), "the release holds its covers");
    for (const auto &cover : covers)
        require(cover->rel() == release.get(), "a cover refers to its release");
    release.reset();
    for (const auto &cover : covers)
        require(cover->rel() == nullptr, "a release that goes lets go of its covers");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzzing::prepareRun(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const auto parsed = JsonReader::parse(data);
    if (!parsed) {
        require(!parsed.error().detail.isEmpty(), "a refused response is described");
        return 0;
    }
    const QJsonDocument &document = parsed.value();
    require(document.isObject() || document.isArray(), "a response is an object or a list");
    require(isValidUtf8(data), "a response read is well-formed UTF-8");
    if (document.isObject())
        walk(document.object());
    return 0;
}
