import QtQuick 2.15
import QtQuick.Controls 2.15
import Tesvana.ViewModels 1.0
import "../Theme"

// "Copy" and "Export CSV…" of a table: the columns it shows (roles) under their headings.
Row {
    id: tools

    property CMeasurementOperationViewModel viewModel
    property var model
    property var roles: []
    property var headings: []

    spacing: Theme.tinySpacing

    Button {
        objectName: "copyTableButton"
        Accessible.name: text
        text: qsTr("Copy")
        onClicked: tools.viewModel.copyTable(tools.model, tools.roles, tools.headings)
    }
    Button {
        objectName: "exportTableButton"
        Accessible.name: text
        text: qsTr("Export CSV\u2026")
        onClicked: tools.viewModel.exportTable(tools.model, tools.roles, tools.headings)
    }
}
