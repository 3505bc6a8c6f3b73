.pragma library

var lightColor = "#f0f0f0"
var darkColor = "#cdcdcd"
var accentColor = "#0078d7"
var parametersPanelWidth = 210
var mainMenuWidth = 117
var statusBarHeight = 50
var compactMenuClosedWidth = 60
var compactMenuOpenWidth = 180
var letterFontFamily = "KVL Oxygen"
var numberFontFamily = "Oxygen Mono"
var alarmValidColor = "#74ba63"
var alarmErrorColor = "#a85151"
var alarmUndefinedColor = "#ababab"
var alarmUnderTargetColor = "#6CA6CD"
var alarmOverTargetColor = "#FFD700"
