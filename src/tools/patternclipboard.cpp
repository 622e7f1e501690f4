#include "tools/patternclipboard.h"

#include "tools/patternsyntax.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>
#include <QRegularExpression>

namespace PatternClipboard {

QMimeData *mimeData(const Pattern &piece)
{
    auto *data = new QMimeData;
    const QJsonArray stored = QJsonArray::fromVariantList(PatternUtil::toStoredForm(piece));
    data->setData(QString::fromLatin1(MimeType), QJsonDocument(stored).toJson(QJsonDocument::Compact));
    data->setText(PatternSyntax::format(piece));
    return data;
}

Pattern pattern(const QMimeData *data)
{
    if (!data)
        return {};
    const QString type = QString::fromLatin1(MimeType);
    if (data->hasFormat(type)) {
        const QJsonDocument document = QJsonDocument::fromJson(data->data(type));
        if (document.isArray())
            return PatternUtil::fromStoredForm(document.array().toVariantList());
    }
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\n]"));
    const QString text = data->text().replace(lineBreak, QStringLiteral(" "));
    if (text.isEmpty())
        return {};
    return {PatternElement::literal(text)};
}

} // namespace PatternClipboard
