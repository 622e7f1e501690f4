#include "tools/chcsvparser.h"

#include <QFile>

#include <stdexcept>

namespace {

constexpr QChar Quote = u'"';
constexpr QChar CarriageReturn = u'\r';
constexpr QChar LineFeed = u'\n';

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QString hexCode(QChar character)
{
    return QString::number(character.unicode(), 16).toUpper();
}

} // namespace

CHCSVParser::CHCSVParser(const QString &contentsOfDelimitedURL, QChar delimiter)
    : CHCSVParser(readFile(contentsOfDelimitedURL), delimiter)
{
}

CHCSVParser::CHCSVParser(const QByteArray &data, QChar delimiter)
    : m_bytes(data), m_delimiter(delimiter), m_detection(DelimitedTextDecoder::detectEncoding(data))
{
    if (isNewline(delimiter) || delimiter == Quote)
        throw std::invalid_argument("the delimiter cannot be a line break character or the double quote");
}

bool CHCSVParser::isNewline(QChar character)
{
    switch (character.unicode()) {
    case 0x000A:
    case 0x000B:
    case 0x000C:
    case 0x000D:
    case 0x0085:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

void CHCSVParser::parse()
{
    m_text = DelimitedTextDecoder::decode(QByteArrayView(m_bytes).sliced(m_detection.bytesSkipped),
                                          m_detection.encoding);
    m_position = 0;
    m_recordNumber = 0;
    m_error.reset();
    if (m_delegate)
        m_delegate->parserDidBeginDocument(this);
    while (!atEnd()) {
        ++m_recordNumber;
        m_fieldIndex = 0;
        if (m_delegate)
            m_delegate->parserDidBeginLine(this, m_recordNumber);
        while (readField() && readDelimiter()) {
        }
        if (m_delegate)
            m_delegate->parserDidEndLine(this, m_recordNumber);
        if (!readLineBreak() || m_error)
            break;
    }
    if (!m_delegate)
        return;
    if (m_error)
        m_delegate->parserDidFailWithError(this, *m_error);
    else
        m_delegate->parserDidEndDocument(this);
}

QChar CHCSVParser::peek(qsizetype ahead) const
{
    const qsizetype at = m_position + ahead;
    return at < m_text.size() ? m_text.at(at) : QChar();
}

bool CHCSVParser::isBlank(QChar character) const
{
    if (character == m_delimiter)
        return false;
    return character == u'\t' || character.category() == QChar::Separator_Space;
}

void CHCSVParser::skipBlanks()
{
    while (!atEnd() && isBlank(peek()))
        ++m_position;
}

bool CHCSVParser::readField()
{
    m_fieldStart = m_position;
    skipBlanks();
    if (!atEnd() && peek() == Quote) {
        // An unclosed quote at the end of the text ends the record without a field.
        if (!readQuotedField())
            return false;
    } else {
        readPlainField();
    }
    skipBlanks();
    if (m_delegate) {
        QString field = QStringView(m_text).sliced(m_fieldStart, m_position - m_fieldStart).toString();
        // An empty field is a value ("") and never the absent text.
        if (field.isNull())
            field = QStringLiteral("");
        m_delegate->parserDidReadField(this, field, m_fieldIndex);
    }
    ++m_fieldIndex;
    return true;
}

bool CHCSVParser::readQuotedField()
{
    ++m_position;
    while (!atEnd()) {
        if (peek() == Quote) {
            if (peek(1) != Quote) {
                ++m_position;
                return true;
            }
            m_position += 2;
        } else {
            ++m_position;
        }
    }
    return false;
}

void CHCSVParser::readPlainField()
{
    while (!atEnd() && peek() != m_delimiter && !isNewline(peek()))
        ++m_position;
}

bool CHCSVParser::readDelimiter()
{
    if (atEnd() || isNewline(peek()))
        return false;
    const QChar found = peek();
    if (found == m_delimiter) {
        ++m_position;
        return true;
    }
    CHCSVError error;
    error.description = QStringLiteral("Unexpected delimiter. Expected '%1' (0x%2), but got '%3' (0x%4)")
                            .arg(QString(m_delimiter), hexCode(m_delimiter), QString(found), hexCode(found));
    m_error = error;
    return false;
}

bool CHCSVParser::readLineBreak()
{
    if (atEnd())
        return false;
    if (peek() == CarriageReturn && peek(1) == LineFeed) {
        m_position += 2;
        return true;
    }
    if (isNewline(peek())) {
        ++m_position;
        return true;
    }
    return false;
}
