#pragma once

#include <QSortFilterProxyModel>

// Filters the log history by minimum level and by a case-insensitive text.
class CLogFilterProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT
    Q_PROPERTY(int MinLevel READ MinLevel WRITE setMinLevel NOTIFY MinLevelChanged)
public:
    explicit CLogFilterProxyModel(QObject* parent = nullptr);

    int MinLevel() const { return m_MinLevel; }
    void setMinLevel(int value);

    Q_INVOKABLE void setFilterString(const QString& string);

public slots:
    void OnMinLevelChanged();

signals:
    void MinLevelChanged(int value);

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    int m_MinLevel = 2;
};
