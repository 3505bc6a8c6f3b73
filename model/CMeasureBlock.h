#pragma once

#include "model/CBprimeResult.h"
#include "model/CFieldIntensityResult.h"

#include <QByteArray>
#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <QVector>

// One acquisition: samples in acquisition order, a comment and the block's B' vector.
class CMeasureBlock : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Comment READ Comment WRITE setComment NOTIFY CommentChanged)
public:
    explicit CMeasureBlock(QObject* parent = nullptr);

    QString Comment() const { return m_Comment; }
    void setComment(const QString& value);

    // One line per sample: timestamp, B, BBprime, Bx, By, Bz, Temperature, dB.
    QString ToString(const QString& separator) const;
    // The same rows in UTF-8, appended to `out`: the files' fast path.
    void AppendRows(QByteArray& out, const QByteArray& separator) const;

    // The rate its samples' timestamps give (samples per second across the block); NaN
    // for fewer than two samples or no time between them.
    double TimestampRate() const;

    // "yyyy.MM.ddTHH:mm:ss.nnnnnnnnn"
    static QString FormatTimestamp(const QDateTime& timestamp, quint64 nanoseconds);

    QVector<QSharedPointer<CFieldIntensityResult>> Results;
    CBprimeResult Bprime;

signals:
    void CommentChanged(QString value);

private:
    QString m_Comment;
};

Q_DECLARE_METATYPE(QSharedPointer<CMeasureBlock>)
