#include "loadededitor.h"

#include "fixtures.h"
#include "model/song.h"

#include <QDir>

bool LoadedEditor::load(int count)
{
    const QString folder = dir.filePath(QStringLiteral("songs"));
    if (!QDir().mkpath(folder))
        return false;
    for (int i = 1; i <= count; ++i) {
        const QString name = QStringLiteral("songs/%1.mp3").arg(i, 2, 10, QLatin1Char('0'));
        if (copyFixture(dir, QStringLiteral("silence.mp3"), name).isEmpty())
            return false;
    }
    const size_t before = editor.songs().size();
    editor.traverseFiles({folder}, true);
    return editor.songs().size() == before + size_t(count);
}

Song *LoadedEditor::song(int row) const
{
    return editor.songs().at(size_t(row)).get();
}
