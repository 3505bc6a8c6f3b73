#pragma once

#include <QCoreApplication>
#include <QString>

class CSettings;

// The help pages beside the program, opened in the desktop's browser.
class CHelpPages
{
    Q_DECLARE_TR_FUNCTIONS(CHelpPages)

public:
    // help/`name`.html, or a message that says why it cannot be opened.
    static void Open(const CSettings& settings, const QString& name);
};
