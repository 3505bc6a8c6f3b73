#pragma once

#include "instruments/CMapperPluginStopAndGo.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// Manual mapper: shows the next target and a button that the user presses once
// the probe is in place.
class CStepmate : public CMapperPluginStopAndGo
{
    Q_OBJECT
public:
    explicit CStepmate(QObject* parent = nullptr);
    ~CStepmate() override;

    // For tests and the program's own look: the window the user presses.
    QDialog* Window() { return &m_Window; }
    QPushButton* Button() { return &m_Button; }
    QLabel* TargetLabel() { return &m_TargetLabel; }

public slots:
    void Start() override;
    void Stop() override;
    CPosition CurrentPosition() override;
    COrientation CurrentOrientation() override;
    void Close() override;
    void MoveTo(const CPosition& position, const COrientation& orientation) override;

private slots:
    void OnButtonClicked();

private:
    CPosition m_CurrentPosition;
    COrientation m_CurrentOrientation;
    QDialog m_Window;
    QVBoxLayout m_Layout;
    QLabel m_InstructionLabel;
    QLabel m_TargetLabel;
    QPushButton m_Button;
};
