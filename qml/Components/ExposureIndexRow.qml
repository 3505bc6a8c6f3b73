import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "../Theme"

// One exposure index: its name, then the value for the block shown and the largest
// since the last reset, each red above 1 (the limits exceeded).
ColumnLayout {
    id: row

    property string name
    property real value: NaN
    property real largest: NaN

    spacing: Theme.tinySpacing

    Label {
        Layout.fillWidth: true
        elide: Text.ElideRight
        text: row.name
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: Theme.smallSpacing

        // Two fixed boxes: a new value changes their properties, never rebuilds them.
        ExposureValueBox {
            value: row.value
            tip: qsTr("The block shown")
        }
        ExposureValueBox {
            value: row.largest
            prefix: qsTr("max") + " "
            tip: qsTr("The largest since the last reset")
        }
    }
}
