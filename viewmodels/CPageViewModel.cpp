#include "viewmodels/CPageViewModel.h"

CPageViewModel::CPageViewModel(const QString& name, QObject* parent) : QObject(parent), m_Name(name) {}

void CPageViewModel::setHasUnsavedParameter(bool value)
{
    if (m_HasUnsavedParameter == value)
        return;
    m_HasUnsavedParameter = value;
    emit HasUnsavedParameterChanged(value);
}

void CPageViewModel::initialize() {}

void CPageViewModel::disconnectSignal() {}

void CPageViewModel::discardUnsavedParameters() {}
