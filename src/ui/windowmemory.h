#pragma once

#include <QString>

class QHeaderView;
class QMainWindow;
class QSplitter;
class QWidget;

// The window's geometry, the positions of its splitters and the song table's column widths and
// order, remembered in the settings store from one run to the next under keys of their own.
namespace WindowMemory {

inline const QString GeometryKey = QStringLiteral("WINDOW_GEOMETRY");
inline const QString EditorSplitKey = QStringLiteral("WINDOW_EDITOR_SPLIT");
inline const QString SidePanelSplitKey = QStringLiteral("WINDOW_SIDE_PANEL_SPLIT");
inline const QString TableHeaderKey = QStringLiteral("WINDOW_TABLE_HEADER");

// False when nothing was stored (the window keeps its default size).
bool restore(QMainWindow *window);
// Any other window's geometry, under a key of its own.
bool restore(QWidget *window, const QString &key);
bool restore(QSplitter *splitter, const QString &key);
bool restore(QHeaderView *header, const QString &key);

void store(const QMainWindow *window);
void store(const QWidget *window, const QString &key);
void store(const QSplitter *splitter, const QString &key);
void store(const QHeaderView *header, const QString &key);

} // namespace WindowMemory
