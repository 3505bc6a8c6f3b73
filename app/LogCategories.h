#pragma once

#include <QLoggingCategory>

// One logging category per subsystem, so a log can be filtered by where a line
// comes from (QT_LOGGING_RULES="tesvana.operations.debug=false", say).
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcInstruments)
Q_DECLARE_LOGGING_CATEGORY(lcModel)
Q_DECLARE_LOGGING_CATEGORY(lcOperations)
Q_DECLARE_LOGGING_CATEGORY(lcCompute)
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
Q_DECLARE_LOGGING_CATEGORY(lcUi)
