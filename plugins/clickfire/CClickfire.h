#pragma once

#include "instruments/CTriggerPlugin.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// Manual trigger: a window with a button that fires one trigger per press.
class CClickfire : public CTriggerPlugin
{
    Q_OBJECT
public:
    explicit CClickfire(QObject* parent = nullptr);
    ~CClickfire() override;

    QDialog* Window() { return &m_Window; }
    QPushButton* Button() { return &m_Button; }

public slots:
    void Start() override;
    void Stop() override;
    void Close() override;

private slots:
    void OnButtonClicked();

private:
    QDialog m_Window;
    QVBoxLayout m_Layout;
    QLabel m_InstructionLabel;
    QPushButton m_Button;
};
