import QtQuick 2.15
import QtQuick.Controls 2.15
import QtQuick.Layouts 1.15
import Tesvana.ViewModels 1.0
import "../Components"
import "../Theme"

// The program's preferences: folders, updates, memory limits, the pages offered and
// the 3-D and 2-D plot options; Save keeps them for the next start.
Item {
    id: page

    // The page's one way to the program.
    property CSettingsPageViewModel viewModel: SettingsPageViewModel

    // A folder kept in the settings file: shown shortened, typed or chosen in full.
    component FolderRow: ColumnLayout {
        id: row

        property string label
        property string path
        property string shortPath
        property bool missing
        signal edited(string path)
        signal browse()

        Layout.fillWidth: true
        spacing: Theme.tinySpacing

        Label { text: row.label }
        RowLayout {
            Layout.fillWidth: true

            TextField {
                id: pathField

                objectName: row.objectName + "Input"
                Accessible.name: row.label
                Layout.fillWidth: true
                text: activeFocus ? row.path : row.shortPath
                color: row.missing ? Theme.alarmErrorColor : Theme.textColor
                ToolTip.visible: hovered && row.path !== row.shortPath
                ToolTip.delay: Theme.toolTipDelay
                ToolTip.text: row.path
                onEditingFinished: row.edited(text)
            }
            Button {
                objectName: row.objectName + "Browse"
                Accessible.name: text + " " + row.label
                text: qsTr("Browse…")
                onClicked: row.browse()
            }
        }
        Label {
            visible: row.missing
            text: qsTr("This folder does not exist: Save creates it")
            color: Theme.alarmErrorColor
        }
    }

    // A folder found beside the program at every start: shown, not edited.
    component PluginFolderRow: RowLayout {
        id: pluginRow

        property string label
        property string path
        property string shortPath

        Layout.fillWidth: true

        Label {
            text: pluginRow.label
            Layout.preferredWidth: Theme.labelColumnWidth
        }
        Label {
            objectName: pluginRow.objectName
            Accessible.name: pluginRow.label
            Layout.fillWidth: true
            text: pluginRow.shortPath
            elide: Text.ElideMiddle
            color: Theme.secondaryTextColor
            font.family: Theme.numberFontFamily

            MouseArea {
                id: pluginHover

                anchors.fill: parent
                hoverEnabled: true
            }
            ToolTip.visible: pluginHover.containsMouse && pluginRow.path !== pluginRow.shortPath
            ToolTip.delay: Theme.toolTipDelay
            ToolTip.text: pluginRow.path
        }
    }

    // Camera, zoom and projection of a 3-D view.
    component Plot3DOptions: GroupBox {
        id: options

        property int preset
        property real zoom
        property bool ortho
        property string prefix
        signal presetChosen(int index)
        signal zoomChosen(real value)
        signal orthoChosen(bool value)

        Layout.fillWidth: true

        ColumnLayout {
            anchors.fill: parent

            Label { text: qsTr("Camera position") }
            ComboBox {
                objectName: options.prefix + "CameraPreset"
                Accessible.name: options.title + " " + qsTr("Camera position")
                Layout.fillWidth: true
                model: page.viewModel.CameraPresetNames
                currentIndex: options.preset
                onActivated: options.presetChosen(index)
            }
            NumberField {
                objectName: options.prefix + "Zoom"
                label: qsTr("Zoom")
                accessibleName: options.title + " " + qsTr("Zoom")
                value: options.zoom
                minimum: 10
                maximum: 500
                onAccepted: options.zoomChosen(number)
            }
            CheckBox {
                objectName: options.prefix + "Ortho"
                Accessible.name: options.title + " " + text
                text: qsTr("Ortho projection")
                checked: options.ortho
                onToggled: options.orthoChosen(checked)
            }
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        ScrollView {
            id: scroll

            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: availableWidth
            clip: true

            GridLayout {
                width: scroll.availableWidth - 2 * Theme.largeSpacing
                x: Theme.largeSpacing
                y: Theme.largeSpacing
                columns: 2
                columnSpacing: Theme.largeSpacing
                rowSpacing: Theme.largeSpacing

                GroupBox {
                    title: qsTr("File Paths")
                    Layout.columnSpan: 2
                    Layout.fillWidth: true

                    ColumnLayout {
                        anchors.fill: parent
                        spacing: Theme.spacing

                        FolderRow {
                            objectName: "instrumentParameterPath"
                            label: qsTr("Location of instrument parameters")
                            path: page.viewModel.InstrumentParameterPath
                            shortPath: page.viewModel.InstrumentParameterPathShort
                            missing: page.viewModel.InstrumentParameterPathMissing
                            onEdited: page.viewModel.InstrumentParameterPath = path
                            onBrowse: page.viewModel.chooseInstrumentParameterPath()
                        }
                        FolderRow {
                            objectName: "defaultStoragePath"
                            label: qsTr("Default storage location")
                            path: page.viewModel.DefaultStoragePath
                            shortPath: page.viewModel.DefaultStoragePathShort
                            missing: page.viewModel.DefaultStoragePathMissing
                            onEdited: page.viewModel.DefaultStoragePath = path
                            onBrowse: page.viewModel.chooseDefaultStoragePath()
                        }
                        Label {
                            text: qsTr("Plug-in folders (beside the program)")
                            font.bold: true
                        }
                        PluginFolderRow {
                            objectName: "instrumentDriverPluginsPath"
                            label: qsTr("Instrument drivers")
                            path: page.viewModel.InstrumentDriverPluginsPath
                            shortPath: page.viewModel.InstrumentDriverPluginsPathShort
                        }
                        PluginFolderRow {
                            objectName: "mapperPluginsPath"
                            label: qsTr("Mappers")
                            path: page.viewModel.MapperPluginsPath
                            shortPath: page.viewModel.MapperPluginsPathShort
                        }
                        PluginFolderRow {
                            objectName: "triggerPluginsPath"
                            label: qsTr("Triggers")
                            path: page.viewModel.TriggerPluginsPath
                            shortPath: page.viewModel.TriggerPluginsPathShort
                        }
                        CheckBox {
                            objectName: "saveRecordingsAsCsv"
                            Accessible.name: text
                            text: qsTr("Save recordings in CSV format")
                            checked: page.viewModel.SaveRecordingsAsCsv
                            onToggled: page.viewModel.SaveRecordingsAsCsv = checked
                        }
                    }
                }

                GroupBox {
                    title: qsTr("Memory utilization")
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignTop

                    ColumnLayout {
                        anchors.fill: parent

                        NumberField {
                            objectName: "logMaxHistoryCount"
                            label: qsTr("Lines in log")
                            value: page.viewModel.LogMaxHistoryCount
                            minimum: page.viewModel.MinimumLogCount
                            maximum: page.viewModel.MaximumLogCount
                            wholeNumber: true
                            onAccepted: page.viewModel.LogMaxHistoryCount = number
                        }
                        NumberField {
                            objectName: "mappingMaxMeasurementCount"
                            label: qsTr("Points in Mapping mode")
                            value: page.viewModel.MappingMaxMeasurementCount
                            minimum: page.viewModel.MinimumPointCount
                            maximum: page.viewModel.MaximumPointCount
                            wholeNumber: true
                            onAccepted: page.viewModel.MappingMaxMeasurementCount = number
                        }
                        NumberField {
                            objectName: "measurementMaxMeasurementCount"
                            label: qsTr("Points in other modes")
                            value: page.viewModel.MeasurementMaxMeasurementCount
                            minimum: page.viewModel.MinimumPointCount
                            maximum: page.viewModel.MaximumPointCount
                            wholeNumber: true
                            onAccepted: page.viewModel.MeasurementMaxMeasurementCount = number
                        }
                    }
                }

                ColumnLayout {
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignTop
                    spacing: Theme.largeSpacing

                    GroupBox {
                        title: qsTr("Software update")
                        Layout.fillWidth: true

                        CheckBox {
                            objectName: "checkForNewVersion"
                            Accessible.name: text
                            text: qsTr("Automatically check for updates")
                            checked: page.viewModel.CheckForNewVersion
                            onToggled: page.viewModel.CheckForNewVersion = checked
                        }
                    }
                    GroupBox {
                        title: qsTr("Enabled modes")
                        Layout.fillWidth: true

                        GridLayout {
                            anchors.fill: parent
                            columns: 2

                            Switch {
                                objectName: "enableMeterMode"
                                Accessible.name: text
                                text: qsTr("Meter")
                                checked: page.viewModel.EnableMeterMode
                                onToggled: page.viewModel.EnableMeterMode = checked
                            }
                            Switch {
                                objectName: "enableSpectrumMode"
                                Accessible.name: text
                                text: qsTr("Spectrum")
                                checked: page.viewModel.EnableSpectrumMode
                                onToggled: page.viewModel.EnableSpectrumMode = checked
                            }
                            Switch {
                                objectName: "enableAcAnalysisMode"
                                Accessible.name: text
                                text: qsTr("AC Analysis")
                                checked: page.viewModel.EnableAcAnalysisMode
                                onToggled: page.viewModel.EnableAcAnalysisMode = checked
                            }
                            Switch {
                                objectName: "enableMappingMode"
                                Accessible.name: text
                                text: qsTr("Mapping")
                                checked: page.viewModel.EnableMappingMode
                                onToggled: page.viewModel.EnableMappingMode = checked
                            }
                        }
                    }
                    GroupBox {
                        title: qsTr("Mapping 2D Plot Options")
                        Layout.fillWidth: true

                        ColumnLayout {
                            anchors.fill: parent

                            Label { text: qsTr("X-axis represents:") }
                            ComboBox {
                                objectName: "mapping2DHorizontalAxis"
                                Accessible.name: qsTr("X-axis represents:")
                                Layout.fillWidth: true
                                model: page.viewModel.XAxisTypeNames
                                currentIndex: page.viewModel.Mapping2DPlotHorizontalAxisType
                                onActivated: page.viewModel.Mapping2DPlotHorizontalAxisType = index
                            }
                        }
                    }
                }

                Plot3DOptions {
                    title: qsTr("Meter 3D Plot Options")
                    prefix: "meter3D"
                    preset: page.viewModel.Meter3DCameraPreset
                    zoom: page.viewModel.Meter3DZoomLevel
                    ortho: page.viewModel.Meter3DOrthoProjection
                    onPresetChosen: page.viewModel.Meter3DCameraPreset = index
                    onZoomChosen: page.viewModel.Meter3DZoomLevel = value
                    onOrthoChosen: page.viewModel.Meter3DOrthoProjection = value
                }
                Plot3DOptions {
                    title: qsTr("Mapping 3D Plot Options")
                    prefix: "mapping3D"
                    preset: page.viewModel.Mapping3DCameraPreset
                    zoom: page.viewModel.Mapping3DZoomLevel
                    ortho: page.viewModel.Mapping3DOrthoProjection
                    onPresetChosen: page.viewModel.Mapping3DCameraPreset = index
                    onZoomChosen: page.viewModel.Mapping3DZoomLevel = value
                    onOrthoChosen: page.viewModel.Mapping3DOrthoProjection = value
                }

                GroupBox {
                    title: qsTr("About Tesvana")
                    Layout.columnSpan: 2
                    Layout.fillWidth: true
                    Layout.bottomMargin: Theme.largeSpacing

                    RowLayout {
                        anchors.fill: parent
                        spacing: Theme.largeSpacing

                        Image {
                            source: page.viewModel.Logo
                            sourceSize.height: Theme.bannerHeight * 2
                            fillMode: Image.PreserveAspectFit
                        }
                        ColumnLayout {
                            Layout.fillWidth: true

                            Label {
                                text: page.viewModel.ProgramName
                                font.bold: true
                            }
                            Label {
                                text: qsTr("Built with Qt %1").arg(page.viewModel.QtVersion)
                                color: Theme.secondaryTextColor
                            }
                            Label {
                                objectName: "contactLink"
                                Accessible.name: qsTr("Contact")
                                text: "<a href=\"mailto:" + OrganizationEmail + "\">" + OrganizationEmail + "</a>"
                                onLinkActivated: Qt.openUrlExternally(link)
                            }
                            Label {
                                objectName: "websiteLink"
                                Accessible.name: qsTr("Website")
                                text: "<a href=\"" + OrganizationWebsite + "\">" + OrganizationWebsite + "</a>"
                                onLinkActivated: Qt.openUrlExternally(link)
                            }
                        }
                    }
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: Theme.barHeight
            color: Theme.darkColor

            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: Theme.spacing
                anchors.rightMargin: Theme.spacing

                Label {
                    Layout.fillWidth: true
                    text: page.viewModel.HasUnsavedParameter ? qsTr("Changes not saved yet") : ""
                    color: Theme.secondaryTextColor
                }
                Button {
                    objectName: "restoreSettingsButton"
                    Accessible.name: text
                    text: qsTr("Restore")
                    enabled: page.viewModel.HasUnsavedParameter
                    ToolTip.visible: hovered
                    ToolTip.delay: Theme.toolTipDelay
                    ToolTip.text: qsTr("Back to the saved settings")
                    onClicked: page.viewModel.restore()
                }
                Button {
                    objectName: "restoreDefaultsButton"
                    Accessible.name: text
                    text: qsTr("Restore defaults")
                    onClicked: page.viewModel.restoreDefaults()
                }
                Button {
                    objectName: "saveSettingsButton"
                    Accessible.name: text
                    text: qsTr("Save")
                    highlighted: page.viewModel.HasUnsavedParameter
                    onClicked: page.viewModel.save()
                }
            }
        }
    }
}
