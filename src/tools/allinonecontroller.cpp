#include "tools/allinonecontroller.h"

#include "model/song.h"
#include "tools/capitalizationcontroller.h"
#include "tools/namingcontroller.h"
#include "tools/numberingcontroller.h"

AllInOneController::AllInOneController(NumberingController *numberingController,
                                       CapitalizationController *capitalizationController,
                                       NamingController *namingController)
    : m_numberingController(numberingController)
    , m_capitalizationController(capitalizationController)
    , m_namingController(namingController)
{
}

BatchReport AllInOneController::doAllInOne()
{
    numberAndCapitalize();
    return m_namingController->applyNamingToSongs();
}

void AllInOneController::numberAndCapitalize()
{
    m_numberingController->applyNumberingToSongs();
    m_capitalizationController->applyCapitalizationToSongs();
}

BatchReport AllInOneController::doAllInOneHonoringDiscNumbers(const QList<int> &segmentStarts)
{
    m_numberingController->applyNumberingToSongs(segmentStarts);
    return capitalizeAndName();
}

BatchReport AllInOneController::capitalizeAndName()
{
    m_capitalizationController->applyCapitalizationToSongs();
    return m_namingController->applyNamingToSongs();
}

QList<int> AllInOneController::segmentStartsForDiscs(const QList<Song *> &songs)
{
    QList<int> starts;
    for (qsizetype i = 0; i < songs.size(); ++i) {
        if (i == 0 || songs[i]->discNumber() != songs[i - 1]->discNumber())
            starts.append(int(i) + 1);
    }
    starts.append(int(songs.size()) + 1);
    return starts;
}
