#pragma once

#include <QAbstractListModel>
#include <QQuaternion>
#include <QVector3D>

#include <deque>

// The arrows of the mapping page's 3-D view: one per measured point, its
// position, its rotation from +Y onto the field and its length by the field's
// magnitude; the oldest go beyond the cap.
class CArrowListModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)

public:
    enum Role
    {
        XRole = Qt::UserRole + 1,
        YRole,
        ZRole,
        RotationRole,
        ScaleRole
    };

    explicit CArrowListModel(QObject* parent = nullptr);

    void Append(const QVector3D& position, const QQuaternion& rotation, double scale, int cap);
    void Clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    struct Arrow
    {
        QVector3D position;
        QQuaternion rotation;
        double scale;
    };
    std::deque<Arrow> m_Arrows;
};
