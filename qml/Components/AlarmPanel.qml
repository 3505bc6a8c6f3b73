import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// What the range check watches, its limits, and what it does when they are exceeded.
GroupBox {
    id: panel

    property CAlarmParametersMeterViewModel alarm

    title: qsTr("Alarm")

    ColumnLayout {
        anchors.fill: parent

        Rectangle {
            objectName: "alarmFlag"
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.bannerHeight
            radius: Theme.cornerRadius
            // Always in its place, grey while the alarm is off: choosing a state changes its
            // colour and never moves the fields under the pointer.
            color: panel.alarm.SelectedStateIndex === 0 || !panel.alarm.Checked ? Theme.alarmUndefinedColor
                   : panel.alarm.FlagNotification ? Theme.alarmErrorColor : Theme.alarmValidColor

            Label {
                anchors.centerIn: parent
                color: Theme.textOnColor
                text: panel.alarm.SelectedStateIndex === 0 ? qsTr("Alarm off") : panel.alarm.StatusText
            }
        }
        Label { text: qsTr("State") }
        ComboBox {
            objectName: "alarmStateBox"
            Accessible.name: qsTr("Alarm state")
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            model: panel.alarm.StateNames
            currentIndex: panel.alarm.SelectedStateIndex
            onActivated: panel.alarm.SelectedStateIndex = index
        }
        Label { text: qsTr("Axis") }
        ComboBox {
            objectName: "alarmAxisBox"
            Accessible.name: qsTr("Alarm axis")
            Layout.fillWidth: true
            Layout.maximumWidth: panel.availableWidth
            model: panel.alarm.AxisNames
            currentIndex: panel.alarm.SelectedAxisIndex
            onActivated: panel.alarm.SelectedAxisIndex = index
        }
        NumberField {
            objectName: "alarmMinimumField"
            label: qsTr("Minimum") + " " + panel.alarm.UnitText
            value: panel.alarm.Minimum
            onAccepted: function (number) { panel.alarm.Minimum = number }
        }
        NumberField {
            objectName: "alarmMaximumField"
            label: qsTr("Maximum") + " " + panel.alarm.UnitText
            value: panel.alarm.Maximum
            onAccepted: function (number) { panel.alarm.Maximum = number }
        }
        Label {
            objectName: "alarmInputError"
            Layout.fillWidth: true
            visible: text.length > 0
            text: panel.alarm.InputError
            color: Theme.alarmErrorColor
            wrapMode: Text.WordWrap
        }
    }
}
