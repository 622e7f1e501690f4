#include "editor/outsidelinks.h"
#include "fixtures.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "recordingopener.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

struct SongValues {
    QString artist;
    QString album;
    QString title;
    QString path;
};

std::unique_ptr<Song> makeSong(const SongValues &values)
{
    auto song = std::make_unique<Song>();
    song->setArtist(values.artist);
    song->setAlbum(values.album);
    song->setTitle(values.title);
    song->setFilePath(values.path);
    return song;
}

const OutsideLinks::MakerValues Maker{QStringLiteral("shop.test"), QStringLiteral("help+me@quorl.test"),
                                      QUrl(QStringLiteral("https://quorl.test/privacy"))};

} // namespace

Q_DECLARE_METATYPE(OutsideLinks::FolderGroup)

class TestOutsideLinks : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(useEditorSettings(m_settings));
    }

    void init() { UserDefaults::shared().removeObjectForKey(QStringLiteral("AMAZON_TLD")); }

    void storeSearch_data()
    {
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("album");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("topLevelDomain");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("link");

        const QString base = QStringLiteral("http://shop.test%1/s?url=search-alias%3Daps&field-keywords=%2");
        QTest::newRow("artist and album")
            << "Nina" << "Blue Hour" << "Dawn" << QString() << "Nina+Blue Hour"
            << base.arg(".com", "Nina+Blue%20Hour");
        QTest::newRow("title only") << "" << "" << "Dawn" << QString() << "+Dawn" << base.arg(".com", "+Dawn");
        QTest::newRow("artist and title") << "Nina" << "" << "Dawn" << QString() << "Nina+Dawn"
                                          << base.arg(".com", "Nina+Dawn");
        QTest::newRow("artist only") << "Nina" << "" << "" << QString() << "Nina" << base.arg(".com", "Nina");
        QTest::newRow("stored domain") << "Nina" << "Blau" << "" << ".de" << "Nina+Blau"
                                       << base.arg(".de", "Nina+Blau");
        QTest::newRow("link characters and accents")
            << "A & B" << "Été=1?#" << "" << QString() << "A & B+Été=1?#"
            << base.arg(".com", "A%20%26%20B+%C3%89t%C3%A9%3D1%3F%23");
    }

    void storeSearch()
    {
        QFETCH(QString, artist);
        QFETCH(QString, album);
        QFETCH(QString, title);
        QFETCH(QString, topLevelDomain);
        QFETCH(QString, query);
        QFETCH(QString, link);
        if (!topLevelDomain.isEmpty())
            UserDefaults::shared().setObject(topLevelDomain, QStringLiteral("AMAZON_TLD"));

        const auto first = makeSong({artist, album, title, "/music/a.mp3"});
        const auto second = makeSong({"Other", "Record", "Song", "/music/b.mp3"});
        QCOMPARE(OutsideLinks::storeQuery(*first), query);

        RecordingOpener opener;
        OutsideLinks links(&opener, Maker);
        links.searchInAmazon({first.get(), second.get()});
        QCOMPARE(opener.links.size(), 1);
        QVERIFY(opener.links.first().isValid());
        QCOMPARE(opener.links.first().toString(QUrl::FullyEncoded), link);
        QVERIFY(opener.reveals.isEmpty());
    }

    void reveal_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QList<OutsideLinks::FolderGroup>>("groups");

        QTest::newRow("none") << QStringList() << QList<OutsideLinks::FolderGroup>();
        QTest::newRow("three songs, two folders")
            << QStringList{"/m/x/2.mp3", "/m/y/1.flac", "/m/x/1.mp3"}
            << QList<OutsideLinks::FolderGroup>{{"/m/x", {"/m/x/2.mp3", "/m/x/1.mp3"}}, {"/m/y", {"/m/y/1.flac"}}};
        QTest::newRow("nested folder is another folder")
            << QStringList{"/m/a.mp3", "/m/sub/a.mp3"}
            << QList<OutsideLinks::FolderGroup>{{"/m", {"/m/a.mp3"}}, {"/m/sub", {"/m/sub/a.mp3"}}};
        QTest::newRow("root") << QStringList{"/a.mp3"} << QList<OutsideLinks::FolderGroup>{{"/", {"/a.mp3"}}};
    }

    void reveal()
    {
        QFETCH(QStringList, paths);
        QFETCH(QList<OutsideLinks::FolderGroup>, groups);
        std::vector<std::unique_ptr<Song>> owned;
        QList<Song *> selected;
        for (const QString &path : paths) {
            owned.push_back(makeSong({"", "", "", path}));
            selected.append(owned.back().get());
        }
        QCOMPARE(OutsideLinks::groupByFolder(selected), groups);

        RecordingOpener opener;
        OutsideLinks(&opener, Maker).openInFinder(selected);
        QCOMPARE(opener.reveals.size(), groups.size());
        for (qsizetype i = 0; i < groups.size(); ++i) {
            QCOMPARE(opener.reveals.at(i).first, groups.at(i).folder);
            QCOMPARE(opener.reveals.at(i).second, groups.at(i).filePaths);
        }
        QVERIFY(opener.links.isEmpty());
    }

    void feedbackAndPrivacy()
    {
        const QString subject = Localized::text("QuorlFeedback");
        QVERIFY2(subject != QLatin1String("QuorlFeedback"), "the subject has a text in the string table");
        RecordingOpener opener;
        OutsideLinks links(&opener, Maker);
        // A store search without songs opens nothing.
        links.searchInAmazon({});
        links.sendFeedback();
        links.showPrivacyPolicy();
        QCOMPARE(opener.links,
                 (QList<QUrl>{OutsideLinks::mailLink(Maker.supportAddress, subject), Maker.privacyPage}));
        // The address and the subject are escaped.
        QCOMPARE(OutsideLinks::mailLink(Maker.supportAddress, "Quorl feedback & more").toString(QUrl::FullyEncoded),
                 "mailto:help%2Bme@quorl.test?SUBJECT=Quorl%20feedback%20%26%20more");
    }

    void configuredValuesAreUsable()
    {
        const OutsideLinks::MakerValues values = OutsideLinks::configuredValues();
        QVERIFY(!values.storeHost.isEmpty());
        QVERIFY(values.supportAddress.contains(QLatin1Char('@')));
        QVERIFY(values.privacyPage.isValid());
        QCOMPARE(values.privacyPage.scheme().left(4), QStringLiteral("http"));
    }

private:
    QTemporaryDir m_settings;
};

QTEST_GUILESS_MAIN(TestOutsideLinks)
#include "test_outsidelinks.moc"
