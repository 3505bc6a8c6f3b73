// The QML components that hold logic of their own, tested in the QML engine alone
// (Qt Quick Test): the tst_*.qml files of this folder.
#include <QtQuickTest>

QUICK_TEST_MAIN(tesvana_components)
