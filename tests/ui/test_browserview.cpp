#include "downloadrecorder.h"
#include "httptestserver.h"
#include "lookup/browsercontroller.h"
#include "lookup/downloadmanager.h"
#include "lookup/release.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "ui/browserview.h"
#include "ui/coverstrip.h"
#include "ui/desktopnotifier.h"
#include "ui/mainwindow.h"
#include "ui/preferencesdialog.h"
#include "ui/progresssheet.h"
#include "ui/releasetable.h"
#include "ui/songtableview.h"
#include "ui/viewswitch.h"
#include "windowtesting.h"

#include <QDBusAbstractAdaptor>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

using namespace WindowTesting;

namespace {

QByteArray corpusFile(const QString &name)
{
    QFile file(QStringLiteral(QUORL_CORPUS_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Real release documents: 6 tracks and 4 pictures, then 5 and 4 tracks with two pictures each
// that have no address (as sent to a client without a token).
const QStringList Releases = {
    "discogs/releases/buntine_discogs__valid_release.json", "discogs/releases/jesseward_discogstagger__40522.json",
    "discogs/releases/fptavares_scrobbler__collection_test_data.dart__jsonForReleaseWithTwoArtists.json"};
const QByteArray Picture = corpusFile("beets/abbey.jpg");

// The notification service of the desktop as a test plays it: records what it is told.
class FakeNotifications : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    explicit FakeNotifications(QObject *owner) : QDBusAbstractAdaptor(owner) {}
    QStringList received;

public slots:
    uint Notify(const QString &app, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &, int)
    {
        received.append(app + '|' + summary + '|' + body);
        return 1;
    }
};

} // namespace

// The browser view in the window against the scripted server: searching, picking covers,
// applying to songs, a search stopped or left by the window, the alerts and the notification.
class TestBrowserView : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { DownloadManager::setDefaultLimits(quickDownloadLimits()); }

    void init()
    {
        m_server = std::make_unique<HttpTestServer>();
        m_test.emplace();
        UserDefaults::shared().setObject(m_server->url(""), "DISCOGS_API_URL");
        UserDefaults::shared().setBool(false, "SEARCH_FOR_CDS_ONLY");
        QVERIFY(m_server->isListening() && !Picture.isEmpty());
        QVERIFY(m_test->open({{"a.mp3", "t1", "Nina", "Blue", "1"}, {"b.mp3", "t2", "", "", ""}, {"c.mp3", "t3", "", "", ""}}));
    }

    void cleanup()
    {
        m_test.reset();
        m_server.reset();
    }

    void searchFillsStripAndAppliesToSongs_data()
    {
        QTest::addColumn<QString>("how"); // how the cover is picked
        QTest::addColumn<int>("cover");
        QTest::addColumn<int>("release");
        QTest::addColumn<QList<int>>("unchecked"); // -1: Uncheck All; 10 + row: Space on the row
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<int>("pictures");
        // Release 1 (covers 0-3) has six tracks for the three songs, release 2 (4, 5) five,
        // release 3 (6, 7: placeholders) four.
        QTest::newRow("first after the search, three unchecked") << "" << 0 << 0 << QList<int>{0, 1, 2} << ""
            << QStringList{"Södermalm", "Norrmalm", "Gamla Stan"} << 1;
        QTest::newRow("chosen by index, none checked, cancel") << "index" << 5 << 1 << QList<int>{-1} << "Cancel"
            << QStringList{"t1", "t2", "t3"} << 0;
        QTest::newRow("clicked, one unchecked by Space") << "click" << 6 << 2 << QList<int>{11} << ""
            << QStringList{"Last Hour's Bow", "Wedding", "I Know Him"} << 0;
        QTest::newRow("arrow key, more tracks than songs") << "key" << 1 << 0 << QList<int>{} << "Continue"
            << QStringList{"Östermalm", "Vasastaden", "Kungsholmen"} << 1;
    }

    void searchFillsStripAndAppliesToSongs()
    {
        QFETCH(QString, how);
        QFETCH(int, cover);
        QFETCH(int, release);
        QFETCH(QList<int>, unchecked);
        QFETCH(QString, answer);
        QFETCH(QStringList, titles);
        QFETCH(int, pictures);
        serve();
        m_server->setResponse("/img/1-3.jpg", HttpTestResponse::withBody(corpusFile("beets/image-2x3.png")));
        QSignalSpy notified(window().notifier(), &DesktopNotifier::delivered);
        QVERIFY(search("Persuader"));
        CoverStrip *strip = view().strip();
        QCOMPARE(strip->count(), 8);
        QCOMPARE(view().statusLine()->text(),
                 Localized::text("NSearchResults").arg(3) + Localized::text("NCovers").arg(3));
        QVERIFY(window().progressSheet()->isIdle());
        QTRY_COMPARE(notified.size(), 1);
        // The strip takes the keyboard from the search field (the window's, once it is active again).
        QTRY_COMPARE(window().focusWidget(), strip);
        QVERIFY(!view().searchField()->hasSelectedText());
        if (how == "index")
            strip->setSelectedIndex(cover);
        else if (how == "click")
            QTest::mouseClick(strip->viewport(), Qt::LeftButton, {}, strip->visualItemRect(cover).center());
        else if (how == "key")
            QTest::keyClick(strip, Qt::Key_Right);
        QCOMPARE(strip->selectedIndex(), cover);
        const Release &shown = *view().browser().releases().at(release);
        ReleaseTable *table = view().releaseTable();
        const QAbstractItemModel *rows = table->model();
        QCOMPARE(rows->rowCount(), shown.countOfTitles());
        for (int row = 0; row < rows->rowCount(); ++row) {
            QCOMPARE(rows->index(row, ReleaseTableModel::TitleColumn).data().toString(), shown.titles().at(row));
            QCOMPARE(rows->index(row, ReleaseTableModel::TitleColumn).data(Qt::CheckStateRole), Qt::Checked);
            QCOMPARE(rows->index(row, ReleaseTableModel::TargetFileColumn).data().toString(),
                     row < 3 ? QStringLiteral("abc").mid(row, 1) + ".mp3" : Localized::text("NoneSelected"));
        }
        for (int row : unchecked) {
            if (row < 0) {
                table->uncheckAllButton()->click();
            } else if (row >= 10) {
                table->view()->setCurrentIndex(rows->index(row - 10, ReleaseTableModel::ArtistColumn));
                QTest::keyClick(table->view(), Qt::Key_Space);
            } else {
                QVERIFY(table->model()->setData(rows->index(row, ReleaseTableModel::TitleColumn), Qt::Unchecked,
                                                Qt::CheckStateRole));
            }
        }
        if (unchecked.size() == 3)
            QCOMPARE(rows->index(4, ReleaseTableModel::TargetFileColumn).data().toString(), "b.mp3");
        DialogAnswerer answers;
        if (!answer.isEmpty())
            answers.answer(answer);
        table->applyButton()->click();
        QCOMPARE(answers.asked.size(), answer.isEmpty() ? 0 : 1);
        QCOMPARE(answers.unanswered, 0);
        QCOMPARE(window().viewSwitch()->isEditorVisible(), answer != "Cancel");
        // The songs show as changed until they are saved.
        QTRY_COMPARE(window().isWindowModified(), answer != "Cancel");
        window().action(MainWindow::Command::Save)->trigger();
        QVERIFY(waitForSave(window()));
        for (int i = 0; i < 3; ++i) {
            const auto saved = reread(*song(window(), i));
            QCOMPARE(saved->title(), titles.at(i));
            QCOMPARE(saved->images().size(), pictures);
            if (pictures)
                QCOMPARE(saved->images().first().data(), Picture);
            if (titles.at(i) != QStringLiteral("t%1").arg(i + 1)) {
                QCOMPARE(saved->album(), shown.album());
                QCOMPARE(saved->albumArtist(), shown.artist());
                QCOMPARE(saved->year(), shown.year());
            }
        }
    }

    void interruptedSearchLeavesNothingBehind_data()
    {
        QTest::addColumn<QString>("slow");
        QTest::addColumn<int>("requestsOut");
        QTest::addColumn<QString>("how");
        QTest::newRow("stop while loading covers") << "/img/1-2.jpg" << 8 << "stop";
        QTest::newRow("new search while fetching releases") << "/releases/3" << 4 << "search";
        QTest::newRow("window closed while loading covers") << "/img/1-0.jpg" << 8 << "close";
        QTest::newRow("window gone while fetching releases") << "/releases/1" << 4 << "delete";
    }

    void interruptedSearchLeavesNothingBehind()
    {
        QFETCH(QString, slow);
        QFETCH(int, requestsOut);
        QFETCH(QString, how);
        serve(slow, 2500);
        const auto noResults = HttpTestResponse::withBody(R"({"results": []})");
        m_server->setResponse("/database/search?q=again&type=release", noResults);
        // A release number first: its two covers are what an interrupted search leaves in place.
        m_server->setResponse("/releases/7", HttpTestResponse::withBody(corpusFile(Releases.at(1))));
        QVERIFY(search("7"));
        QCOMPARE(view().strip()->count(), 2);
        const QString status = view().statusLine()->text();
        m_server->clearRequests();
        QSignalSpy notified(window().notifier(), &DesktopNotifier::delivered);
        QSignalSpy stopped(&view().browser(), &BrowserController::searchStopped);
        QSignalSpy ended(&view().browser(), &BrowserController::releasesChanged);
        QVERIFY(search("Persuader", false));
        QTRY_COMPARE_WITH_TIMEOUT(m_server->requestCount(), requestsOut, 5000);
        ProgressSheet *sheet = window().progressSheet();
        QVERIFY(sheet->isVisible());
        // The window keeps serving events meanwhile: the sheet's Stop is clicked like any button.
        DialogAnswerer answers;
        if (how == "stop")
            QTest::mouseClick(sheet->stopButton(), Qt::LeftButton);
        else if (how == "search") {
            // Not typed: the sheet keeps the window from the keyboard.
            view().searchField()->setText("again");
            view().search();
            QVERIFY(ended.wait(5000));
        }
        else if (how == "close")
            QVERIFY(window().close());
        else
            m_test->window.reset();
        if (how == "stop")
            QCOMPARE(stopped.size(), 1);
        QTest::qWait(800);
        QCOMPARE(m_server->requestCount(), requestsOut + (how == "search" ? 1 : 0));
        QCOMPARE(answers.asked, QStringList());
        if (how == "delete")
            return;
        QVERIFY(!sheet->isVisible());
        QVERIFY(!view().isSearching());
        QCOMPARE(notified.size(), how == "search" ? 1 : 0);
        QCOMPARE(ended.size(), how == "search" ? 1 : 0);
        QCOMPARE(view().strip()->count(), how == "search" ? 0 : 2);
        QCOMPARE(view().statusLine()->text() == status, how != "search");
    }

    void failedSearchesAlert_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("message"); // the details asked for after it when the body is a document
        QTest::newRow("401 to the search") << "/database/search" << 401 << QByteArray(R"({"message": "no"})")
            << "DiscogsRefusedRequest";
        QTest::newRow("malformed release, details") << "/releases/1" << 200
            << corpusFile("discogs/malformed/maxep_DiscogsAPI__release.json") << "QuorlCouldNotQueryDiscogs";
    }

    void failedSearchesAlert()
    {
        QFETCH(QString, target);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, message);
        const bool details = status == 200;
        serve();
        m_server->setResponse(target, HttpTestResponse::withBody(body, status));
        DialogAnswerer answerer;
        answerer.answer(details ? "ShowDetails" : "OK");
        answerer.answer("OK");
        QVERIFY(search("Persuader"));
        QStringList asked{Localized::text(message)};
        if (details)
            asked.append(Localized::text("ErrorDetails"));
        QTRY_COMPARE(answerer.asked, asked);
        QCOMPARE(answerer.unanswered, 0);
        QCOMPARE(view().strip()->count(), 0);
        QVERIFY(window().progressSheet()->isIdle());
        QVERIFY(!window().progressSheet()->isVisible());
    }

    void searchInDiscogsTakesTheSelection_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QByteArray>("authorization");
        QTest::newRow("artist and album") << 0 << "" << "Nina%20Blue" << QByteArray();
        QTest::newRow("title only: the text before stays") << 1 << "" << "kept" << QByteArray();
        QTest::newRow("token from the preferences") << 0 << " abc123 " << "Nina%20Blue"
                                                    << QByteArray("Discogs token=abc123");
    }

    void searchInDiscogsTakesTheSelection()
    {
        QFETCH(int, row);
        QFETCH(QString, token);
        QFETCH(QString, query);
        QFETCH(QByteArray, authorization);
        m_server->setResponse("/database/search", HttpTestResponse::withBody(R"({"results": []})"));
        QLineEdit *tokenField = window().preferences()->findChild<QLineEdit *>("discogsToken");
        QVERIFY(tokenField && tokenField->echoMode() != QLineEdit::Normal);
        tokenField->setText(token);
        emit tokenField->editingFinished();
        view().searchField()->setText("kept");
        window().table()->setSelectedRows({row});
        window().refreshNow();
        QSignalSpy ended(&view().browser(), &BrowserController::releasesChanged);
        window().action(MainWindow::Command::SearchInDiscogs)->trigger();
        QVERIFY(!window().viewSwitch()->isEditorVisible());
        QVERIFY(ended.wait(5000));
        const HttpTestRequest request = m_server->requests().at(0);
        QCOMPARE(request.target, "/database/search?q=" + query.toUtf8() + "&type=release");
        QCOMPARE(request.header("Authorization"), authorization);
        QCOMPARE(view().statusLine()->text(), Localized::text("NoSearchResultsFound"));
    }

    void notifierFallsBack_data()
    {
        QTest::addColumn<bool>("daemon");
        QTest::addColumn<bool>("service");
        QTest::addColumn<DesktopNotifier::Route>("route");
        // The offscreen platform has no tray: without a service nothing is shown.
        QTest::newRow("no bus") << false << false << DesktopNotifier::Route::None;
        QTest::newRow("bus without the service") << true << false << DesktopNotifier::Route::None;
        QTest::newRow("service on the bus") << true << true << DesktopNotifier::Route::Service;
    }

    void notifierFallsBack()
    {
        QFETCH(bool, daemon);
        QFETCH(bool, service);
        QFETCH(DesktopNotifier::Route, route);
        QProcess bus;
        QString address = "unix:path=/nonexistent/quorl-test/bus";
        if (daemon) {
            bus.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
            if (!bus.waitForReadyRead(5000))
                QFAIL("dbus-daemon did not start (scripts/install-deps.sh installs it)");
            address = QString::fromUtf8(bus.readLine()).trimmed();
        }
        const QString name = QStringLiteral("notify-%1").arg(QTest::currentDataTag());
        QDBusConnection server = QDBusConnection::connectToBus(address, name + "-server");
        QObject owner;
        auto *fake = new FakeNotifications(&owner);
        if (service) {
            QVERIFY(server.registerService("org.freedesktop.Notifications"));
            QVERIFY(server.registerObject("/org/freedesktop/Notifications", &owner));
        }
        DesktopNotifier notifier(QDBusConnection::connectToBus(address, name));
        QSignalSpy delivered(&notifier, &DesktopNotifier::delivered);
        notifier.notify("Done", "Nina Blue");
        QTRY_COMPARE_WITH_TIMEOUT(delivered.size(), 1, 5000);
        QCOMPARE(delivered.first().at(0).value<DesktopNotifier::Route>(), route);
        QCOMPARE(fake->received, service ? QStringList{"Quorl|Done|Nina Blue"} : QStringList());
        QDBusConnection::disconnectFromBus(name);
        QDBusConnection::disconnectFromBus(name + "-server");
        bus.kill();
        bus.waitForFinished();
    }

private:
    // Scripts the search and the three releases; the target given is answered after delayMs.
    void serve(const QString &slow = {}, int delayMs = 0)
    {
        const auto answer = [&](const QString &path, const QByteArray &body) {
            HttpTestResponse response = HttpTestResponse::withBody(body);
            response.delayMs = path == slow ? delayMs : 0;
            m_server->setResponse(path, response);
        };
        QJsonArray results;
        for (int release = 1; release <= Releases.size(); ++release) {
            QJsonObject document = QJsonDocument::fromJson(corpusFile(Releases.at(release - 1))).object();
            QJsonArray images = document.value("images").toArray();
            for (int i = 0; i < images.size(); ++i) {
                QJsonObject image = images.at(i).toObject();
                if (image.value("uri").toString().isEmpty())
                    continue;
                const QString path = QStringLiteral("/img/%1-%2.jpg").arg(release).arg(i);
                image.insert("uri", m_server->url(path));
                images.replace(i, image);
                answer(path, Picture);
            }
            document.insert("images", images);
            const QString path = QStringLiteral("/releases/%1").arg(release);
            answer(path, QJsonDocument(document).toJson());
            results.append(QJsonObject{{"resource_url", m_server->url(path)}});
        }
        answer("/database/search", QJsonDocument(QJsonObject{{"results", results}}).toJson());
    }

    // Types the text and presses Return in the browser; waits for the end when asked to.
    bool search(const QString &text, bool wait = true)
    {
        window().action(MainWindow::Command::ShowBrowser)->trigger();
        QSignalSpy ended(&view().browser(), &BrowserController::releasesChanged);
        view().searchField()->setText(text);
        QTest::keyClick(view().searchField(), Qt::Key_Return);
        return !wait || ended.wait(20000);
    }

    MainWindow &window() const { return **m_test; }
    BrowserView &view() const { return *window().browserView(); }

    std::unique_ptr<HttpTestServer> m_server;
    std::optional<TestWindow> m_test;
};

QTEST_MAIN(TestBrowserView)
#include "test_browserview.moc"
