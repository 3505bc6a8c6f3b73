import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import QtDataVisualization 1.2
import Tesvana.ViewModels 1.0
import "../Theme"

// The field's direction as an arrow (at rest along +Y) and, when asked for, the sense
// in which the field turns about the view axis. Camera, zoom and projection are the
// settings' meter 3-D options.
ColumnLayout {
    id: section

    property CMeterOperationViewModel viewModel

    spacing: Theme.smallSpacing

    Scatter3D {
        id: graph

        objectName: "fieldArrow3D"
        Accessible.name: qsTr("Field direction")
        Layout.fillWidth: true
        Layout.fillHeight: true
        shadowQuality: AbstractGraph3D.ShadowQualityNone
        selectionMode: AbstractGraph3D.SelectionNone
        orthoProjection: section.viewModel.View3DOrthoProjection
        scene.activeCamera.cameraPreset: section.viewModel.View3DCameraPreset
        scene.activeCamera.zoomLevel: section.viewModel.View3DZoomLevel
        msaaSamples: 0
        aspectRatio: 1.0
        horizontalAspectRatio: 1.0

        // One item at the origin: the meshes turn, the item stays.
        property ListModel origin: ListModel {
            ListElement { x: 0; y: 0; z: 0 }
        }

        theme: Theme3D {
            type: Theme3D.ThemeUserDefined
            backgroundEnabled: false
            windowColor: Theme.lightColor
            gridEnabled: true
            gridLineColor: Theme.darkColor
            labelTextColor: Theme.secondaryTextColor
            labelBackgroundEnabled: false
            labelBorderEnabled: false
            lightStrength: 6
            ambientLightStrength: 0.4
            font.pointSize: Theme.axisTitle3DPointSize
        }

        axisX: ValueAxis3D { min: -1; max: 1; segmentCount: 2; labelFormat: " "; title: "x"; titleVisible: true }
        axisY: ValueAxis3D { min: -1; max: 1; segmentCount: 2; labelFormat: " "; title: "y"; titleVisible: true }
        axisZ: ValueAxis3D { min: -1; max: 1; segmentCount: 2; labelFormat: " "; title: "z"; titleVisible: true }

        Scatter3DSeries {
            mesh: Abstract3DSeries.MeshUserDefined
            userDefinedMesh: ":/Resources/Mesh/FieldArrow.obj"
            itemSize: 1.0
            baseColor: Theme.accentColor
            meshRotation: Qt.quaternion(section.viewModel.QuatScalar, section.viewModel.QuatX,
                                        section.viewModel.QuatY, section.viewModel.QuatZ)

            ItemModelScatterDataProxy {
                itemModel: graph.origin
                xPosRole: "x"
                yPosRole: "y"
                zPosRole: "z"
            }
        }

        Scatter3DSeries {
            visible: section.viewModel.RotEnable && section.viewModel.RotVisible
            mesh: Abstract3DSeries.MeshUserDefined
            userDefinedMesh: ":/Resources/Mesh/RotationIndicator.obj"
            itemSize: 0.9
            baseColor: Theme.alarmOverTargetColor
            meshRotation: Qt.quaternion(section.viewModel.RotQuatScalar, section.viewModel.RotQuatX,
                                        section.viewModel.RotQuatY, section.viewModel.RotQuatZ)

            ItemModelScatterDataProxy {
                itemModel: graph.origin
                xPosRole: "x"
                yPosRole: "y"
                zPosRole: "z"
            }
        }
    }

    CheckBox {
        objectName: "rotationIndicatorBox"
        Accessible.name: text
        text: qsTr("Rotation indicator")
        checked: section.viewModel.RotEnable
        onToggled: section.viewModel.RotEnable = checked
    }
}
