#pragma once

#include <QByteArray>
#include <QString>

// Standard output and standard error of the tool, always UTF-8.
namespace Console {

// Writes to standard output and flushes. After a write that failed (a full disk, a closed
// terminal) later writes are dropped; outputError() tells why.
void out(const QByteArray &bytes);
void out(const QString &text);
// Why standard output could not be written; empty while every write reached it.
QString outputError();
void err(const QString &text);
// Writes the text and a line break to standard error.
void errLine(const QString &text);

// A line on standard error that the next one replaces, for progress: written over the last one
// (cut to the terminal's width), and erased before any other text goes to standard error. An
// empty text erases it.
void showTransient(const QString &text);

bool isInputTerminal();
bool isErrorTerminal();
// One line of standard input without its line break; null at the end of input.
QString readInputLine();

} // namespace Console
