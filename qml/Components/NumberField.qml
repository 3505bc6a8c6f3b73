import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import "../Theme"

// A labelled number entry: only numbers are taken, anything else is refused with a
// reason and the shown value comes back.
ColumnLayout {
    id: field

    property string label
    // What a screen reader says of the field, where the label alone is not enough.
    property string accessibleName: label
    property real value
    property string refusal
    // Where given, numbers outside the bounds, or with a fraction, are refused too.
    property real minimum: -Infinity
    property real maximum: Infinity
    property bool wholeNumber: false
    // Shown, not entered (a rate the instrument fixes).
    property bool readOnly: false
    signal accepted(real number)

    Layout.fillWidth: true

    Label { text: field.label }
    TextField {
        id: input

        objectName: field.objectName + "Input"
        Accessible.name: field.accessibleName
        Layout.fillWidth: true
        text: field.value.toString()
        font.family: Theme.numberFontFamily
        readOnly: field.readOnly
        inputMethodHints: Qt.ImhFormattedNumbersOnly
        // Back to showing the value, and following it from then on (a plain assignment
        // would leave a stale number once the value changes).
        function followValue() {
            text = Qt.binding(function () { return field.value.toString() })
        }

        onEditingFinished: {
            var number = Number(text.trim().replace(",", "."))
            if (text.trim().length === 0 || isNaN(number)) {
                field.refusal = qsTr("Not a number: %1").arg(text)
                followValue()
                return
            }
            if (number < field.minimum || number > field.maximum || (field.wholeNumber && number % 1 !== 0)) {
                field.refusal = field.wholeNumber ? qsTr("A whole number from %1 to %2").arg(field.minimum).arg(field.maximum)
                                                  : qsTr("A number from %1 to %2").arg(field.minimum).arg(field.maximum)
                followValue()
                return
            }
            field.refusal = ""
            field.accepted(number)
            followValue()
        }
    }
    Label {
        visible: field.refusal.length > 0
        text: field.refusal
        color: Theme.alarmErrorColor
    }
}
