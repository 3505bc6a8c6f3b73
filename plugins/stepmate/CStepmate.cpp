#include "plugins/stepmate/CStepmate.h"

#include "app/LogCategories.h"

#include <QDebug>

CStepmate::CStepmate(QObject* parent) : CMapperPluginStopAndGo(parent)
{
    m_Name = QStringLiteral("Manual");
    m_Window.setWindowTitle(tr("Stepmate"));
    m_Window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowCloseButtonHint);
    m_InstructionLabel.setText(tr("Press the button to send the ready signal."));
    m_Button.setText(tr("Ready"));
    m_Button.setMinimumHeight(50);
    m_Layout.addWidget(&m_InstructionLabel);
    m_Layout.addWidget(&m_TargetLabel);
    m_Layout.addWidget(&m_Button);
    m_Window.setLayout(&m_Layout);
    qCDebug(lcInstruments) << "CStepmate creator";
    // pressed, not clicked: one signal per press, whatever happens on release.
    connect(&m_Button, &QPushButton::pressed, this, &CStepmate::OnButtonClicked, Qt::UniqueConnection);
}

CStepmate::~CStepmate()
{
    qCDebug(lcInstruments) << "CStepmate destructor";
    m_Window.close();
    // The member widgets go before the window (reverse order of declaration), each leaving it first.
}

void CStepmate::OnButtonClicked()
{
    emit Ready();
}

void CStepmate::Start()
{
    qCDebug(lcInstruments) << "CStepmate Start";
}

void CStepmate::Stop()
{
    qCDebug(lcInstruments) << "CStepmate Stop";
    m_Window.close();
}

CPosition CStepmate::CurrentPosition()
{
    return m_CurrentPosition;
}

COrientation CStepmate::CurrentOrientation()
{
    return m_CurrentOrientation;
}

void CStepmate::Close()
{
    m_Window.close();
}

void CStepmate::MoveTo(const CPosition& position, const COrientation& orientation)
{
    qCDebug(lcInstruments) << "CStepmate MoveTo X:" << position.X() << " Y:" << position.Y()
                           << " Z:" << position.Z();
    m_CurrentPosition = position;
    m_CurrentOrientation = orientation;
    m_TargetLabel.setText(QStringLiteral("Move to : X:%1 Y:%2 Z:%3")
                              .arg(QString::number(position.X(), 'g', 6),
                                   QString::number(position.Y(), 'g', 6),
                                   QString::number(position.Z(), 'g', 6)));
    m_Window.show();
    m_Window.raise();
    m_Window.activateWindow();
}
