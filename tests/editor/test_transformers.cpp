#include "editor/settingsregistry.h"
#include "editor/transformers.h"
#include "fixtures.h"
#include "model/noneindex.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QTemporaryDir>
#include <QtTest>

#include <limits>
#include <memory>

using OptionalStrings = std::optional<QStringList>;
Q_DECLARE_METATYPE(OptionalStrings)

// Shown by QCOMPARE when a list of choices differs (found through the QStringList argument).
char *toString(const OptionalStrings &choices)
{
    if (!choices)
        return qstrdup("(no output)");
    return qstrdup(('"' + choices->join(u"\", \"") + '"').toUtf8().constData());
}

namespace {

// Pictures named by a letter: equal letters give equal bytes.
Image picture(QChar letter)
{
    return Image(QByteArray("picture-") + QString(letter).toLatin1());
}

QList<Image> pictures(const QString &letters)
{
    QList<Image> list;
    for (QChar letter : letters)
        list.append(picture(letter));
    return list;
}

QString letters(const QList<Image> &list)
{
    QString text;
    for (const Image &image : list)
        text += QChar(image.data().back());
    return text;
}

std::unique_ptr<Song> songNamed(const QString &fileName, bool renamable)
{
    auto song = std::make_unique<Song>();
    song->setFilePath(QStringLiteral("/music/original.mp3"));
    song->setFileName(fileName);
    song->setIsRenamable(renamable);
    return song;
}

} // namespace

class TestTransformers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        useTemporarySettings(m_dir);
        SettingsRegistry::registerDefaults();
    }
    void init() { UserDefaults::shared().removeObjectForKey(QStringLiteral("GENRE_HISTORY")); }

    void setAsArrayKeepsDistinctNonEmptyValuesInFirstOrder_data()
    {
        QTest::addColumn<QVariant>("values");
        QTest::addColumn<OptionalStrings>("choices");
        QTest::newRow("no input") << QVariant() << OptionalStrings();
        QTest::newRow("a text is not a list") << QVariant(QStringLiteral("Pop")) << OptionalStrings();
        QTest::newRow("a number is not a list") << QVariant(1999) << OptionalStrings();
        QTest::newRow("empty list") << QVariant(QVariantList()) << OptionalStrings(QStringList());
        QTest::newRow("texts") << QVariant(QVariantList{u"b"_qs, u"a"_qs, u"b"_qs, u""_qs, u"0"_qs, u"a"_qs})
                               << OptionalStrings(QStringList{u"b"_qs, u"a"_qs});
        QTest::newRow("case matters") << QVariant(QStringList{u"Rock"_qs, u"rock"_qs})
                                      << OptionalStrings(QStringList{u"Rock"_qs, u"rock"_qs});
        QTest::newRow("years") << QVariant(QVariantList{qint64(0), qint64(2001), qint64(1999), qint64(2001)})
                               << OptionalStrings(QStringList{u"2001"_qs, u"1999"_qs});
        QTest::newRow("only empty values") << QVariant(QVariantList{u""_qs, qint64(0), u"0"_qs})
                                           << OptionalStrings(QStringList());
        QTest::newRow("zero with a count is kept") << QVariant(QStringList{u"0/2"_qs, u"00"_qs})
                                                   << OptionalStrings(QStringList{u"0/2"_qs, u"00"_qs});
    }
    void setAsArrayKeepsDistinctNonEmptyValuesInFirstOrder()
    {
        QFETCH(QVariant, values);
        QFETCH(OptionalStrings, choices);
        QCOMPARE(Array2SetAsArrayTransformer().transformedValue(values), choices);
    }

    void genreChoicesAppendHistory_data()
    {
        QTest::addColumn<QStringList>("genres");
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QStringList>("choices");
        QTest::newRow("selection first, then history")
            << QStringList{u"Pop"_qs, u""_qs} << QStringList{u"Rock"_qs, u"Pop"_qs}
            << QStringList{u"Pop"_qs, u"Rock"_qs};
        QTest::newRow("empty selection values") << QStringList{u""_qs, u""_qs}
                                                << QStringList{u"Jazz"_qs, u"Rock"_qs}
                                                << QStringList{u"Jazz"_qs, u"Rock"_qs};
        QTest::newRow("no history") << QStringList{u"Ska"_qs, u"Dub"_qs, u"Ska"_qs} << QStringList()
                                    << QStringList{u"Ska"_qs, u"Dub"_qs};
        QTest::newRow("history order kept") << QStringList{u"Dub"_qs}
                                            << QStringList{u"C"_qs, u"Dub"_qs, u"A"_qs, u"B"_qs}
                                            << QStringList{u"Dub"_qs, u"C"_qs, u"A"_qs, u"B"_qs};
    }
    void genreChoicesAppendHistory()
    {
        QFETCH(QStringList, genres);
        QFETCH(QStringList, history);
        QFETCH(QStringList, choices);
        UserDefaults::shared().setObject(history, QStringLiteral("GENRE_HISTORY"));
        QCOMPARE(Genre2ArrayTransformer().transformedValue(QVariant(genres)), OptionalStrings(choices));
        QCOMPARE(Genre2ArrayTransformer().transformedValue(QVariant()), OptionalStrings());
    }

    void discChoicesOfferOneAndOneOfOne_data()
    {
        QTest::addColumn<QStringList>("discs");
        QTest::addColumn<QStringList>("choices");
        QTest::newRow("all empty") << QStringList{u""_qs, u""_qs} << QStringList{u"1"_qs, u"1/1"_qs};
        QTest::newRow("one present") << QStringList{u"1"_qs} << QStringList{u"1"_qs, u"1/1"_qs};
        QTest::newRow("one of one present") << QStringList{u"1/1"_qs, u"2/2"_qs}
                                            << QStringList{u"1/1"_qs, u"2/2"_qs, u"1"_qs};
        QTest::newRow("both present") << QStringList{u"1/1"_qs, u"1"_qs} << QStringList{u"1/1"_qs, u"1"_qs};
        QTest::newRow("leading zero is another value") << QStringList{u"01"_qs}
                                                       << QStringList{u"01"_qs, u"1"_qs, u"1/1"_qs};
    }
    void discChoicesOfferOneAndOneOfOne()
    {
        QFETCH(QStringList, discs);
        QFETCH(QStringList, choices);
        QCOMPARE(Disc2ArrayTransformer().transformedValue(QVariant(discs)), OptionalStrings(choices));
    }

    void numberToString_data()
    {
        QTest::addColumn<QVariant>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("no value") << QVariant() << u""_qs;
        QTest::newRow("zero") << QVariant(qint64(0)) << u""_qs;
        QTest::newRow("int zero") << QVariant(0) << u""_qs;
        QTest::newRow("year") << QVariant(qint64(1999)) << u"1999"_qs;
        QTest::newRow("negative") << QVariant(-5) << u"-5"_qs;
        QTest::newRow("large") << QVariant(qint64(9000000000)) << u"9000000000"_qs;
    }
    void numberToString()
    {
        QFETCH(QVariant, number);
        QFETCH(QString, text);
        const QString shown = Number2StringTransformer::transformedValue(number);
        QCOMPARE(shown, text);
        QVERIFY(!shown.isNull());
    }

    void stringToNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("number");
        QTest::newRow("no text") << QString() << QVariant();
        QTest::newRow("empty text") << u""_qs << QVariant(qint64(0));
        QTest::newRow("digits") << u"1999"_qs << QVariant(qint64(1999));
        QTest::newRow("blanks, sign, tail") << u"  -12abc"_qs << QVariant(qint64(-12));
        QTest::newRow("plus sign") << u"+7"_qs << QVariant(qint64(7));
        QTest::newRow("no digits") << u"abc"_qs << QVariant(qint64(0));
        QTest::newRow("inner blank ends the number") << u"19 99"_qs << QVariant(qint64(19));
        QTest::newRow("overflow is clamped") << u"99999999999999999999"_qs
                                             << QVariant(std::numeric_limits<qint64>::max());
    }
    void stringToNumber()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, number);
        const QVariant value = Number2StringTransformer::reverseTransformedValue(text);
        QCOMPARE(value.isValid(), number.isValid());
        if (number.isValid())
            QCOMPARE(value.toLongLong(), number.toLongLong());
    }

    void clearedYearShowsEmpty()
    {
        auto song = std::make_unique<Song>();
        song->setYear(qint64(1984));
        song->setYear(qint64(0));
        QCOMPARE(Number2StringTransformer::transformedValue(song->valueForKey(u"year")), u""_qs);
    }

    void lengths_data()
    {
        QTest::addColumn<QVariant>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("no value") << QVariant() << u"0:00"_qs;
        QTest::newRow("not a number") << QVariant(u"90"_qs) << u"0:00"_qs;
        QTest::newRow("zero") << QVariant(0) << u"0:00"_qs;
        QTest::newRow("negative") << QVariant(-30) << u"0:00"_qs;
        QTest::newRow("one second") << QVariant(1) << u"0:01"_qs;
        QTest::newRow("59") << QVariant(59) << u"0:59"_qs;
        QTest::newRow("61") << QVariant(qint32(61)) << u"1:01"_qs;
        QTest::newRow("3599") << QVariant(3599) << u"59:59"_qs;
        QTest::newRow("3600") << QVariant(3600) << u"1:00:00"_qs;
        QTest::newRow("3661") << QVariant(qint64(3661)) << u"1:01:01"_qs;
        QTest::newRow("ten hours") << QVariant(36061) << u"10:01:01"_qs;
        QTest::newRow("fraction is cut") << QVariant(61.9) << u"1:01"_qs;
    }
    void lengths()
    {
        QFETCH(QVariant, seconds);
        QFETCH(QString, text);
        QCOMPARE(Number2LengthTransformer::transformValue(seconds), text);
        QCOMPARE(Number2LengthTransformer().transformedValue(seconds), text);
    }

    void dirtyWhenAnySongIsModified_data()
    {
        QTest::addColumn<QList<bool>>("flags");
        QTest::addColumn<bool>("dirty");
        QTest::newRow("none") << QList<bool>() << false;
        QTest::newRow("all clean") << QList<bool>{false, false} << false;
        QTest::newRow("last dirty") << QList<bool>{false, false, true} << true;
        QTest::newRow("first dirty") << QList<bool>{true, false} << true;
    }
    void dirtyWhenAnySongIsModified()
    {
        QFETCH(QList<bool>, flags);
        QFETCH(bool, dirty);
        QCOMPARE(Songs2IsDirtyTransformer::transformedValue(flags), dirty);

        std::vector<std::unique_ptr<Song>> owned;
        QList<Song *> songs;
        for (bool modified : flags) {
            owned.push_back(std::make_unique<Song>());
            if (modified)
                owned.back()->setComment(u"edited"_qs);
            songs.append(owned.back().get());
        }
        QCOMPARE(Songs2IsDirtyTransformer::transformedValue(songs), dirty);
    }

    void fileNameColour_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("renamable");
        QTest::addColumn<TextColor>("colour");
        QTest::newRow("sane, renamable") << u"Song.mp3"_qs << true << TextColor::Normal;
        QTest::newRow("insane, renamable") << u"What?.mp3"_qs << true << TextColor::Red;
        QTest::newRow("blanks, renamable") << u"A  B.mp3"_qs << true << TextColor::Red;
        QTest::newRow("insane, not renamable") << u"What?.mp3"_qs << false << TextColor::Disabled;
        QTest::newRow("sane, not renamable") << u"Song.mp3"_qs << false << TextColor::Disabled;
    }
    void fileNameColour()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, renamable);
        QFETCH(TextColor, colour);
        const std::unique_ptr<Song> song = songNamed(fileName, renamable);
        QCOMPARE(song->fileName(), fileName);
        QCOMPARE(Song2TextColorTransformer::transformedValue(song.get()), colour);
    }

    void noSongHasNormalColour()
    {
        QCOMPARE(Song2TextColorTransformer::transformedValue(nullptr), TextColor::Normal);
    }

    void listCounts_data()
    {
        QTest::addColumn<QVariant>("list");
        QTest::addColumn<bool>("nonEmpty");
        QTest::addColumn<bool>("multiple");
        QTest::newRow("no value") << QVariant() << false << false;
        QTest::newRow("a text is not a list") << QVariant(u"abc"_qs) << false << false;
        QTest::newRow("bytes are not a list") << QVariant(QByteArray("ab")) << false << false;
        QTest::newRow("a number") << QVariant(3) << false << false;
        QTest::newRow("empty") << QVariant(QVariantList()) << false << false;
        QTest::newRow("one") << QVariant(QVariantList{1}) << true << false;
        QTest::newRow("two texts") << QVariant(QStringList{u"a"_qs, u"b"_qs}) << true << true;
        QTest::newRow("one picture") << QVariant::fromValue(pictures(u"a"_qs)) << true << false;
        QTest::newRow("three pictures") << QVariant::fromValue(pictures(u"abc"_qs)) << true << true;
    }
    void listCounts()
    {
        QFETCH(QVariant, list);
        QFETCH(bool, nonEmpty);
        QFETCH(bool, multiple);
        QCOMPARE(Array2IsNonEmptyTransformer::transformedValue(list), nonEmpty);
        QCOMPARE(Array2IsMultipleTransformer::transformedValue(list), multiple);
    }

    void selectionIndexValidity()
    {
        QVERIFY(!SelectionIndex2IsValidTransformer::transformedValue(NoneIndex));
        QVERIFY(SelectionIndex2IsValidTransformer::transformedValue(0));
        QVERIFY(SelectionIndex2IsValidTransformer::transformedValue(NoneIndex - 1));
    }

    void stringPresence()
    {
        QVERIFY(!String2IsEmptyTransformer::transformedValue(QString()));
        QVERIFY(!String2IsEmptyTransformer::transformedValue(u""_qs));
        QVERIFY(String2IsEmptyTransformer::transformedValue(u" "_qs));
        QVERIFY(String2IsEmptyTransformer::transformedValue(u"Lyrics"_qs));
    }

    void distinctPicturesInFirstOrder_data()
    {
        QTest::addColumn<QStringList>("songs");
        QTest::addColumn<QString>("list");
        QTest::newRow("no songs") << QStringList() << u""_qs;
        QTest::newRow("songs without pictures") << QStringList{u""_qs, u""_qs} << u""_qs;
        QTest::newRow("shared cover") << QStringList{u"a"_qs, u"a"_qs} << u"a"_qs;
        QTest::newRow("song order, then picture order") << QStringList{u"ba"_qs, u"cab"_qs, u"d"_qs}
                                                        << u"bacd"_qs;
        QTest::newRow("later songs add only new ones") << QStringList{u""_qs, u"x"_qs, u"yx"_qs}
                                                       << u"xy"_qs;
    }
    void distinctPicturesInFirstOrder()
    {
        QFETCH(QStringList, songs);
        QFETCH(QString, list);
        QList<QList<Image>> lists;
        for (const QString &song : songs)
            lists.append(pictures(song));
        const std::optional<QList<Image>> distinct = ImagesOfSongs2ArrayTransformer::transformedValue(lists);
        QVERIFY(distinct.has_value());
        QCOMPARE(letters(*distinct), list);
    }

    void noImageListsGiveNoPictureList()
    {
        QVERIFY(!ImagesOfSongs2ArrayTransformer::transformedValue(std::optional<QList<QList<Image>>>()));
        QVERIFY(!ImagesOfSongs2ArrayTransformer::transformedValue(QList<Song *>()));
    }

    void picturesOfSongs()
    {
        auto first = std::make_unique<Song>();
        auto second = std::make_unique<Song>();
        first->addImage(picture(u'a'));
        second->addImage(picture(u'b'));
        second->addImage(picture(u'a'));
        const auto distinct = ImagesOfSongs2ArrayTransformer::transformedValue(QList<Song *>{second.get(), first.get()});
        QVERIFY(distinct.has_value());
        QCOMPARE(letters(*distinct), u"ba"_qs);
    }

    void valuesOfSelectionFeedTheChoices()
    {
        auto first = std::make_unique<Song>();
        auto second = std::make_unique<Song>();
        auto third = std::make_unique<Song>();
        first->setYear(qint64(2001));
        third->setYear(qint64(1999));
        const QList<Song *> songs{first.get(), second.get(), third.get()};
        const QVariantList years = valuesForKey(songs, u"year");
        QCOMPARE(years.size(), 3);
        QCOMPARE(Array2SetAsArrayTransformer().transformedValue(years),
                 OptionalStrings(QStringList{u"2001"_qs, u"1999"_qs}));
        QCOMPARE(Array2SetAsArrayTransformer().transformedValue(valuesForKey(songs, u"title")),
                 OptionalStrings(QStringList()));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestTransformers)
#include "test_transformers.moc"
