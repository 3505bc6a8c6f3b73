import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "Theme"

// Page switching that every page offers.
Rectangle {
    implicitHeight: Theme.barHeight
    color: Theme.lightColor

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: Theme.spacing
        anchors.rightMargin: Theme.spacing

        Button {
            objectName: "meterPageButton"
            Accessible.name: text
            text: qsTr("Meter")
            visible: Settings.EnableMeterMode
            enabled: !MainViewModel.LoaderSourceChanging && InstrumentSupervisor.HasActiveInstrument
            onClicked: MainViewModel.displayMeterPage()
        }
        Button {
            objectName: "spectrumPageButton"
            Accessible.name: text
            text: qsTr("Spectrum")
            visible: Settings.EnableSpectrumMode
            enabled: !MainViewModel.LoaderSourceChanging && InstrumentSupervisor.HasActiveInstrument
            onClicked: MainViewModel.displaySpectrumPage()
        }
        Button {
            objectName: "acAnalysisPageButton"
            Accessible.name: text
            text: qsTr("AC analysis")
            visible: Settings.EnableAcAnalysisMode
            enabled: !MainViewModel.LoaderSourceChanging && InstrumentSupervisor.HasActiveInstrument
            onClicked: MainViewModel.displayAcAnalysisPage()
        }
        Button {
            objectName: "mappingPageButton"
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
            objectName: "instrumentSelectionPageButton"
            Accessible.name: text
            text: qsTr("Instrument selection")
            enabled: !MainViewModel.LoaderSourceChanging
            onClicked: MainViewModel.displayInstrumentSelectionPage()
        }
    }
}
