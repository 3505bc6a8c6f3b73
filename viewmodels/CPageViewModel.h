#pragma once

#include <QObject>
#include <QString>

// Base of every page view model; exactly one exists at a time.
class CPageViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name CONSTANT)
    Q_PROPERTY(bool HasUnsavedParameter READ HasUnsavedParameter NOTIFY HasUnsavedParameterChanged)
    // The file the page shows (a recording loaded or saved), for the window's title; empty
    // when it shows none.
    Q_PROPERTY(QString DocumentName READ DocumentName NOTIFY DocumentNameChanged)
public:
    explicit CPageViewModel(const QString& name, QObject* parent = nullptr);

    QString Name() const { return m_Name; }
    bool HasUnsavedParameter() const { return m_HasUnsavedParameter; }
    virtual QString DocumentName() const { return QString(); }

public slots:
    virtual QString HelpPath() = 0;
    // Called by the main view model right after it has built the page.
    virtual void initialize();
    // Operation pages cut their connections to the operation here before they go.
    virtual void disconnectSignal();
    // The page is being left with what it has not saved, as confirmed: pages that put
    // their edits into force at once undo them here.
    virtual void discardUnsavedParameters();

signals:
    void HasUnsavedParameterChanged(bool value);
    void DocumentNameChanged();

private:
    const QString m_Name;
    bool m_HasUnsavedParameter = false;

protected:
    // Outputs: set by the model itself as its state changes, read-only to QML.
    void setHasUnsavedParameter(bool value);
};
