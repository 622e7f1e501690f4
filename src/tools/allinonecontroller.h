#pragma once

#include "tools/batchreport.h"

#include <QList>

class CapitalizationController;
class NamingController;
class NumberingController;
class Song;

// The all-in-one command: numbering, then capitalization, then naming on the selection, each
// with its own current settings. The order matters: names are built from the new numbers and
// the capitalized tags. Each step works on the selection as it is at that moment and reports
// its own failures; a failure in one step does not stop the next. The tools are not owned and
// must outlive the controller.
class AllInOneController {
public:
    AllInOneController(NumberingController *numberingController, CapitalizationController *capitalizationController,
                       NamingController *namingController);

    // Numbers the whole selection as one segment, then capitalizeAndName(). Returns naming's
    // report.
    BatchReport doAllInOne();
    // Numbers the selection by the segment starts (one segment per disc), then
    // capitalizeAndName(). Returns naming's report.
    BatchReport doAllInOneHonoringDiscNumbers(const QList<int> &segmentStarts);
    BatchReport capitalizeAndName();
    // The steps of doAllInOne() before naming: the numbers and the capitalized tags that the
    // names are built from.
    void numberAndCapitalize();

    // The segment starts for songs that carry disc numbers: the 1-based position of every song
    // whose disc number differs from that of the song before it (the first song always starts a
    // segment), then the number of songs plus 1.
    static QList<int> segmentStartsForDiscs(const QList<Song *> &songs);

    NumberingController *numberingController() const { return m_numberingController; }
    CapitalizationController *capitalizationController() const { return m_capitalizationController; }
    NamingController *namingController() const { return m_namingController; }

private:
    NumberingController *m_numberingController;
    CapitalizationController *m_capitalizationController;
    NamingController *m_namingController;
};
