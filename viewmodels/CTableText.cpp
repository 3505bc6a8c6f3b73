#include "viewmodels/CTableText.h"

#include "model/CNumberText.h"

#include <QAbstractItemModel>

#include <cmath>

namespace
{
// A cell that holds the separator, a quote or a line break is quoted, its quotes doubled.
QString cell(const QString& text, QChar separator)
{
    if (!text.contains(separator) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString valueText(const QVariant& value)
{
    if (value.userType() == QMetaType::Double || value.userType() == QMetaType::Float)
    {
        const double number = value.toDouble();
        return std::isfinite(number) ? CNumberText::G6(number) : QString();
    }
    return value.toString();
}
} // namespace

QString CTableText::Text(const QAbstractItemModel& model, const QStringList& roles,
                         const QStringList& headings, QChar separator)
{
    const QHash<int, QByteArray> names = model.roleNames();
    QVector<int> columns;
    for (const QString& role : roles)
        columns.append(names.key(role.toUtf8(), -1));
    QStringList lines;
    QStringList heading;
    for (int c = 0; c < roles.size(); ++c)
        heading << cell(c < headings.size() ? headings[c] : roles[c], separator);
    lines << heading.join(separator);
    for (int row = 0; row < model.rowCount(); ++row)
    {
        const QModelIndex index = model.index(row, 0);
        QStringList line;
        for (int role : qAsConst(columns))
            line << cell(role < 0 ? QString() : valueText(model.data(index, role)), separator);
        lines << line.join(separator);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
