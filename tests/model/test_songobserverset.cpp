#include "model/song.h"

#include <QTest>

#include <functional>

namespace {

// Writes what it hears into a shared log under its name; can run an action on each notice.
class Listener : public SongObserver {
public:
    Listener(QString name, QStringList *log) : m_name(std::move(name)), m_log(log) {}
    void songFieldChanged(Song &song, SongField field) override
    {
        m_log->append(m_name + u':' + Song::keyForField(field));
        if (onNotice)
            onNotice(song);
    }
    void songModifiedDidChange(Song &) override { m_log->append(m_name + QStringLiteral(":modified")); }
    std::function<void(Song &)> onNotice;

private:
    QString m_name;
    QStringList *m_log;
};

} // namespace

class TestSongObserverSet : public QObject {
    Q_OBJECT

private slots:
    void everyListenerHearsInTurn_data()
    {
        QTest::addColumn<int>("listeners");
        QTest::addColumn<QList<int>>("removed");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("none") << 0 << QList<int>{} << QStringList{};
        QTest::newRow("three") << 3 << QList<int>{}
                               << QStringList{"0:title", "1:title", "2:title", "0:modified", "1:modified", "2:modified"};
        QTest::newRow("three, middle gone") << 3 << QList<int>{1}
                                            << QStringList{"0:title", "2:title", "0:modified", "2:modified"};
        QTest::newRow("three, first two gone") << 3 << QList<int>{0, 1} << QStringList{"2:title", "2:modified"};
        QTest::newRow("two, both gone") << 2 << QList<int>{1, 0} << QStringList{};
    }
    void everyListenerHearsInTurn()
    {
        QFETCH(int, listeners);
        QFETCH(QList<int>, removed);
        QFETCH(QStringList, heard);
        QStringList log;
        std::vector<std::unique_ptr<Listener>> all;
        Song song;
        for (int i = 0; i < listeners; ++i) {
            all.push_back(std::make_unique<Listener>(QString::number(i), &log));
            song.addObserver(all.back().get());
            // Adding again changes nothing.
            song.addObserver(all.back().get());
        }
        for (int i : std::as_const(removed))
            song.removeObserver(all.at(size_t(i)).get());
        QCOMPARE(song.observerCount(), listeners - int(removed.size()));
        for (int i = 0; i < listeners; ++i)
            QCOMPARE(song.hasObserver(all.at(size_t(i)).get()), !removed.contains(i));
        song.setTitle(QStringLiteral("T"));
        QCOMPARE(log, heard);
    }
    void listenerRemovedDuringNoticeIsSkipped()
    {
        QStringList log;
        Song song;
        Listener first(QStringLiteral("a"), &log);
        auto second = std::make_unique<Listener>(QStringLiteral("b"), &log);
        Listener third(QStringLiteral("c"), &log);
        song.addObserver(&first);
        song.addObserver(second.get());
        song.addObserver(&third);
        // The first one ends the second one's subscription and the second one itself.
        first.onNotice = [&](Song &changed) {
            if (!second)
                return;
            changed.removeObserver(second.get());
            second.reset();
        };
        song.setBitrate(128);
        QCOMPARE(log, (QStringList{"a:bitrate", "c:bitrate"}));
        QCOMPARE(song.observerCount(), 2);
    }
    void listenerAddedDuringNoticeHearsNextChange()
    {
        QStringList log;
        Song song;
        Listener first(QStringLiteral("a"), &log);
        Listener late(QStringLiteral("z"), &log);
        song.addObserver(&first);
        first.onNotice = [&](Song &changed) { changed.addObserver(&late); };
        song.setLength(10);
        QCOMPARE(log, QStringList{"a:length"});
        log.clear();
        first.onNotice = [&](Song &changed) { changed.removeObserver(&first); };
        song.setLength(20);
        QCOMPARE(log, (QStringList{"a:length", "z:length"}));
        QCOMPARE(song.observerCount(), 1);
        QVERIFY(song.hasObserver(&late));
    }
};

QTEST_GUILESS_MAIN(TestSongObserverSet)
#include "test_songobserverset.moc"
