#include "id3fields.h"

#include <QTest>

#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/privateframe.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unsynchronizedlyricsframe.h>

void addID3FieldColumns()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("frameId");
    QTest::addColumn<QString>("frameText");
    QTest::addColumn<QString>("readBack");
}

void addID3FieldRows(const QString &prefix)
{
    struct Row {
        const char *name;
        const char *field;
        QString value;
        const char *frameId;
        QString frameText;
        QString readBack;
    };
    const QString unicode = QStringLiteral("Ünïcödé ☃ 𝄞 日本");
    const QList<Row> rows = {
        {"title", "title", QStringLiteral("A Title"), "TIT2", QStringLiteral("A Title"), QStringLiteral("A Title")},
        {"title unicode", "title", unicode, "TIT2", unicode, unicode},
        {"title removed", "title", QString(""), "TIT2", QString(), QString("")},
        {"title trimmed", "title", QStringLiteral("  Spaced \n"), "TIT2", QStringLiteral("Spaced"), QStringLiteral("Spaced")},
        {"title up to NUL", "title", QStringLiteral("Before") + QChar(0) + QStringLiteral("After"), "TIT2", QStringLiteral("Before"), QStringLiteral("Before")},
        {"artist", "artist", QStringLiteral("An Artist"), "TPE1", QStringLiteral("An Artist"), QStringLiteral("An Artist")},
        {"album", "album", QStringLiteral("An Album"), "TALB", QStringLiteral("An Album"), QStringLiteral("An Album")},
        {"genre", "genre", QStringLiteral("Jazz"), "TCON", QStringLiteral("Jazz"), QStringLiteral("Jazz")},
        {"year", "year", QStringLiteral("1999"), "TDRC", QStringLiteral("1999"), QStringLiteral("1999")},
        {"year removed", "year", QStringLiteral("0"), "TDRC", QString(), QStringLiteral("0")},
        {"track n", "track", QStringLiteral("7"), "TRCK", QStringLiteral("7"), QStringLiteral("7")},
        {"track n/", "track", QStringLiteral("7/"), "TRCK", QStringLiteral("7"), QStringLiteral("7")},
        {"track n/N zeros", "track", QStringLiteral("07/12"), "TRCK", QStringLiteral("07/12"), QStringLiteral("07/12")},
        {"track /N", "track", QStringLiteral("/12"), "TRCK", QStringLiteral("/12"), QStringLiteral("/12")},
        {"track /", "track", QStringLiteral("/"), "TRCK", QString(), QString()},
        {"track invalid", "track", QStringLiteral("x"), "TRCK", QString(), QString()},
        {"track removed", "track", QString(""), "TRCK", QString(), QString()},
        {"disc n/N", "disc", QStringLiteral("1/2"), "TPOS", QStringLiteral("1/2"), QStringLiteral("1/2")},
        {"disc n/", "disc", QStringLiteral("3/"), "TPOS", QStringLiteral("3"), QStringLiteral("3")},
        {"disc /N", "disc", QStringLiteral("/02"), "TPOS", QStringLiteral("/02"), QStringLiteral("/02")},
        {"album artist", "albumArtist", QStringLiteral("Band"), "TPE2", QStringLiteral("Band"), QStringLiteral("Band")},
        {"album artist removed", "albumArtist", QString(""), "TPE2", QString(), QString("")},
        {"composer", "composer", unicode, "TCOM", unicode, unicode},
        {"compilation 5", "isCompilation", QStringLiteral("5"), "TCMP", QStringLiteral("1"), QStringLiteral("1")},
        {"compilation 0", "isCompilation", QStringLiteral("0"), "TCMP", QString(), QStringLiteral("0")},
        {"comment", "comment", QStringLiteral("Line one\nLine two"), "COMM", QStringLiteral("Line one\nLine two"), QStringLiteral("Line one\nLine two")},
        {"comment removed", "comment", QString(""), "COMM", QString(), QString("")},
        {"lyrics removed", "lyrics", QString(""), "USLT", QString(), QString("")},
        {"lyrics", "lyrics", QStringLiteral("La la\nla ") + unicode, "USLT", QStringLiteral("La la\nla ") + unicode, QStringLiteral("La la\nla ") + unicode},
    };
    for (const Row &row : rows) {
        const QString name = prefix.isEmpty() ? QString::fromUtf8(row.name) : prefix + QStringLiteral(": ") + QString::fromUtf8(row.name);
        QTest::newRow(qPrintable(name)) << QString::fromUtf8(row.field) << row.value
                                        << QByteArray(row.frameId) << row.frameText << row.readBack;
    }
}

namespace {

QString toQ(const TagLib::String &text)
{
    return QString::fromStdString(text.to8Bit(true));
}

TagLib::String fromQ(const QString &text)
{
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

void addText(TagLib::ID3v2::Tag *tag, const char *id, const QString &text)
{
    auto *frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::UTF8);
    frame->setText(fromQ(text));
    tag->addFrame(frame);
}

template <typename Frame>
void addDescribed(TagLib::ID3v2::Tag *tag, const QString &description, const QString &text)
{
    auto *frame = new Frame(TagLib::String::UTF8);
    // The frames the system owns are in English; the others are not, to tell them apart.
    frame->setLanguage(description.isEmpty() ? "eng" : "deu");
    frame->setDescription(fromQ(description));
    frame->setText(fromQ(text));
    tag->addFrame(frame);
}

bool isDescribed(TagLib::ID3v2::Frame *frame)
{
    if (auto *comment = dynamic_cast<TagLib::ID3v2::CommentsFrame *>(frame))
        return !comment->description().isEmpty();
    if (auto *lyrics = dynamic_cast<TagLib::ID3v2::UnsynchronizedLyricsFrame *>(frame))
        return !lyrics->description().isEmpty();
    return false;
}

} // namespace

void prefillID3Tag(TagLib::ID3v2::Tag *tag)
{
    tag->setTitle("Old title");
    tag->setArtist("Old artist");
    tag->setAlbum("Old album");
    tag->setGenre("Old genre");
    tag->setYear(1970);
    addText(tag, "TRCK", QStringLiteral("3/9"));
    addText(tag, "TPOS", QStringLiteral("2/5"));
    addText(tag, "TPE2", QStringLiteral("Old album artist"));
    addText(tag, "TCOM", QStringLiteral("Old composer"));
    addText(tag, "TCMP", QStringLiteral("1"));
    addDescribed<TagLib::ID3v2::CommentsFrame>(tag, QString(), QStringLiteral("Old comment"));
    addDescribed<TagLib::ID3v2::CommentsFrame>(tag, QStringLiteral("Described"), QStringLiteral("Kept comment"));
    addDescribed<TagLib::ID3v2::UnsynchronizedLyricsFrame>(tag, QString(), QStringLiteral("Old lyrics"));
    addDescribed<TagLib::ID3v2::UnsynchronizedLyricsFrame>(tag, QStringLiteral("Described"), QStringLiteral("Kept lyrics"));
    auto *custom = new TagLib::ID3v2::UserTextIdentificationFrame(TagLib::String::UTF8);
    custom->setDescription("CUSTOM");
    custom->setText("Kept custom");
    tag->addFrame(custom);
    auto *priv = new TagLib::ID3v2::PrivateFrame;
    priv->setOwner("quorl-test");
    priv->setData(TagLib::ByteVector("kept private", 12));
    tag->addFrame(priv);
}

QString id3KeptFramesMismatch(TagLib::ID3v2::Tag *tag)
{
    if (!tag)
        return QStringLiteral("no ID3v2 tag");
    auto *custom = TagLib::ID3v2::UserTextIdentificationFrame::find(tag, "CUSTOM");
    if (!custom || custom->fieldList().back() != "Kept custom")
        return QStringLiteral("TXXX frame lost");
    const auto described = [tag](const char *id, const char *text) {
        for (TagLib::ID3v2::Frame *frame : tag->frameList(id)) {
            if (auto *comment = dynamic_cast<TagLib::ID3v2::CommentsFrame *>(frame)) {
                if (comment->description() == "Described" && comment->text() == text && comment->language() == "deu")
                    return true;
            }
            if (auto *lyrics = dynamic_cast<TagLib::ID3v2::UnsynchronizedLyricsFrame *>(frame)) {
                if (lyrics->description() == "Described" && lyrics->text() == text && lyrics->language() == "deu")
                    return true;
            }
        }
        return false;
    };
    if (!described("COMM", "Kept comment"))
        return QStringLiteral("described COMM frame lost");
    if (!described("USLT", "Kept lyrics"))
        return QStringLiteral("described USLT frame lost");
    const TagLib::ID3v2::FrameList privs = tag->frameList("PRIV");
    if (privs.size() != 1 || static_cast<TagLib::ID3v2::PrivateFrame *>(privs.front())->data() != TagLib::ByteVector("kept private", 12))
        return QStringLiteral("PRIV frame lost");
    return {};
}

QString id3FieldMismatch(TagLib::ID3v2::Tag *tag, const QByteArray &frameId, const QString &frameText)
{
    if (!tag)
        return QStringLiteral("no ID3v2 tag");
    TagLib::ID3v2::FrameList frames;
    for (TagLib::ID3v2::Frame *frame : tag->frameList(frameId.constData())) {
        if (!isDescribed(frame))
            frames.append(frame);
    }
    const QString id = QString::fromLatin1(frameId);
    if (frameText.isEmpty())
        return frames.isEmpty() ? QString() : QStringLiteral("%1 frames %2 left, none wanted").arg(frames.size()).arg(id);
    if (frames.size() != 1)
        return QStringLiteral("%1 frames %2, one wanted").arg(frames.size()).arg(id);
    TagLib::ID3v2::Frame *frame = frames.front();
    QString text = toQ(frame->toString());
    if (auto *comment = dynamic_cast<TagLib::ID3v2::CommentsFrame *>(frame)) {
        if (comment->language() != "eng")
            return QStringLiteral("comment not in language eng");
        text = toQ(comment->text());
    } else if (auto *lyrics = dynamic_cast<TagLib::ID3v2::UnsynchronizedLyricsFrame *>(frame)) {
        if (lyrics->language() != "eng")
            return QStringLiteral("lyrics not in language eng");
        text = toQ(lyrics->text());
    }
    return text == frameText ? QString() : QStringLiteral("%1 text \"%2\", wanted \"%3\"").arg(id, text, frameText);
}
