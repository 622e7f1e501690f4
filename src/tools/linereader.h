#pragma once

#include <QByteArray>
#include <QString>
#include <QStringConverter>

// Splits bytes into lines ending with LF and decodes each line on its own, for the first check
// of a song list. The bytes are held whole; a file is read when the reader is made.
class LineReader {
public:
    // A file that cannot be read gives no lines; isReadable() tells it apart from an empty file.
    LineReader(const QString &file, QStringConverter::Encoding encoding);
    LineReader(const QByteArray &data, QStringConverter::Encoding encoding);

    bool isReadable() const { return m_readable; }

    // The next line including its LF (the last line may have none); null at the end, and for a
    // line whose bytes do not decode (that line is passed over and not counted).
    QString readLine();
    // readLine() without white space and line breaks at both ends; null as readLine().
    QString readTrimmedLine();
    // How many lines were returned since the start or the last setLineSearchPosition().
    qsizetype linesRead() const { return m_linesRead; }
    // Goes on reading at the byte position and counts lines from 0 again.
    void setLineSearchPosition(qsizetype position);

private:
    QByteArray m_bytes;
    QStringConverter::Encoding m_encoding;
    bool m_readable = true;
    // Where the next line starts: right after the last line returned.
    qsizetype m_next = 0;
    qsizetype m_linesRead = 0;
};
