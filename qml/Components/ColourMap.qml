import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Theme"

// A planar map's chosen quantity as colours over the grid's plane, interpolated
// between the measured points (dots), with the colour scale in the display unit.
ColumnLayout {
    id: section

    property CColourMap map
    property string unit

    RowLayout {
        Label { text: qsTr("Quantity") }
        ComboBox {
            objectName: "colourMapQuantityBox"
            Accessible.name: qsTr("Colour map quantity")
            model: section.map.QuantityNames
            currentIndex: section.map.QuantityIndex
            onActivated: section.map.QuantityIndex = index
        }
    }

    Label {
        objectName: "colourMapNotice"
        visible: !section.map.Planar
        text: qsTr("The colour map shows a planar grid: one axis with a single value (a start equal to its stop).")
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }

    RowLayout {
        Layout.fillWidth: true
        Layout.fillHeight: true
        visible: section.map.Planar

        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true

            Label {
                objectName: "colourMapVAxis"
                text: "\u2191 " + section.map.VName + " [mm]  " + NumberFormat.number(section.map.VMin, 4) + " \u2026 "
                      + NumberFormat.number(section.map.VMax, 4)
                color: Theme.secondaryTextColor
            }
            ColourMapView {
                objectName: "colourMap"
                Accessible.name: qsTr("Colour map")
                Layout.fillWidth: true
                Layout.fillHeight: true
                map: section.map
                stops: Theme.colourMapStops
                markerColor: Theme.textColor
            }
            Label {
                objectName: "colourMapUAxis"
                text: "\u2192 " + section.map.UName + " [mm]  " + NumberFormat.number(section.map.UMin, 4) + " \u2026 "
                      + NumberFormat.number(section.map.UMax, 4)
                color: Theme.secondaryTextColor
            }
        }

        // The colour scale, high at the top.
        ColumnLayout {
            Layout.fillHeight: true

            Label {
                objectName: "colourScaleMaximum"
                text: NumberFormat.field(section.map.ValueMax, section.unit, 4)
                font.family: Theme.numberFontFamily
            }
            Rectangle {
                Layout.preferredWidth: Theme.colourScaleWidth
                Layout.fillHeight: true
                gradient: Gradient {
                    GradientStop { position: 0.0; color: Theme.colourMapStops[9] }
                    GradientStop { position: 0.25; color: Theme.colourMapStops[7] }
                    GradientStop { position: 0.5; color: Theme.colourMapStops[4] }
                    GradientStop { position: 0.75; color: Theme.colourMapStops[2] }
                    GradientStop { position: 1.0; color: Theme.colourMapStops[0] }
                }
            }
            Label {
                text: NumberFormat.field(section.map.ValueMin, section.unit, 4)
                font.family: Theme.numberFontFamily
            }
        }
    }
}
