#include "measurement.h"

#include "baselinereader.h"
#include "silentuserinterface.h"

#include "editor/editorcontroller.h"
#include "model/song.h"

#include <QElapsedTimer>

#include <algorithm>
#include <sys/resource.h>

namespace Measurement {

namespace {

// One pass: the plain TagLib read, or the editor's load (walk and parse) into a fresh list.
void pass(Mode mode, const QString &folder, int threads, Sample *sample)
{
    if (mode == Mode::Baseline) {
        const QStringList paths = BaselineReader::collect(folder);
        sample->checksum += BaselineReader::readAll(paths);
        sample->songs = paths.size();
        return;
    }
    SilentUserInterface ui;
    EditorController editor(&ui);
    editor.reader().setThreadCount(threads);
    editor.traverseFiles({folder}, false);
    sample->songs = qint64(editor.songs().size());
    for (const auto &song : editor.songs())
        sample->checksum += quint64(song->countOfImages()) + quint64(song->title().size());
}

} // namespace

qint64 peakResidentBytes(bool ofChildren)
{
    rusage usage{};
    getrusage(ofChildren ? RUSAGE_CHILDREN : RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024; // kilobytes on Linux
}

double cpuMilliseconds(bool ofChildren)
{
    rusage usage{};
    getrusage(ofChildren ? RUSAGE_CHILDREN : RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &time) { return double(time.tv_sec) * 1e3 + double(time.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double Sample::medianOf(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

double Sample::fastest() const
{
    return milliseconds.isEmpty() ? 0 : *std::min_element(milliseconds.begin(), milliseconds.end());
}

QString Sample::toLine() const
{
    const auto joined = [](const QList<double> &values) {
        QStringList texts;
        for (double ms : values)
            texts.append(QString::number(ms, 'f', 3));
        return texts.join(u',');
    };
    return QStringLiteral("sample times=%1 cpu=%2 peak=%3 songs=%4 checksum=%5")
        .arg(joined(milliseconds), joined(cpuMilliseconds))
        .arg(peakBytes)
        .arg(songs)
        .arg(checksum);
}

bool Sample::fromLine(const QString &line, Sample *sample)
{
    const QStringList fields = line.trimmed().split(u' ');
    if (fields.size() != 6 || fields.at(0) != u"sample")
        return false;
    for (const QString &field : fields.mid(1)) {
        const QString key = field.section(u'=', 0, 0);
        const QString value = field.section(u'=', 1);
        if (key == u"times" || key == u"cpu") {
            QList<double> &values = key == u"times" ? sample->milliseconds : sample->cpuMilliseconds;
            for (const QString &time : value.split(u',', Qt::SkipEmptyParts))
                values.append(time.toDouble());
        } else if (key == u"peak") {
            sample->peakBytes = value.toLongLong();
        } else if (key == u"songs") {
            sample->songs = value.toLongLong();
        } else if (key == u"checksum") {
            sample->checksum = value.toULongLong();
        }
    }
    return !sample->milliseconds.isEmpty();
}

Sample run(Mode mode, const QString &corpusFolder, int threads, int runs)
{
    Sample sample;
    pass(mode, corpusFolder, threads, &sample);
    for (int i = 0; i < runs; ++i) {
        const double cpuBefore = cpuMilliseconds();
        QElapsedTimer timer;
        timer.start();
        pass(mode, corpusFolder, threads, &sample);
        sample.milliseconds.append(double(timer.nsecsElapsed()) / 1e6);
        sample.cpuMilliseconds.append(cpuMilliseconds() - cpuBefore);
    }
    sample.peakBytes = peakResidentBytes();
    return sample;
}

} // namespace Measurement
