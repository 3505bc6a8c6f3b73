#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QSharedPointer>

class CInstrument;

// List model of the available instruments for the instrument selection page.
class CInstrumentsList : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Roles
    {
        DisplayLabelRole = Qt::UserRole + 1,
        RessourceNameRole,
        InterfaceRole
    };

    explicit CInstrumentsList(QObject* parent = nullptr);

    void addInstrument(const QSharedPointer<CInstrument>& instrument);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    QList<QSharedPointer<CInstrument>> m_Instruments;
};
