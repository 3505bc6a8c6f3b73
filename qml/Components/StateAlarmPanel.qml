import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// An alarm against the limits file: what it does when a limit is exceeded, and
// whether one is. Items given to it go below the state (the AC page's axis).
GroupBox {
    id: panel

    property CAlarmParametersSpectrumViewModel alarm
    default property alias extra: column.data

    title: qsTr("Alarm")

    ColumnLayout {
        id: column

        anchors.fill: parent

        Rectangle {
            objectName: "alarmFlag"
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.bannerHeight
            radius: Theme.cornerRadius
            // Always in its place, grey while the alarm is off: choosing a state changes its
            // colour and never moves the fields under the pointer.
            color: panel.alarm.SelectedStateIndex === 0 ? Theme.alarmUndefinedColor
                   : panel.alarm.FlagNotification ? Theme.alarmErrorColor : Theme.alarmValidColor

            Label {
                anchors.centerIn: parent
                color: Theme.textOnColor
                text: panel.alarm.SelectedStateIndex === 0 ? qsTr("Alarm off")
                      : panel.alarm.FlagNotification ? qsTr("Out of limit") : qsTr("Within limits")
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
    }
}
