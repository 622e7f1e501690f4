#include "ui/windowmemory.h"

#include "model/userdefaults.h"

#include <QHeaderView>
#include <QMainWindow>
#include <QSplitter>

namespace WindowMemory {

namespace {

// Stored as Base64 text, which the INI file keeps readable and every layer of the store reads
// back alike.
QByteArray stored(const QString &key)
{
    return QByteArray::fromBase64(UserDefaults::shared().stringForKey(key).toLatin1());
}

void store(const QString &key, const QByteArray &state)
{
    UserDefaults::shared().setObject(QString::fromLatin1(state.toBase64()), key);
}

} // namespace

bool restore(QMainWindow *window)
{
    const QByteArray geometry = stored(GeometryKey);
    return !geometry.isEmpty() && window->restoreGeometry(geometry);
}

bool restore(QWidget *window, const QString &key)
{
    const QByteArray geometry = stored(key);
    return !geometry.isEmpty() && window->restoreGeometry(geometry);
}

bool restore(QSplitter *splitter, const QString &key)
{
    const QByteArray state = stored(key);
    return !state.isEmpty() && splitter->restoreState(state);
}

bool restore(QHeaderView *header, const QString &key)
{
    const QByteArray state = stored(key);
    return !state.isEmpty() && header->restoreState(state);
}

void store(const QMainWindow *window)
{
    store(GeometryKey, window->saveGeometry());
}

void store(const QWidget *window, const QString &key)
{
    store(key, window->saveGeometry());
}

void store(const QSplitter *splitter, const QString &key)
{
    store(key, splitter->saveState());
}

void store(const QHeaderView *header, const QString &key)
{
    store(key, header->saveState());
}

} // namespace WindowMemory
