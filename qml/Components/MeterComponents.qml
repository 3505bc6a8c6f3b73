import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The newest block's field components with their maxima and the compass on the left,
// the field's direction in 3-D on the right.
Item {
    id: section

    property CMeterOperationViewModel viewModel

    RowLayout {
        anchors.fill: parent
        spacing: Theme.largeSpacing

        ColumnLayout {
            id: left

            Layout.fillHeight: true
            Layout.fillWidth: false
            Layout.preferredWidth: values.implicitWidth
            spacing: Theme.spacing

            ColumnLayout {
                id: values

                Layout.alignment: Qt.AlignTop
                spacing: Theme.spacing

                RowLayout {
                    Label { Layout.preferredWidth: Theme.nameColumnWidth; text: "" }
                    Label {
                        Layout.preferredWidth: Theme.valueColumnWidth * 2
                        horizontalAlignment: Text.AlignRight
                        text: qsTr("Value")
                        font.bold: true
                    }
                    Label {
                        Layout.preferredWidth: Theme.valueColumnWidth * 2
                        horizontalAlignment: Text.AlignRight
                        text: qsTr("Maximum")
                        font.bold: true
                    }
                }

                Repeater {
                    // A fixed list: each row reads its value and maximum from the view model.
                    model: [
                        { "name": "B", "value": "BLastBlock", "max": "BMax" },
                        { "name": "B\u00b7B'", "value": "BPrimeLastBlock", "max": "BPrimeMax" },
                        { "name": "Bx", "value": "BxLastBlock", "max": "BxMax" },
                        { "name": "By", "value": "ByLastBlock", "max": "ByMax" },
                        { "name": "Bz", "value": "BzLastBlock", "max": "BzMax" }
                    ]

                    delegate: RowLayout {
                        Label {
                            Layout.preferredWidth: Theme.nameColumnWidth
                            text: modelData.name
                            font.pixelSize: Theme.valueFontPixelSize
                        }
                        // Right-aligned in a fixed font: the digits stand still as values change.
                        Label {
                            objectName: "value" + index
                            Layout.preferredWidth: Theme.valueColumnWidth * 2
                            horizontalAlignment: Text.AlignRight
                            text: NumberFormat.field(section.viewModel[modelData.value], section.viewModel.DisplayUnitsText)
                            font.family: Theme.numberFontFamily
                            font.pixelSize: Theme.valueFontPixelSize
                        }
                        Label {
                            Layout.preferredWidth: Theme.valueColumnWidth * 2
                            horizontalAlignment: Text.AlignRight
                            text: NumberFormat.field(section.viewModel[modelData.max], section.viewModel.DisplayUnitsText)
                            font.family: Theme.numberFontFamily
                            font.pixelSize: Theme.valueFontPixelSize
                        }
                    }
                }

                RowLayout {
                    Label {
                        Layout.preferredWidth: Theme.nameColumnWidth
                        text: "\u03b5(B)"
                        font.pixelSize: Theme.valueFontPixelSize
                    }
                    Label {
                        objectName: "valueUncertainty"
                        Layout.preferredWidth: Theme.valueColumnWidth * 2
                        horizontalAlignment: Text.AlignRight
                        text: NumberFormat.field(section.viewModel.dBLastBlock, section.viewModel.DisplayUncertaintyUnitsText, 3)
                        font.family: Theme.numberFontFamily
                        font.pixelSize: Theme.valueFontPixelSize
                    }
                    Button {
                        objectName: "resetMaximaButton"
                        Accessible.name: text
                        text: qsTr("Reset maxima")
                        onClicked: section.viewModel.resetAllMaximum()
                    }
                }
            }

            RowLayout {
                Layout.fillHeight: true
                spacing: Theme.spacing

                Compass {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    viewModel: section.viewModel
                }

                ColumnLayout {
                    Layout.alignment: Qt.AlignBottom

                    Label { text: qsTr("Probe axis") }
                    ComboBox {
                        objectName: "probeAxisBox"
                        Accessible.name: qsTr("Probe axis")
                        model: section.viewModel.ProbeAxisNames
                        currentIndex: section.viewModel.SelectedProbeAxisIndex
                        onActivated: section.viewModel.SelectedProbeAxisIndex = index
                    }
                    Label { text: qsTr("Mode") }
                    ComboBox {
                        objectName: "compassModeBox"
                        Accessible.name: qsTr("Compass mode")
                        model: section.viewModel.ModeNames
                        currentIndex: section.viewModel.SelectedModeIndex
                        onActivated: section.viewModel.SelectedModeIndex = index
                    }
                }
            }
        }

        FieldArrow3D {
            // Whatever the numbers leave, not what its content would like.
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.preferredWidth: 1
            Layout.maximumWidth: Math.max(0, section.width - left.width - Theme.largeSpacing)
            viewModel: section.viewModel
        }
    }
}
