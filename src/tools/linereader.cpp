#include "tools/linereader.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

LineReader::LineReader(const QString &file, QStringConverter::Encoding encoding)
    : m_encoding(encoding)
{
    QFile input(file);
    m_readable = input.open(QIODevice::ReadOnly);
    if (m_readable)
        m_bytes = input.readAll();
    m_readable = m_readable && input.error() == QFileDevice::NoError;
}

LineReader::LineReader(const QByteArray &data, QStringConverter::Encoding encoding)
    : m_bytes(data), m_encoding(encoding)
{
}

QString LineReader::readLine()
{
    if (m_next >= m_bytes.size())
        return QString();
    const qsizetype lineFeed = m_bytes.indexOf('\n', m_next);
    const qsizetype end = lineFeed < 0 ? m_bytes.size() : lineFeed + 1;
    const QByteArrayView line = QByteArrayView(m_bytes).sliced(m_next, end - m_next);
    m_next = end;
    // Stateless: a sequence cut off at the end of the line is an error too.
    QStringDecoder decoder(m_encoding, QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(line);
    if (decoder.hasError())
        return QString();
    ++m_linesRead;
    return text;
}

QString LineReader::readTrimmedLine()
{
    const QString line = readLine();
    return line.isNull() ? line : line.trimmed();
}

void LineReader::setLineSearchPosition(qsizetype position)
{
    m_next = std::clamp<qsizetype>(position, 0, m_bytes.size());
    m_linesRead = 0;
}
