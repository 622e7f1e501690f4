#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Writes JSON with the keys in the order they are given (QJsonObject would sort them). Each
// element of the outermost array goes on its own line. Output is UTF-8.
class JsonWriter {
public:
    void beginArray();
    void endArray();
    void beginObject();
    void endObject();
    void key(const char *name);

    void string(const QString &text);
    void null();
    void number(qint64 value);
    void boolean(bool value);

    const QByteArray &data() const { return m_data; }

    static QByteArray quoted(const QString &text);

private:
    struct Level {
        bool isArray;
        bool isEmpty;
    };
    // Writes the separator a value needs at the current position.
    void beginValue();
    void end(char closing);

    QByteArray m_data;
    QList<Level> m_levels;
    bool m_afterKey = false;
};
