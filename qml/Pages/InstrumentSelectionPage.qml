import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "../Utils/Style.js" as Style

// Instruments offered by the drivers, the default instrument and the serial
// settings handed to the drivers, and what the connected instrument reports.
Item {
    id: page

    readonly property var vm: ConnectionPageViewModel

    RowLayout {
        anchors.fill: parent
        anchors.margins: 16
        spacing: 16

        GroupBox {
            title: qsTr("Available instruments")
            Layout.fillWidth: true
            Layout.minimumWidth: 320
            Layout.fillHeight: true

            ColumnLayout {
                anchors.fill: parent

                ListView {
                    id: instruments

                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    clip: true
                    spacing: 4
                    model: page.vm.ConnectedInstruments

                    delegate: Rectangle {
                        readonly property bool connected: index === page.vm.ActiveInstrumentIndex

                        width: ListView.view.width
                        height: 56
                        radius: 4
                        color: connected ? Style.accentColor : Style.darkColor

                        RowLayout {
                            anchors.fill: parent
                            anchors.margins: 8

                            ColumnLayout {
                                Layout.fillWidth: true
                                spacing: 2

                                Label {
                                    text: model.DisplayLabel
                                    font.bold: true
                                    color: connected ? "white" : "black"
                                }
                                Label {
                                    text: model.RessourceName
                                    color: connected ? "white" : "#404040"
                                }
                            }
                            Button {
                                Layout.alignment: Qt.AlignRight
                                text: connected ? qsTr("Disconnect") : qsTr("Connect")
                                onClicked: connected ? page.vm.clearActiveInstrument()
                                                     : page.vm.setActiveInstrument(index)
                            }
                        }
                    }

                    Label {
                        anchors.centerIn: parent
                        visible: instruments.count === 0
                        text: qsTr("No instrument found")
                    }
                }

                Button {
                    text: qsTr("Refresh")
                    onClicked: InstrumentSupervisor.RefreshAvailableInstruments()
                }
            }
        }

        ColumnLayout {
            Layout.preferredWidth: 400
            Layout.maximumWidth: 400
            Layout.fillHeight: true
            spacing: 16

            GroupBox {
                title: qsTr("Connection settings")
                Layout.fillWidth: true

                GridLayout {
                    anchors.fill: parent
                    columns: 2

                    Label { text: qsTr("Default instrument") }
                    ComboBox {
                        Layout.fillWidth: true
                        model: page.vm.InstrumentNames
                        currentIndex: page.vm.SelectedDefaultInstrumentIndex
                        onActivated: page.vm.SelectedDefaultInstrumentIndex = index
                    }
                    Label { text: qsTr("Serial port") }
                    ComboBox {
                        Layout.fillWidth: true
                        model: page.vm.SerialPortNames
                        currentIndex: page.vm.SelectedSerialPortNameIndex
                        onActivated: page.vm.SelectedSerialPortNameIndex = index
                    }
                    Label { text: qsTr("Baud rate") }
                    ComboBox {
                        Layout.fillWidth: true
                        model: page.vm.BaudrateNames
                        currentIndex: page.vm.SelectedBaudrateIndex
                        onActivated: page.vm.SelectedBaudrateIndex = index
                    }
                    RowLayout {
                        Layout.columnSpan: 2
                        Layout.alignment: Qt.AlignRight

                        Button {
                            text: qsTr("Restore")
                            enabled: page.vm.HasUnsavedParameter
                            onClicked: page.vm.restore()
                        }
                        Button {
                            text: qsTr("Apply")
                            highlighted: page.vm.HasUnsavedParameter
                            onClicked: page.vm.apply()
                        }
                    }
                }
            }

            GroupBox {
                title: qsTr("Instrument information")
                Layout.fillWidth: true
                Layout.fillHeight: true

                GridLayout {
                    anchors.left: parent.left
                    anchors.right: parent.right
                    columns: 2
                    columnSpacing: 12

                    Repeater {
                        model: [
                            [qsTr("Serial number"), page.vm.SerialNumber],
                            [qsTr("Model"), page.vm.Model],
                            [qsTr("Manufacturer"), page.vm.Manufacturer],
                            [qsTr("Calibration date"), page.vm.CalibrationDate],
                            [qsTr("Manufacturing date"), page.vm.ManufacturingDate],
                            [qsTr("Electronics version"), page.vm.ElectronicsVersion],
                            [qsTr("Probe version"), page.vm.ProbeVersion],
                            [qsTr("Firmware version"), page.vm.FirmwareVersion]
                        ]

                        delegate: RowLayout {
                            Layout.columnSpan: 2

                            Label {
                                Layout.preferredWidth: 150
                                text: modelData[0]
                                color: "#404040"
                            }
                            Label {
                                Layout.fillWidth: true
                                text: modelData[1] === "" ? "--" : modelData[1]
                                font.family: Style.numberFontFamily
                            }
                        }
                    }

                    Rectangle {
                        Layout.columnSpan: 2
                        Layout.fillWidth: true
                        Layout.preferredHeight: 36
                        visible: page.vm.CalibrationOutOfDate
                        radius: 4
                        color: Style.alarmErrorColor

                        Label {
                            anchors.centerIn: parent
                            text: qsTr("Calibration out of date: have the probe recalibrated")
                            color: "white"
                            font.bold: true
                        }
                    }
                }
            }
        }
    }
}
