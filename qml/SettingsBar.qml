import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "Theme"

// Page switching that every page offers, also from the keyboard (Ctrl+1 to Ctrl+4, Ctrl+0).
Rectangle {
    implicitHeight: Theme.barHeight
    color: Theme.lightColor

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacing
        anchors.rightMargin: Theme.spacing

        Button {
            id: meterPageButton

            objectName: "meterPageButton"
            ToolTip.visible: hovered
            ToolTip.delay: Theme.toolTipDelay
            ToolTip.text: text + " (Ctrl+1)"

            Shortcut {
                sequence: "Ctrl+1"
                enabled: meterPageButton.visible && meterPageButton.enabled
                onActivated: meterPageButton.clicked()
            }
            Accessible.name: text
            text: qsTr("Meter")
            visible: Settings.EnableMeterMode
            enabled: !MainViewModel.LoaderSourceChanging && InstrumentSupervisor.HasActiveInstrument
            onClicked: MainViewModel.displayMeterPage()
        }
        Button {
            id: spectrumPageButton

            objectName: "spectrumPageButton"
            ToolTip.visible: hovered
            ToolTip.delay: Theme.toolTipDelay
            ToolTip.text: text + " (Ctrl+2)"

            Shortcut {
                sequence: "Ctrl+2"
                enabled: spectrumPageButton.visible && spectrumPageButton.enabled
                onActivated: spectrumPageButton.clicked()
            }
            Accessible.name: text
            text: qsTr("Spectrum")
            visible: Settings.EnableSpectrumMode
            enabled: !MainViewModel.LoaderSourceChanging && InstrumentSupervisor.HasActiveInstrument
            onClicked: MainViewModel.displaySpectrumPage()
        }
        Button {
            id: acAnalysisPageButton

            objectName: "acAnalysisPageButton"
            ToolTip.visible: hovered
            ToolTip.delay: Theme.toolTipDelay
            ToolTip.text: text + " (Ctrl+3)"

            Shortcut {
                sequence: "Ctrl+3"
                enabled: acAnalysisPageButton.visible && acAnalysisPageButton.enabled
                onActivated: acAnalysisPageButton.clicked()
            }
            Accessible.name: text
            text: qsTr("AC analysis")
            visible: Settings.EnableAcAnalysisMode
            enabled: !MainViewModel.LoaderSourceChanging && InstrumentSupervisor.HasActiveInstrument
            onClicked: MainViewModel.displayAcAnalysisPage()
        }
        Button {
            id: mappingPageButton

            objectName: "mappingPageButton"
            ToolTip.visible: hovered
            ToolTip.delay: Theme.toolTipDelay
            ToolTip.text: text + " (Ctrl+4)"

            Shortcut {
                sequence: "Ctrl+4"
                enabled: mappingPageButton.visible && mappingPageButton.enabled
                onActivated: mappingPageButton.clicked()
            }
            Accessible.name: text
            text: qsTr("Mapping")
            visible: Settings.EnableMappingMode
            enabled: !MainViewModel.LoaderSourceChanging && InstrumentSupervisor.HasActiveInstrument
            onClicked: MainViewModel.displayMappingPage()
        }
        Item {
            Layout.fillWidth: true
        }
        Button {
            id: helpButton

            objectName: "helpButton"
            Accessible.name: text
            text: qsTr("Help")
            enabled: !MainViewModel.LoaderSourceChanging
            onClicked: MainViewModel.displayHelp()
            ToolTip.visible: hovered
            ToolTip.delay: Theme.toolTipDelay
            ToolTip.text: qsTr("Help on what is shown") + " (F1)"

            Shortcut {
                sequence: "F1"
                enabled: helpButton.enabled
                onActivated: helpButton.clicked()
            }
        }
        Button {
            id: instrumentSelectionPageButton

            objectName: "instrumentSelectionPageButton"
            Accessible.name: text
            text: qsTr("Instrument selection")
            enabled: !MainViewModel.LoaderSourceChanging
            onClicked: MainViewModel.displayInstrumentSelectionPage()
            ToolTip.visible: hovered
            ToolTip.delay: Theme.toolTipDelay
            ToolTip.text: text + " (Ctrl+0)"

            Shortcut {
                sequence: "Ctrl+0"
                enabled: instrumentSelectionPageButton.enabled
                onActivated: instrumentSelectionPageButton.clicked()
            }
        }
    }
}
