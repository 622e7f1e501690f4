#include "lookup/release.h"

#include "lookup/cover.h"

Release::~Release()
{
    for (const std::shared_ptr<Cover> &cover : m_covers) {
        if (cover->rel() == this)
            cover->setRel(nullptr);
    }
}

void Release::insertObjectInCoversAtIndex(std::shared_ptr<Cover> cover, qsizetype index)
{
    m_covers.insert(index, std::move(cover));
}

void Release::removeObjectFromCoversAtIndex(qsizetype index)
{
    const std::shared_ptr<Cover> cover = m_covers.takeAt(index);
    if (cover->rel() == this)
        cover->setRel(nullptr);
}

void Release::addCover(std::shared_ptr<Cover> cover)
{
    m_covers.append(std::move(cover));
}

QString Release::description() const
{
    return QStringLiteral("%1 | %2 | %3 | %4")
        .arg(m_artist, m_album, m_genre, QString::number(m_year));
}
