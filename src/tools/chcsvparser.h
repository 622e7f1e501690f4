#pragma once

#include "tools/delimitedtextdecoder.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

class CHCSVParser;

// A syntax failure of the reader: a character other than the delimiter or a line break after a
// field.
struct CHCSVError {
    static constexpr int UnexpectedDelimiter = 1;
    int code = UnexpectedDelimiter;
    QString description;
};

// Receives what a CHCSVParser reads, in document order, on the thread that called parse(). Each
// event has an empty default, so a receiver overrides only those it needs.
class CHCSVParserDelegate {
public:
    virtual ~CHCSVParserDelegate() = default;
    virtual void parserDidBeginDocument(CHCSVParser *parser) { Q_UNUSED(parser); }
    // Records are numbered from 1.
    virtual void parserDidBeginLine(CHCSVParser *parser, qsizetype recordNumber)
    {
        Q_UNUSED(parser);
        Q_UNUSED(recordNumber);
    }
    // The field's raw text: leading and trailing blanks, enclosing quotes and doubled quotes as
    // they stand in the file. Fields are indexed from 0 within their record.
    virtual void parserDidReadField(CHCSVParser *parser, const QString &field, qsizetype atIndex)
    {
        Q_UNUSED(parser);
        Q_UNUSED(field);
        Q_UNUSED(atIndex);
    }
    virtual void parserDidEndLine(CHCSVParser *parser, qsizetype recordNumber)
    {
        Q_UNUSED(parser);
        Q_UNUSED(recordNumber);
    }
    // Sent at the end unless reading failed.
    virtual void parserDidEndDocument(CHCSVParser *parser) { Q_UNUSED(parser); }
    // Sent at the end instead of the document end.
    virtual void parserDidFailWithError(CHCSVParser *parser, const CHCSVError &error)
    {
        Q_UNUSED(parser);
        Q_UNUSED(error);
    }
};

// Reads a delimited text: fields separated by one delimiter character, records separated by line
// breaks (LF, VT, FF, CR, CR LF, U+0085, U+2028, U+2029), fields optionally in double quotes
// within which delimiters and line breaks are part of the field. The encoding is detected from
// the first bytes (DelimitedTextDecoder). The delegate is not owned and must outlive parse().
class CHCSVParser {
public:
    // Reads the whole file now; a file that cannot be read reads as empty. The delimiter must be
    // neither a line break character nor the double quote (std::invalid_argument otherwise).
    CHCSVParser(const QString &contentsOfDelimitedURL, QChar delimiter);
    // The same over bytes in memory.
    CHCSVParser(const QByteArray &data, QChar delimiter);
    CHCSVParser(const CHCSVParser &) = delete;
    CHCSVParser &operator=(const CHCSVParser &) = delete;

    void setDelegate(CHCSVParserDelegate *delegate) { m_delegate = delegate; }
    CHCSVParserDelegate *delegate() const { return m_delegate; }

    // Decodes the text and sends every event, in order.
    void parse();

    DelimitedTextDecoder::Detection detection() const { return m_detection; }
    // The failure of the last parse(), if any.
    const std::optional<CHCSVError> &error() const { return m_error; }

    static bool isNewline(QChar character);

private:
    bool atEnd() const { return m_position >= m_text.size(); }
    QChar peek(qsizetype ahead = 0) const;
    bool isBlank(QChar character) const;
    void skipBlanks();
    bool readField();
    bool readQuotedField();
    void readPlainField();
    bool readDelimiter();
    bool readLineBreak();

    QByteArray m_bytes;
    QChar m_delimiter;
    DelimitedTextDecoder::Detection m_detection;
    QString m_text;
    qsizetype m_position = 0;
    qsizetype m_fieldStart = 0;
    qsizetype m_recordNumber = 0;
    qsizetype m_fieldIndex = 0;
    std::optional<CHCSVError> m_error;
    CHCSVParserDelegate *m_delegate = nullptr;
};
