import QtQuick 2.15
import QtDataVisualization 1.2
import Tesvana.ViewModels 1.0
import "../Theme"

// One arrow per measured point, turned onto the field, in the extent of the run.
// Camera, zoom and projection are the settings' mapping 3-D options.
Scatter3D {
    id: graph

    property CMappingOperationViewModel viewModel

    objectName: "mappingVectors3D"
    Accessible.name: qsTr("Field vectors")
    shadowQuality: AbstractGraph3D.ShadowQualityNone
    msaaSamples: viewModel.Arrows.count > 1000 ? 0 : 4
    selectionMode: AbstractGraph3D.SelectionItem
    orthoProjection: graph.viewModel.View3DOrthoProjection
    scene.activeCamera.cameraPreset: graph.viewModel.View3DCameraPreset
    scene.activeCamera.zoomLevel: graph.viewModel.View3DZoomLevel
    aspectRatio: 1.0
    horizontalAspectRatio: 1.0

    theme: Theme3D {
        type: Theme3D.ThemeUserDefined
        backgroundEnabled: false
        windowColor: Theme.lightColor
        gridLineColor: Theme.darkColor
        labelTextColor: Theme.secondaryTextColor
        labelBackgroundEnabled: false
        labelBorderEnabled: false
        lightStrength: 6
        ambientLightStrength: 0.4
        font.pointSize: Theme.axisTitle3DPointSize / 2
    }

    axisX: ValueAxis3D { min: graph.viewModel.XStart; max: graph.viewModel.XStop; title: "X [mm]"; titleVisible: true }
    axisY: ValueAxis3D { min: graph.viewModel.YStart; max: graph.viewModel.YStop; title: "Y [mm]"; titleVisible: true }
    axisZ: ValueAxis3D { min: graph.viewModel.ZStart; max: graph.viewModel.ZStop; title: "Z [mm]"; titleVisible: true }

    Scatter3DSeries {
        mesh: Abstract3DSeries.MeshUserDefined
        // Beyond a thousand arrows, fewer triangles each keep the view turning smoothly.
        userDefinedMesh: graph.viewModel.Arrows.count > 1000 ? ":/Resources/Mesh/FieldArrowCoarse.obj"
                                                               : ":/Resources/Mesh/FieldArrow.obj"
        // Dense grids get smaller arrows.
        itemSize: Math.max(0.05, Math.min(0.5, 2.0 / Math.sqrt(Math.max(1, graph.viewModel.Arrows.count))))
        baseColor: Theme.accentColor

        ItemModelScatterDataProxy {
            itemModel: graph.viewModel.Arrows
            xPosRole: "x"
            yPosRole: "y"
            zPosRole: "z"
            rotationRole: "rotation"
        }
    }
}
