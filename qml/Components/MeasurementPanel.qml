import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// The instrument's measurement settings: unit, uncertainty unit, range, trigger
// mode (and trigger plug-in), rates, block size and averaging. Numbers outside the
// instrument's bounds are refused with the reason below.
GroupBox {
    id: panel

    property CMeasurementParametersViewModel measurement

    title: qsTr("Measurement")

    ColumnLayout {
        anchors.fill: parent

        Label { text: qsTr("Unit") }
        ComboBox {
            objectName: "unitBox"
            Accessible.name: qsTr("Unit")
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            model: panel.measurement.UnitsList
            currentIndex: panel.measurement.SelectedUnitIndex
            onActivated: panel.measurement.SelectedUnitIndex = index
        }
        Label { text: qsTr("Uncertainty unit") }
        ComboBox {
            objectName: "uncertaintyUnitBox"
            Accessible.name: qsTr("Uncertainty unit")
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            model: panel.measurement.UncertaintyUnitsList
            currentIndex: panel.measurement.SelectedUncertaintyUnitIndex
            onActivated: panel.measurement.SelectedUncertaintyUnitIndex = index
        }
        Label { text: qsTr("Range") }
        RowLayout {
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth

            ComboBox {
                id: rangeBox

                objectName: "rangeBox"
                Accessible.name: qsTr("Range")
                Layout.fillWidth: true
                model: panel.measurement.Ranges
                textRole: "first"
                currentIndex: panel.measurement.SelectedRangeIndex
                onActivated: panel.measurement.SelectedRangeIndex = index
            }
            // The unit of the range shown ("[T]"); none for "Auto".
            Label {
                objectName: "rangeUnitLabel"
                visible: text.length > 0
                text: {
                    var ranges = panel.measurement.Ranges
                    var i = panel.measurement.SelectedRangeIndex
                    return i >= 0 && i < ranges.length && ranges[i].second !== undefined ? ranges[i].second : ""
                }
            }
        }
        Label { text: qsTr("Trigger") }
        ComboBox {
            objectName: "triggerBox"
            Accessible.name: qsTr("Trigger mode")
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            model: panel.measurement.Triggers
            currentIndex: panel.measurement.SelectedTriggerIndex
            onActivated: panel.measurement.SelectedTriggerIndex = index
        }
        ComboBox {
            objectName: "triggerPluginBox"
            Accessible.name: qsTr("Trigger plug-in")
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            visible: panel.measurement.TriggerPluginVisible
            model: panel.measurement.TriggerPlugins
            currentIndex: panel.measurement.SelectedTriggerPluginIndex
            onActivated: panel.measurement.SelectedTriggerPluginIndex = index
        }
        NumberField {
            objectName: "acquisitionRateField"
            label: qsTr("Acquisition rate [Hz]")
            visible: panel.measurement.IsAcquisitionRateVisible
            enabled: panel.measurement.IsAcquisitionRateEnable
            value: panel.measurement.Parameters.AcquisitionRate
            onAccepted: function (number) { panel.measurement.applyAcquisitionRate(number) }
        }
        // In trigger mode Immediate the instrument fixes the rate: shown, not entered.
        NumberField {
            objectName: "immediateAcquisitionRateField"
            label: qsTr("Immediate acquisition rate [Hz]")
            visible: panel.measurement.IsImmediateAcquisitionRateVisible
            readOnly: true
            value: panel.measurement.Parameters.ImmediateAcquisitionRate
        }
        NumberField {
            objectName: "displayRateField"
            label: qsTr("Display rate [Hz]")
            visible: panel.measurement.IsDisplayRateVisible
            enabled: panel.measurement.IsDisplayEnable
            value: panel.measurement.Parameters.DisplayRate
            onAccepted: function (number) { panel.measurement.applyDisplayRate(number) }
        }
        NumberField {
            objectName: "blockSizeField"
            label: qsTr("Block size")
            value: panel.measurement.Parameters.BlockSize
            onAccepted: function (number) { panel.measurement.applyBlockSize(number) }
        }
        NumberField {
            objectName: "averagingField"
            label: qsTr("Averaging")
            value: panel.measurement.Parameters.Averaging
            onAccepted: function (number) { panel.measurement.applyAveraging(number) }
        }
        // The spectrum's window (the spectrum page only).
        NumberField {
            objectName: "frequencyMinField"
            label: qsTr("Minimum frequency [Hz]")
            visible: panel.measurement.IsFrequencyRangeVisible
            value: panel.measurement.Parameters.FrequencyMin
            onAccepted: function (number) { panel.measurement.applyFrequencyMin(number) }
        }
        NumberField {
            objectName: "frequencyMaxField"
            label: qsTr("Maximum frequency [Hz]")
            visible: panel.measurement.IsFrequencyRangeVisible
            value: panel.measurement.Parameters.FrequencyMax
            onAccepted: function (number) { panel.measurement.applyFrequencyMax(number) }
        }
        Label {
            objectName: "measurementInputError"
            Layout.fillWidth: true
            visible: text.length > 0
            text: panel.measurement.InputError
            color: Theme.alarmErrorColor
            wrapMode: Text.WordWrap
        }
    }
}
