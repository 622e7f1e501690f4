#include "jsonwriter.h"

void JsonWriter::beginValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.isEmpty())
        return;
    Level &level = m_levels.last();
    Q_ASSERT(level.isArray);
    if (!level.isEmpty)
        m_data += m_levels.size() == 1 ? "," : ", ";
    if (m_levels.size() == 1)
        m_data += "\n  ";
    level.isEmpty = false;
}

void JsonWriter::beginArray()
{
    beginValue();
    m_data += '[';
    m_levels.append({true, true});
}

void JsonWriter::endArray()
{
    Q_ASSERT(!m_levels.isEmpty() && m_levels.last().isArray);
    end(']');
}

void JsonWriter::beginObject()
{
    beginValue();
    m_data += '{';
    m_levels.append({false, true});
}

void JsonWriter::endObject()
{
    Q_ASSERT(!m_levels.isEmpty() && !m_levels.last().isArray);
    end('}');
}

void JsonWriter::end(char closing)
{
    const Level level = m_levels.takeLast();
    if (m_levels.isEmpty() && level.isArray && !level.isEmpty)
        m_data += '\n';
    m_data += closing;
    if (m_levels.isEmpty())
        m_data += '\n';
}

void JsonWriter::key(const char *name)
{
    Q_ASSERT(!m_levels.isEmpty() && !m_levels.last().isArray && !m_afterKey);
    Level &level = m_levels.last();
    if (!level.isEmpty)
        m_data += ", ";
    level.isEmpty = false;
    m_data += quoted(QString::fromLatin1(name));
    m_data += ": ";
    m_afterKey = true;
}

void JsonWriter::string(const QString &text)
{
    beginValue();
    m_data += quoted(text);
}

void JsonWriter::null()
{
    beginValue();
    m_data += "null";
}

void JsonWriter::number(qint64 value)
{
    beginValue();
    m_data += QByteArray::number(value);
}

void JsonWriter::boolean(bool value)
{
    beginValue();
    m_data += value ? "true" : "false";
}

QByteArray JsonWriter::quoted(const QString &text)
{
    // toUtf8() turns unpaired surrogates into replacement characters, so the result is always
    // valid UTF-8; only the quote, the backslash and control characters need escapes.
    const QByteArray utf8 = text.toUtf8();
    QByteArray result;
    result.reserve(utf8.size() + 2);
    result += '"';
    for (const char c : utf8) {
        switch (c) {
        case '"': result += "\\\""; break;
        case '\\': result += "\\\\"; break;
        case '\b': result += "\\b"; break;
        case '\f': result += "\\f"; break;
        case '\n': result += "\\n"; break;
        case '\r': result += "\\r"; break;
        case '\t': result += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                result += "\\u00";
                result += QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
            } else {
                result += c;
            }
        }
    }
    result += '"';
    return result;
}
