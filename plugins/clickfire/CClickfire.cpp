#include "plugins/clickfire/CClickfire.h"

#include "app/LogCategories.h"

#include <QDebug>

CClickfire::CClickfire(QObject* parent) : CTriggerPlugin(parent)
{
    m_Name = QStringLiteral("Manual");
    m_Window.setWindowTitle(tr("Clickfire"));
    m_Window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                            Qt::WindowCloseButtonHint);
    m_InstructionLabel.setText(tr("Press the button to send the trigger signal."));
    m_Button.setText(tr("Trigger"));
    m_Button.setMinimumHeight(50);
    m_Layout.addWidget(&m_InstructionLabel);
    m_Layout.addWidget(&m_Button);
    m_Window.setLayout(&m_Layout);
    qCDebug(lcInstruments) << "CClickfire Creator";
    connect(&m_Button, &QPushButton::pressed, this, &CClickfire::OnButtonClicked, Qt::UniqueConnection);
}

CClickfire::~CClickfire()
{
    qCDebug(lcInstruments) << "CClickfire Destructor";
    m_Window.close();
    // The member widgets go before the window (reverse order of declaration), each leaving it first.
}

void CClickfire::OnButtonClicked()
{
    qCDebug(lcInstruments) << "Trigger button pressed";
    emit Trigger();
}

void CClickfire::Start()
{
    qCDebug(lcInstruments) << "CClickfire Start";
    m_Window.show();
    m_Window.raise();
    m_Window.activateWindow();
}

void CClickfire::Stop()
{
    qCDebug(lcInstruments) << "CClickfire Stop";
    m_Window.close();
}

void CClickfire::Close()
{
    m_Window.close();
}
