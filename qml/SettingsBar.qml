import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "Utils/Style.js" as Style

// Page switching that every page offers.
Rectangle {
    implicitHeight: 44
    color: Style.lightColor

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8

        Button {
            text: qsTr("Meter")
            visible: Settings.EnableMeterMode
            enabled: !MainViewModel.LoaderSourceChanging && InstrumentSupervisor.HasActiveInstrument
            onClicked: MainViewModel.displayMeterPage()
        }
        Item {
            Layout.fillWidth: true
        }
        Button {
            text: qsTr("Instrument selection")
            enabled: !MainViewModel.LoaderSourceChanging
            onClicked: MainViewModel.displayInstrumentSelectionPage()
        }
    }
}
