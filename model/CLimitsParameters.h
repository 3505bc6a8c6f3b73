#pragma once

#include <QObject>
#include <QString>

// Which limits file is loaded.
class CLimitsParameters : public QObject
{
    Q_OBJECT
    Q_PROPERTY(
        QString LimitsFilePath READ LimitsFilePath WRITE setLimitsFilePath NOTIFY LimitsFilePathChanged)
    Q_PROPERTY(
        QString LimitsFileName READ LimitsFileName WRITE setLimitsFileName NOTIFY LimitsFileNameChanged)
public:
    explicit CLimitsParameters(QObject* parent = nullptr);

    QString LimitsFilePath() const { return m_LimitsFilePath; }
    QString LimitsFileName() const { return m_LimitsFileName; }
    // Emits on every call: setting the same path again makes listeners reload the file.
    void setLimitsFilePath(const QString& value);
    void setLimitsFileName(const QString& value);

signals:
    void LimitsFilePathChanged(QString value);
    void LimitsFileNameChanged(QString value);

private:
    QString m_LimitsFilePath;
    QString m_LimitsFileName;
};
