#include "app/LogCategories.h"

Q_LOGGING_CATEGORY(lcApp, "tesvana.app")
Q_LOGGING_CATEGORY(lcInstruments, "tesvana.instruments")
Q_LOGGING_CATEGORY(lcModel, "tesvana.model")
Q_LOGGING_CATEGORY(lcOperations, "tesvana.operations")
Q_LOGGING_CATEGORY(lcCompute, "tesvana.compute")
Q_LOGGING_CATEGORY(lcFiles, "tesvana.files")
Q_LOGGING_CATEGORY(lcUi, "tesvana.ui")
