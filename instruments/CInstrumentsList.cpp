#include "instruments/CInstrumentsList.h"

#include "instruments/CInstrument.h"

CInstrumentsList::CInstrumentsList(QObject* parent) : QAbstractListModel(parent) {}

void CInstrumentsList::addInstrument(const QSharedPointer<CInstrument>& instrument)
{
    const int row = m_Instruments.size();
    beginInsertRows(QModelIndex(), row, row);
    m_Instruments.append(instrument);
    endInsertRows();
}

void CInstrumentsList::clear()
{
    beginResetModel();
    m_Instruments.clear();
    endResetModel();
}

int CInstrumentsList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_Instruments.size();
}

QVariant CInstrumentsList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_Instruments.size())
        return QVariant();
    const QSharedPointer<CInstrument>& instrument = m_Instruments.at(index.row());
    if (!instrument)
        return QVariant();
    switch (role)
    {
    case DisplayLabelRole:
        return instrument->Name() + QStringLiteral(" - ") + instrument->SerialNumber();
    case RessourceNameRole:
        return instrument->RessourceName();
    case InterfaceRole:
        return int(instrument->Interface());
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> CInstrumentsList::roleNames() const
{
    return {{DisplayLabelRole, "DisplayLabel"},
            {RessourceNameRole, "RessourceName"},
            {InterfaceRole, "Interface"}};
}
