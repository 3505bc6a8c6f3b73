import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// Instruments offered by the drivers, the default instrument and the serial
// settings handed to the drivers, and what the connected instrument reports.
Item {
    id: page

    // The page's one way to the program.
    property CConnectionPageViewModel viewModel: ConnectionPageViewModel

    RowLayout {
        anchors.fill: parent
        anchors.margins: Theme.largeSpacing
        spacing: Theme.largeSpacing

        GroupBox {
            title: qsTr("Available instruments")
            Layout.fillWidth: true
            Layout.minimumWidth: Theme.listMinimumWidth
            Layout.fillHeight: true

            ColumnLayout {
                anchors.fill: parent

                ListView {
                    id: instruments

                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    clip: true
                    spacing: Theme.smallSpacing
                    model: page.viewModel.ConnectedInstruments

                    delegate: Rectangle {
                        readonly property bool connected: index === page.viewModel.ActiveInstrumentIndex

                        width: ListView.view.width
                        height: Theme.listRowHeight
                        radius: Theme.cornerRadius
                        color: connected ? Theme.accentColor : Theme.darkColor

                        RowLayout {
                            anchors.fill: parent
                            anchors.margins: Theme.spacing

                            ColumnLayout {
                                Layout.fillWidth: true
                                spacing: Theme.tinySpacing

                                Label {
                                    text: model.DisplayLabel
                                    font.bold: true
                                    color: connected ? Theme.textOnColor : Theme.textColor
                                }
                                Label {
                                    text: model.RessourceName
                                    color: connected ? Theme.textOnColor : Theme.secondaryTextColor
                                }
                            }
                            Button {
                                objectName: "connectButton" + index
                                Accessible.name: text + " " + model.DisplayLabel
                                Layout.alignment: Qt.AlignRight
                                text: connected ? qsTr("Disconnect") : qsTr("Connect")
                                onClicked: connected ? page.viewModel.clearActiveInstrument()
                                                     : page.viewModel.setActiveInstrument(index)
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
                    objectName: "refreshButton"
                    Accessible.name: text
                    text: qsTr("Refresh")
                    onClicked: page.viewModel.refreshAvailableInstruments()
                }
            }
        }

        ColumnLayout {
            Layout.preferredWidth: Theme.sidePanelWidth
            Layout.maximumWidth: Theme.sidePanelWidth
            Layout.fillHeight: true
            spacing: Theme.largeSpacing

            GroupBox {
                title: qsTr("Connection settings")
                Layout.fillWidth: true

                GridLayout {
                    anchors.fill: parent
                    columns: 2

                    Label { text: qsTr("Default instrument") }
                    ComboBox {
                        objectName: "defaultInstrumentBox"
                        Accessible.name: qsTr("Default instrument")
                        Layout.fillWidth: true
                        model: page.viewModel.InstrumentNames
                        currentIndex: page.viewModel.SelectedDefaultInstrumentIndex
                        onActivated: page.viewModel.SelectedDefaultInstrumentIndex = index
                    }
                    Label { text: qsTr("Serial port") }
                    ComboBox {
                        objectName: "serialPortBox"
                        Accessible.name: qsTr("Serial port")
                        Layout.fillWidth: true
                        model: page.viewModel.SerialPortNames
                        currentIndex: page.viewModel.SelectedSerialPortNameIndex
                        onActivated: page.viewModel.SelectedSerialPortNameIndex = index
                    }
                    Label { text: qsTr("Baud rate") }
                    ComboBox {
                        objectName: "baudRateBox"
                        Accessible.name: qsTr("Baud rate")
                        Layout.fillWidth: true
                        model: page.viewModel.BaudrateNames
                        currentIndex: page.viewModel.SelectedBaudrateIndex
                        onActivated: page.viewModel.SelectedBaudrateIndex = index
                    }
                    RowLayout {
                        Layout.columnSpan: 2
                        Layout.alignment: Qt.AlignRight

                        Button {
                            objectName: "restoreButton"
                            Accessible.name: text
                            text: qsTr("Restore")
                            enabled: page.viewModel.HasUnsavedParameter
                            onClicked: page.viewModel.restore()
                        }
                        Button {
                            objectName: "applyButton"
                            Accessible.name: text
                            text: qsTr("Apply")
                            highlighted: page.viewModel.HasUnsavedParameter
                            onClicked: page.viewModel.apply()
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
                    columnSpacing: Theme.columnSpacing

                    Repeater {
                        model: [
                            [qsTr("Serial number"), page.viewModel.SerialNumber],
                            [qsTr("Model"), page.viewModel.Model],
                            [qsTr("Manufacturer"), page.viewModel.Manufacturer],
                            [qsTr("Calibration date"), page.viewModel.CalibrationDate],
                            [qsTr("Manufacturing date"), page.viewModel.ManufacturingDate],
                            [qsTr("Electronics version"), page.viewModel.ElectronicsVersion],
                            [qsTr("Probe version"), page.viewModel.ProbeVersion],
                            [qsTr("Firmware version"), page.viewModel.FirmwareVersion]
                        ]

                        delegate: RowLayout {
                            Layout.columnSpan: 2
                            // Within the frame: a long maker's text wraps instead of running out.
                            Layout.fillWidth: true

                            Label {
                                Layout.preferredWidth: Theme.labelColumnWidth
                                text: modelData[0]
                                color: Theme.secondaryTextColor
                            }
                            Label {
                                Layout.fillWidth: true
                                text: modelData[1] === "" ? "--" : modelData[1]
                                wrapMode: Text.WrapAtWordBoundaryOrAnywhere
                                font.family: Theme.numberFontFamily
                            }
                        }
                    }

                    Rectangle {
                        Layout.columnSpan: 2
                        Layout.fillWidth: true
                        Layout.preferredHeight: Theme.bannerHeight
                        visible: page.viewModel.CalibrationOutOfDate
                        radius: Theme.cornerRadius
                        color: Theme.alarmErrorColor

                        Label {
                            anchors.centerIn: parent
                            text: qsTr("Calibration out of date: have the probe recalibrated")
                            color: Theme.textOnColor
                            font.bold: true
                        }
                    }
                }
            }
        }
    }
}
